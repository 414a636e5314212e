#include "CsvParser.h"

#include "base/CharacterSets.h"
#include "base/Log.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace lanthor {

namespace {

constexpr std::size_t kBlockSize = 512;
constexpr std::size_t kMinimumReloadMargin = 10;
constexpr const char* kErrorDomain = "org.lanthor.CsvParser";

std::u16string hex(char16_t c) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(c));
    return toUtf16(digits);
}

std::string codePointName(char16_t c) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
    return name;
}

std::u16string_view trimmedOfWhitespaceAndNewlines(std::u16string_view text) {
    while (!text.empty() && isWhitespaceOrNewlineCharacter(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isWhitespaceOrNewlineCharacter(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::string CsvEarlyEnd::message() const {
    switch (reason) {
    case Reason::UndecodableBytes:
        return "the bytes from offset " + std::to_string(byteOffset) + " are not valid " +
               std::string(encodingName(encoding)) + " (record " + std::to_string(record) + ")";
    case Reason::NulCharacter:
        return "a U+0000 character ends the text in record " + std::to_string(record);
    case Reason::OpenQuotedField:
        return "a quoted field in record " + std::to_string(record) + " is never closed";
    }
    return {};
}

CsvParser CsvParser::fromString(std::u16string_view csv, char16_t delimiter) {
    // Native UTF-16 bytes: decoded block by block they give back exactly the same code units.
    std::string bytes;
    bytes.reserve(csv.size() * 2);
    for (const char16_t unit : csv) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    CsvEncoding encoding = CsvEncoding::UTF16LittleEndian;
    return CsvParser(std::make_unique<MemoryInputStream>(std::move(bytes)), &encoding, delimiter);
}

CsvParser CsvParser::fromFile(const std::string& path, char16_t delimiter) {
    return CsvParser(std::make_unique<FileInputStream>(path), nullptr, delimiter);
}

CsvParser::CsvParser(std::unique_ptr<CsvInputStream> stream, CsvEncoding* usedEncoding,
                     char16_t delimiter)
    : stream_(std::move(stream)), delimiter_(delimiter) {
    if (auto problem = delimiterProblem(delimiter, 0)) {
        throw std::invalid_argument(*problem);
    }
    for (unsigned c = 1; c < 256; ++c) {
        const bool plain = isValidFieldCharacter(static_cast<char16_t>(c));
        plainCharacters_[c] = plain;
        plainCharactersWithEscapes_[c] = plain && c != u'\\';
    }
    stream_->open();
    if (usedEncoding && *usedEncoding != CsvEncoding::Unknown) {
        streamEncoding_ = *usedEncoding;
    } else {
        sniffEncoding();
        if (usedEncoding) {
            *usedEncoding = streamEncoding_;
        }
    }
    decoder_ = std::make_unique<TextDecoder>(streamEncoding_);
    updateReloadIndex();
}

CsvParser::~CsvParser() {
    if (stream_) {
        stream_->close();
    }
}

std::optional<std::string> CsvParser::delimiterProblem(char16_t delimiter,
                                                       CsvParserOptions options) {
    const std::string name = "the delimiter " + codePointName(delimiter);
    if (delimiter == 0) {
        return name + " cannot be used: it reads as the end of the text";
    }
    if (delimiter == u'"') {
        return name + " cannot be used: the double quote encloses fields";
    }
    if (isNewlineCharacter(delimiter)) {
        return name + " cannot be used: line breaks end records";
    }
    if (delimiter == u'\\' && (options & CsvParserOptionsRecognizesBackslashesAsEscapes)) {
        return name + " cannot be used while backslashes are escapes";
    }
    if (delimiter == u'#' && (options & CsvParserOptionsRecognizesComments)) {
        return name + " cannot be used while comments are recognized";
    }
    return std::nullopt;
}

void CsvParser::setRecognizesBackslashesAsEscapes(bool on) {
    if (on) {
        if (auto problem =
                delimiterProblem(delimiter_, CsvParserOptionsRecognizesBackslashesAsEscapes)) {
            throw std::invalid_argument(*problem);
        }
    }
    recognizesBackslashesAsEscapes_ = on;
}

void CsvParser::setRecognizesComments(bool on) {
    if (on) {
        if (auto problem = delimiterProblem(delimiter_, CsvParserOptionsRecognizesComments)) {
            throw std::invalid_argument(*problem);
        }
    }
    recognizesComments_ = on;
}

void CsvParser::setOptions(CsvParserOptions options) {
    setRecognizesBackslashesAsEscapes(options & CsvParserOptionsRecognizesBackslashesAsEscapes);
    setSanitizesFields(options & CsvParserOptionsSanitizesFields);
    setRecognizesComments(options & CsvParserOptionsRecognizesComments);
    setStripsLeadingAndTrailingWhitespace(options &
                                          CsvParserOptionsStripsLeadingAndTrailingWhitespace);
}

std::string CsvParser::streamError() const {
    return stream_->error();
}

// ---- Input: encoding detection and the character source ----

void CsvParser::sniffEncoding() {
    // The first block decides, so it is filled even from a stream that hands out less per read.
    std::uint8_t block[kBlockSize];
    std::size_t count = 0;
    while (count < kBlockSize) {
        const std::ptrdiff_t n = stream_->read(block + count, kBlockSize - count);
        if (n < 1 || n > static_cast<std::ptrdiff_t>(kBlockSize - count)) {
            break;
        }
        count += static_cast<std::size_t>(n);
    }
    if (count == 0) {
        streamEncoding_ = CsvEncoding::UTF8;
        return;
    }
    stringBuffer_.assign(block, block + count);
    totalBytesRead_ += count;
    bufferChanged_ = true;

    struct Mark {
        std::size_t length;
        std::uint8_t bytes[4];
        CsvEncoding encoding;
    };
    static constexpr Mark marks[] = {
        {4, {0x00, 0x00, 0xFE, 0xFF}, CsvEncoding::UTF32BigEndian},
        {4, {0xFF, 0xFE, 0x00, 0x00}, CsvEncoding::UTF32LittleEndian},
        {4, {0x1B, 0x24, 0x29, 0x43}, CsvEncoding::ISO2022KR},
        {2, {0xFF, 0xFE}, CsvEncoding::UTF16LittleEndian},
        {2, {0xFE, 0xFF}, CsvEncoding::UTF16BigEndian},
        {3, {0xEF, 0xBB, 0xBF}, CsvEncoding::UTF8},
    };
    for (const Mark& mark : marks) {
        if (count >= mark.length && std::equal(mark.bytes, mark.bytes + mark.length, block)) {
            streamEncoding_ = mark.encoding;
            stringBuffer_.erase(stringBuffer_.begin(),
                                stringBuffer_.begin() + static_cast<std::ptrdiff_t>(mark.length));
            decodedBytes_ = mark.length;
            return;
        }
    }
    // UTF-8 when the block decodes with up to three bytes cut off its end, so that a character
    // split by the block's end does not count against it. A prefix decodes exactly when it
    // ends at a character boundary no later than the longest valid prefix.
    std::u16string scratch;
    const DecodeResult utf8 = decodeLongestPrefix(CsvEncoding::UTF8, {block, count}, scratch);
    if (utf8.bytesUsed + 3 >= count) {
        streamEncoding_ = CsvEncoding::UTF8;
    } else {
        logLine("unable to determine stream encoding; assuming ShiftJIS");
        streamEncoding_ = CsvEncoding::ShiftJIS;
    }
}

bool CsvParser::loadMore() {
    const std::size_t length = decodedLength();
    const std::size_t margin = std::max(length / 3, kMinimumReloadMargin);
    bool gotBytes = false;
    if (!streamExhausted_ && nextIndex_ + margin >= length) {
        if (stream_->hasBytesAvailable()) {
            std::uint8_t block[kBlockSize];
            const std::ptrdiff_t n = stream_->read(block, kBlockSize);
            if (n > 0) {
                gotBytes = true;
                totalBytesRead_ += static_cast<std::uint64_t>(n);
                // Once the text is stuck on undecodable bytes, later bytes only count as read.
                if (!decodeStuck_) {
                    stringBuffer_.insert(stringBuffer_.end(), block, block + n);
                    bufferChanged_ = true;
                }
            }
        } else {
            streamExhausted_ = true;
        }
    }
    // Only new bytes can make more of the buffer decodable: what is left after a decode is an
    // incomplete or invalid sequence, and trying it again would give nothing.
    if (bufferChanged_) {
        decodeBuffer();
    }
    updateReloadIndex();
    return gotBytes;
}

void CsvParser::readUntilDecoded(std::size_t index) {
    // A full block always decodes to some text, but a stream may hand out fewer bytes than
    // asked, too few for a whole character: taking that for the end would cut the text short.
    while (index >= decodedLength() && !streamExhausted_ && !decodeStuck_ && loadMore()) {
    }
}

void CsvParser::decodeBuffer() {
    bufferChanged_ = false;
    if (stringBuffer_.empty()) {
        return;
    }
    const DecodeResult result = decoder_->decode(stringBuffer_, string_);
    decodedBytes_ += result.bytesUsed;
    stringBuffer_.erase(stringBuffer_.begin(),
                        stringBuffer_.begin() + static_cast<std::ptrdiff_t>(result.bytesUsed));
    if (result.stop == DecodeStop::Invalid) {
        decodeStuck_ = true;
    }
}

void CsvParser::updateReloadIndex() {
    if (bufferChanged_) {
        reloadIndex_ = 0;
        return;
    }
    if (streamExhausted_) {
        reloadIndex_ = SIZE_MAX;
        return;
    }
    const std::size_t length = decodedLength();
    const std::size_t margin = std::max(length / 3, kMinimumReloadMargin);
    reloadIndex_ = length > margin ? length - margin : 0;
}

void CsvParser::loadAround(std::size_t index) {
    loadMore();
    readUntilDecoded(index);
}

void CsvParser::dropThroughNextIndex() {
    start_ += nextIndex_;
    nextIndex_ = 0;
    // Compact now and then, so the dropped text costs neither memory nor a move per field.
    if (start_ >= 4096 && start_ >= string_.size() / 2) {
        string_.erase(0, start_);
        start_ = 0;
    }
    updateReloadIndex();
}

bool CsvParser::isNewlineCharacterFast(char16_t c) {
    return c <= 0x0D ? c >= 0x0A : (c == 0x85 || c == 0x2028 || c == 0x2029);
}

std::optional<CsvEarlyEnd> CsvParser::earlyEnd() const {
    if (cancelled_ || error_) {
        return std::nullopt;
    }
    if (nextIndex_ < decodedLength()) {
        return CsvEarlyEnd{CsvEarlyEnd::Reason::NulCharacter, 0, currentRecord_, streamEncoding_};
    }
    if (decodeStuck_ || !stringBuffer_.empty() || !streamExhausted_) {
        // The grammar saw the end of the text; the stream may still hold bytes it never gave.
        if (decodeStuck_ || !stringBuffer_.empty() || stream_->hasBytesAvailable()) {
            return CsvEarlyEnd{CsvEarlyEnd::Reason::UndecodableBytes, decodedBytes_, currentRecord_,
                               streamEncoding_};
        }
    }
    if (openQuotedFieldRecord_) {
        return CsvEarlyEnd{CsvEarlyEnd::Reason::OpenQuotedField, 0, *openQuotedFieldRecord_,
                           streamEncoding_};
    }
    return std::nullopt;
}

// ---- The grammar ----

void CsvParser::parse() {
    beginDocument();
    currentRecord_ = 0;
    while (parseRecord()) {
    }
    if (error_) {
        reportError();
    } else {
        endDocument();
    }
}

bool CsvParser::parseRecord() {
    if (peekCharacter() == u'#') {
        while (recognizesComments_) {
            parseComment();
            if (peekCharacter() != u'#') {
                break;
            }
        }
    }
    beginRecord();
    while (parseField() && parseDelimiter()) {
    }
    const bool endedWithNewline = parseNewline();
    endRecord();
    return endedWithNewline && !error_;
}

bool CsvParser::parseNewline() {
    if (cancelled_) {
        return false;
    }
    bool consumed = false;
    while (isNewlineCharacterFast(peekCharacter())) {
        advance();
        consumed = true;
    }
    return consumed;
}

bool CsvParser::parseComment() {
    advance(); // the number sign
    beginComment();
    for (char16_t c = peekCharacter(); c != 0 && !isNewlineCharacterFast(c); c = peekCharacter()) {
        advance();
        // An escaped character belongs to the comment, a line break too; the end does not.
        if (c == u'\\' && recognizesBackslashesAsEscapes_ && peekCharacter() != 0) {
            advance();
        }
    }
    endComment();
    return parseNewline();
}

bool CsvParser::parseField() {
    if (cancelled_) {
        return false;
    }
    beginField();
    if (stripsLeadingAndTrailingWhitespace_) {
        parseFieldWhitespace();
    }
    bool parsed;
    if (peekCharacter() == u'"') {
        parsed = parseEscapedField();
    } else {
        parsed = parseUnescapedField();
        if (stripsLeadingAndTrailingWhitespace_ && buildsSanitizedField_) {
            const std::u16string_view trimmed = trimmedOfWhitespaceAndNewlines(sanitizedField_);
            sanitizedField_ = std::u16string(trimmed);
        }
    }
    if (!parsed) {
        openQuotedFieldRecord_ = currentRecord_;
        return false;
    }
    if (stripsLeadingAndTrailingWhitespace_) {
        parseFieldWhitespace();
    }
    endField();
    return true;
}

void CsvParser::parseFieldWhitespace() {
    for (char16_t c = peekCharacter(); c != 0 && isWhitespaceCharacter(c) && c != delimiter_;
         c = peekCharacter()) {
        advance();
    }
}

void CsvParser::appendToSanitizedField(std::size_t from, std::size_t to) {
    if (buildsSanitizedField_) {
        sanitizedField_.append(text() + from, to - from);
    }
}

bool CsvParser::parseUnescapedField() {
    if (peekCharacter() == 0) {
        return true;
    }
    bool escaped = false;
    for (;;) {
        if (!escaped) {
            // Take a run of ordinary characters at once where no read can fall inside it.
            const auto& plain =
                recognizesBackslashesAsEscapes_ ? plainCharactersWithEscapes_ : plainCharacters_;
            const std::size_t limit = std::min(reloadIndex_, decodedLength());
            const char16_t* s = text();
            std::size_t i = nextIndex_;
            while (i < limit) {
                const char16_t c = s[i];
                if (c < 256 ? !plain[c] : (c == 0x2028 || c == 0x2029 || c == delimiter_)) {
                    break;
                }
                ++i;
            }
            appendToSanitizedField(nextIndex_, i);
            nextIndex_ = i;
        }
        const char16_t c = peekCharacter();
        if (c == 0) {
            break;
        }
        if (escaped) {
            sanitizedField_.push_back(c);
            escaped = false;
            advance();
        } else if (c == u'\\' && recognizesBackslashesAsEscapes_) {
            advance();
            escaped = true;
        } else if (!isValidFieldCharacter(c)) {
            break;
        } else {
            sanitizedField_.push_back(c);
            advance();
        }
    }
    return true;
}

bool CsvParser::parseEscapedField() {
    advance(); // the opening quote
    bool escaped = false;
    for (;;) {
        if (!escaped) {
            const bool backslashes = recognizesBackslashesAsEscapes_;
            const std::size_t limit = std::min(reloadIndex_, decodedLength());
            const char16_t* s = text();
            std::size_t i = nextIndex_;
            while (i < limit && s[i] != u'"' && s[i] != 0 && !(backslashes && s[i] == u'\\')) {
                ++i;
            }
            appendToSanitizedField(nextIndex_, i);
            nextIndex_ = i;
        }
        const char16_t c = peekCharacter();
        if (c == 0) {
            break;
        }
        if (escaped) {
            sanitizedField_.push_back(c);
            escaped = false;
            advance();
        } else if (c == u'\\' && recognizesBackslashesAsEscapes_) {
            advance();
            escaped = true;
        } else if (c != u'"') {
            // Quoted fields hold delimiters and line breaks as text.
            sanitizedField_.push_back(c);
            advance();
        } else if (peekPeekCharacter() == u'"') {
            sanitizedField_.push_back(u'"');
            advance();
            advance();
        } else {
            break;
        }
    }
    if (peekCharacter() == u'"') {
        advance();
        return true;
    }
    return false;
}

bool CsvParser::parseDelimiter() {
    const char16_t c = peekCharacter();
    if (c == delimiter_) {
        advance();
        return true;
    }
    if (c == 0 || isNewlineCharacterFast(c)) {
        return false;
    }
    std::u16string message = u"Unexpected delimiter. Expected '";
    message += delimiter_;
    message += u"' (0x" + hex(delimiter_) + u"), but got '";
    message += c;
    message += u"' (0x" + hex(c) + u")";
    error_ = CsvError{kErrorDomain, 1, std::move(message)};
    return false;
}

// ---- Events ----

void CsvParser::beginDocument() {
    if (delegate_) {
        delegate_->parserDidBeginDocument(*this);
    }
}

void CsvParser::endDocument() {
    if (delegate_) {
        delegate_->parserDidEndDocument(*this);
    }
}

void CsvParser::beginRecord() {
    if (cancelled_) {
        return;
    }
    fieldIndex_ = 0;
    ++currentRecord_;
    if (delegate_) {
        delegate_->parserDidBeginLine(*this, currentRecord_);
    }
}

void CsvParser::endRecord() {
    if (!cancelled_ && delegate_) {
        delegate_->parserDidEndLine(*this, currentRecord_);
    }
}

void CsvParser::beginField() {
    sanitizedField_.clear();
    // Only a field that will be reported sanitized needs its clean copy built.
    buildsSanitizedField_ = sanitizesFields_;
    fieldLocation_ = nextIndex_;
}

void CsvParser::endField() {
    if (cancelled_) {
        return;
    }
    if (delegate_) {
        if (sanitizesFields_) {
            delegate_->parserDidReadField(*this, sanitizedField_, fieldIndex_);
        } else {
            std::u16string_view raw(text() + fieldLocation_, nextIndex_ - fieldLocation_);
            if (stripsLeadingAndTrailingWhitespace_) {
                raw = trimmedOfWhitespaceAndNewlines(raw);
            }
            reportedText_.assign(raw);
            delegate_->parserDidReadField(*this, reportedText_, fieldIndex_);
        }
    }
    dropThroughNextIndex();
    ++fieldIndex_;
}

void CsvParser::beginComment() {
    if (!cancelled_) {
        fieldLocation_ = nextIndex_;
    }
}

void CsvParser::endComment() {
    if (cancelled_) {
        return;
    }
    if (delegate_) {
        reportedText_.assign(text() + fieldLocation_, nextIndex_ - fieldLocation_);
        delegate_->parserDidReadComment(*this, reportedText_);
    }
    dropThroughNextIndex();
}

void CsvParser::reportError() {
    if (!cancelled_ && delegate_) {
        delegate_->parserDidFailWithError(*this, *error_);
    }
}

} // namespace lanthor
