#include "CsvWriter.h"

#include "base/CharacterSets.h"

#include <charconv>
#include <stdexcept>

namespace lanthor {

CsvWriter::CsvWriter(std::shared_ptr<CsvOutputStream> stream, CsvEncoding encoding,
                     char16_t delimiter)
    : stream_(std::move(stream)), streamEncoding_(encoding), delimiterCharacter_(delimiter) {
    if (!canEncode(encoding)) {
        throw std::invalid_argument("the CSV writer cannot write " +
                                    std::string(encodingName(encoding)));
    }
    if (stream_->status() == CsvOutputStream::Status::NotOpen) {
        stream_->open();
    }
    // An encoding that puts a mark in front of every conversion shows it by comparison: "aa"
    // then gives less than twice what "a" gives.
    const std::string one = encodeText(encoding, u"a").value_or("");
    const std::string two = encodeText(encoding, u"aa").value_or("");
    if (two.size() != 2 * one.size()) {
        bom_ = one.substr(0, 2 * one.size() - two.size());
        writeData(*bom_);
    }
    const std::string delimiterBytes =
        encodeText(encoding, std::u16string_view(&delimiter, 1)).value_or("");
    delimiter_ = bom_ && delimiterBytes.size() >= bom_->size() ? delimiterBytes.substr(bom_->size())
                                                               : delimiterBytes;
}

CsvWriter CsvWriter::forWritingToCSVFile(const std::string& path) {
    return CsvWriter(std::make_shared<FileOutputStream>(path), CsvEncoding::UTF8, u',');
}

CsvWriter::~CsvWriter() {
    closeStream();
}

namespace {

template <typename Number> std::u16string toDecimal(Number number) {
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    return std::u16string(digits, result.ptr);
}

} // namespace

std::u16string CsvWriter::decimalText(double number) {
    return toDecimal(number);
}
std::u16string CsvWriter::decimalText(std::int64_t number) {
    return toDecimal(number);
}
std::u16string CsvWriter::decimalText(std::uint64_t number) {
    return toDecimal(number);
}

bool CsvWriter::forcesQuotes(char16_t c) const {
    return isNewlineCharacter(c) || c == delimiterCharacter_ || c == u'"';
}

void CsvWriter::writeField(std::u16string_view field) {
    if (currentField_ > 0) {
        writeDelimiter();
    }
    bool quoted = false;
    for (const char16_t c : field) {
        if (forcesQuotes(c)) {
            quoted = true;
            break;
        }
    }
    if (quoted) {
        quotedField_.assign(1, u'"');
        for (const char16_t c : field) {
            quotedField_ += c;
            if (c == u'"') {
                quotedField_ += c;
            }
        }
        quotedField_ += u'"';
        writeString(quotedField_);
    } else {
        writeString(field);
    }
    ++currentField_;
}

void CsvWriter::writeField(std::nullptr_t) {
    writeField(std::u16string_view());
}

void CsvWriter::finishLine() {
    writeString(u"\n");
    currentField_ = 0;
}

void CsvWriter::finishLineIfNecessary() {
    if (currentField_ != 0) {
        finishLine();
    }
}

void CsvWriter::writeComment(std::u16string_view comment) {
    finishLineIfNecessary();
    // Every line break splits, so CR LF leaves an empty line between its two characters.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= comment.size(); ++i) {
        if (i == comment.size() || isNewlineCharacter(comment[i])) {
            std::u16string line = u"#";
            line += comment.substr(start, i - start);
            line += u'\n';
            writeString(line);
            start = i + 1;
        }
    }
}

void CsvWriter::closeStream() {
    if (stream_) {
        stream_->close();
        stream_.reset();
    }
}

void CsvWriter::writeString(std::u16string_view text) {
    encoded_.clear();
    if (!appendEncodedText(streamEncoding_, text, encoded_)) {
        return; // not representable in the encoding: left out
    }
    const std::size_t markLength = bom_ ? bom_->size() : 0;
    if (encoded_.size() > markLength) {
        writeData(std::string_view(encoded_).substr(markLength));
    }
}

void CsvWriter::writeData(std::string_view bytes) {
    if (stream_ && !bytes.empty()) {
        stream_->write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
}

} // namespace lanthor
