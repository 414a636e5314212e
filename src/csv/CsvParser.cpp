#include "CsvParser.h"

#include "base/CharacterSets.h"
#include "base/Utf.h"

#include <cstdio>
#include <stdexcept>

namespace lanthor {

namespace {

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

/// `delimiter` when the grammar can use it, else throws std::invalid_argument.
char16_t usableDelimiter(char16_t delimiter) {
    if (auto problem = CsvParser::delimiterProblem(delimiter, 0)) {
        throw std::invalid_argument(*problem);
    }
    return delimiter;
}

} // namespace

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
    : CsvParser(usableDelimiter(delimiter), std::move(stream), usedEncoding) {}

CsvParser::CsvParser(char16_t usableDelimiter, std::unique_ptr<CsvInputStream> stream,
                     CsvEncoding* usedEncoding)
    : input_(std::move(stream), usedEncoding), delimiter_(usableDelimiter) {
    for (unsigned c = 1; c < 256; ++c) {
        const bool plain = isValidFieldCharacter(static_cast<char16_t>(c));
        plainCharacters_[c] = plain;
        plainCharactersWithEscapes_[c] = plain && c != u'\\';
    }
}

CsvParser::~CsvParser() = default;

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
    return input_.streamError();
}

bool CsvParser::isNewlineCharacterFast(char16_t c) {
    return c <= 0x0D ? c >= 0x0A : (c == 0x85 || c == 0x2028 || c == 0x2029);
}

std::optional<CsvEarlyEnd> CsvParser::earlyEnd() const {
    if (cancelled_ || error_) {
        return std::nullopt;
    }
    if (std::optional<CsvEarlyEnd> inputEnd = input_.earlyEnd(currentRecord_)) {
        return inputEnd;
    }
    if (openQuotedFieldRecord_) {
        return CsvEarlyEnd{CsvEarlyEnd::Reason::OpenQuotedField, 0, *openQuotedFieldRecord_,
                           input_.encoding()};
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
    if (input_.peekCharacter() == u'#') {
        while (recognizesComments_) {
            parseComment();
            if (input_.peekCharacter() != u'#') {
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
    while (isNewlineCharacterFast(input_.peekCharacter())) {
        input_.advance();
        consumed = true;
    }
    return consumed;
}

bool CsvParser::parseComment() {
    input_.advance(); // the number sign
    beginComment();
    for (char16_t c = input_.peekCharacter(); c != 0 && !isNewlineCharacterFast(c);
         c = input_.peekCharacter()) {
        input_.advance();
        // An escaped character belongs to the comment, a line break too; the end does not.
        if (c == u'\\' && recognizesBackslashesAsEscapes_ && input_.peekCharacter() != 0) {
            input_.advance();
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
    if (input_.peekCharacter() == u'"') {
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
    for (char16_t c = input_.peekCharacter(); c != 0 && isWhitespaceCharacter(c) && c != delimiter_;
         c = input_.peekCharacter()) {
        input_.advance();
    }
}

void CsvParser::appendToSanitizedField(std::size_t from, std::size_t to) {
    if (buildsSanitizedField_) {
        sanitizedField_.append(input_.text() + from, to - from);
    }
}

bool CsvParser::parseUnescapedField() {
    // A field that starts at the end of the text is empty; the loop's first look finds that end
    // without a check of its own, which keeps this hot function lean.
    bool escaped = false;
    for (;;) {
        if (!escaped) {
            // Take a run of ordinary characters at once where no read can fall inside it.
            const auto& plain =
                recognizesBackslashesAsEscapes_ ? plainCharactersWithEscapes_ : plainCharacters_;
            const std::size_t limit = input_.scanLimit();
            const char16_t* s = input_.text();
            std::size_t i = input_.position();
            while (i < limit) {
                const char16_t c = s[i];
                if (c < 256 ? !plain[c] : (c == 0x2028 || c == 0x2029 || c == delimiter_)) {
                    break;
                }
                ++i;
            }
            appendToSanitizedField(input_.position(), i);
            input_.skipTo(i);
        }
        const char16_t c = input_.peekCharacter();
        if (c == 0) {
            break;
        }
        if (escaped) {
            sanitizedField_.push_back(c);
            escaped = false;
            input_.advance();
        } else if (c == u'\\' && recognizesBackslashesAsEscapes_) {
            input_.advance();
            escaped = true;
        } else if (!isValidFieldCharacter(c)) {
            break;
        } else {
            sanitizedField_.push_back(c);
            input_.advance();
        }
    }
    return true;
}

bool CsvParser::parseEscapedField() {
    input_.advance(); // the opening quote
    bool escaped = false;
    for (;;) {
        if (!escaped) {
            const bool backslashes = recognizesBackslashesAsEscapes_;
            const std::size_t limit = input_.scanLimit();
            const char16_t* s = input_.text();
            std::size_t i = input_.position();
            while (i < limit && s[i] != u'"' && s[i] != 0 && !(backslashes && s[i] == u'\\')) {
                ++i;
            }
            appendToSanitizedField(input_.position(), i);
            input_.skipTo(i);
        }
        const char16_t c = input_.peekCharacter();
        if (c == 0) {
            break;
        }
        if (escaped) {
            sanitizedField_.push_back(c);
            escaped = false;
            input_.advance();
        } else if (c == u'\\' && recognizesBackslashesAsEscapes_) {
            input_.advance();
            escaped = true;
        } else if (c != u'"') {
            // Quoted fields hold delimiters and line breaks as text.
            sanitizedField_.push_back(c);
            input_.advance();
        } else if (input_.peekPeekCharacter() == u'"') {
            sanitizedField_.push_back(u'"');
            input_.advance();
            input_.advance();
        } else {
            break;
        }
    }
    if (input_.peekCharacter() == u'"') {
        input_.advance();
        return true;
    }
    return false;
}

bool CsvParser::parseDelimiter() {
    const char16_t c = input_.peekCharacter();
    if (c == delimiter_) {
        input_.advance();
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
    fieldLocation_ = input_.position();
}

void CsvParser::endField() {
    if (cancelled_) {
        return;
    }
    if (delegate_) {
        if (sanitizesFields_) {
            delegate_->parserDidReadField(*this, sanitizedField_, fieldIndex_);
        } else {
            std::u16string_view raw(input_.text() + fieldLocation_,
                                    input_.position() - fieldLocation_);
            if (stripsLeadingAndTrailingWhitespace_) {
                raw = trimmedOfWhitespaceAndNewlines(raw);
            }
            reportedText_.assign(raw);
            delegate_->parserDidReadField(*this, reportedText_, fieldIndex_);
        }
    }
    input_.dropBeforePosition();
    ++fieldIndex_;
}

void CsvParser::beginComment() {
    if (!cancelled_) {
        fieldLocation_ = input_.position();
    }
}

void CsvParser::endComment() {
    if (cancelled_) {
        return;
    }
    if (delegate_) {
        reportedText_.assign(input_.text() + fieldLocation_, input_.position() - fieldLocation_);
        delegate_->parserDidReadComment(*this, reportedText_);
    }
    input_.dropBeforePosition();
}

void CsvParser::reportError() {
    if (!cancelled_ && delegate_) {
        delegate_->parserDidFailWithError(*this, *error_);
    }
}

} // namespace lanthor
