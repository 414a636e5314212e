#pragma once

#include "ByteStreams.h"
#include "CsvEncoding.h"
#include "CsvError.h"
#include "CsvParserDelegate.h"
#include "CsvParserOptions.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lanthor {

/// How the decoded text ended before the input did. The parser's events are the same either
/// way; readers that must not take a shortened text for the whole use this to refuse it.
struct CsvEarlyEnd {
    enum class Reason {
        UndecodableBytes, ///< bytes that the encoding cannot decode stopped the text
        NulCharacter,     ///< a U+0000 character, which reads as the end of the text
        OpenQuotedField,  ///< the text ended inside a quoted field, which was dropped
    };
    Reason reason;
    std::uint64_t byteOffset = 0; ///< for undecodable bytes: bytes decoded before them
    std::uint64_t record = 0;     ///< the record in which the text ended
    CsvEncoding encoding = CsvEncoding::Unknown;

    /// One line that says what happened and where.
    std::string message() const;
};

/// A streaming, event-driven CSV reader. It decodes its input in blocks of 512 bytes, detecting
/// the encoding of files from their first block, and reports documents, records, fields,
/// comments and its one error to a delegate as it finds them. Memory stays proportional to the
/// longest field plus a small read-ahead, whatever the size of the input.
class CsvParser {
public:
    /// Reads text held in memory. The encoding is known, so nothing is detected or logged.
    static CsvParser fromString(std::u16string_view csv, char16_t delimiter = u',');
    /// Reads a file ("-" for standard input), detecting its encoding. A file that cannot be
    /// opened reads as empty; `streamError` says why.
    static CsvParser fromFile(const std::string& path, char16_t delimiter = u',');

    /// Reads `stream`, which the parser opens now and closes when it is destroyed. When
    /// `usedEncoding` is null or points at CsvEncoding::Unknown, the encoding is detected from the
    /// first block (and written back through the pointer); otherwise it is used as given.
    /// Throws std::invalid_argument for a delimiter that the grammar cannot use.
    CsvParser(std::unique_ptr<CsvInputStream> stream, CsvEncoding* usedEncoding,
              char16_t delimiter);
    ~CsvParser();
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;

    /// Why `delimiter` cannot be used with `options`, or nothing when it can: U+0000, the double
    /// quote and line breaks never; the backslash with escapes and the number sign with comments.
    static std::optional<std::string> delimiterProblem(char16_t delimiter,
                                                       CsvParserOptions options);

    /// Reads the whole input and reports it to the delegate. Ends with exactly one of
    /// parserDidEndDocument and parserDidFailWithError (neither of the latter after a cancel
    /// that came before the end).
    void parse();
    /// Stops the parse at its next step; only parserDidEndDocument follows.
    void cancelParsing() { cancelled_ = true; }

    CsvParserDelegate* delegate() const { return delegate_; }
    void setDelegate(CsvParserDelegate* delegate) { delegate_ = delegate; }

    bool recognizesBackslashesAsEscapes() const { return recognizesBackslashesAsEscapes_; }
    /// Throws std::invalid_argument when the delimiter is the backslash.
    void setRecognizesBackslashesAsEscapes(bool on);
    bool sanitizesFields() const { return sanitizesFields_; }
    void setSanitizesFields(bool on) { sanitizesFields_ = on; }
    bool recognizesComments() const { return recognizesComments_; }
    /// Throws std::invalid_argument when the delimiter is the number sign.
    void setRecognizesComments(bool on);
    bool stripsLeadingAndTrailingWhitespace() const { return stripsLeadingAndTrailingWhitespace_; }
    void setStripsLeadingAndTrailingWhitespace(bool on) {
        stripsLeadingAndTrailingWhitespace_ = on;
    }
    /// Sets the four options from the bits of `options`, in bit order.
    void setOptions(CsvParserOptions options);

    /// Bytes taken from the stream so far, byte-order marks included.
    std::uint64_t totalBytesRead() const { return totalBytesRead_; }
    void setTotalBytesRead(std::uint64_t count) { totalBytesRead_ = count; }

    CsvEncoding streamEncoding() const { return streamEncoding_; }
    char16_t delimiter() const { return delimiter_; }
    /// Why the input could not be opened or read, empty when it could.
    std::string streamError() const;
    /// After a parse that ended neither in an error nor by a cancel: whether the text ended
    /// before the bytes did, and how.
    std::optional<CsvEarlyEnd> earlyEnd() const;

private:
    void sniffEncoding();

    // The character source: the next code unit (0 at the end), the one after it, consume one.
    // Below the reload index the decoded text always reaches past the next two characters, so
    // the stream needs a look only beyond it; that slow path stays out of line.
    char16_t peekCharacter() {
        if (nextIndex_ >= reloadIndex_) {
            loadAround(nextIndex_);
        }
        return nextIndex_ < decodedLength() ? text()[nextIndex_] : char16_t(0);
    }
    char16_t peekPeekCharacter() {
        if (nextIndex_ >= reloadIndex_) {
            loadAround(nextIndex_ + 1);
        }
        return nextIndex_ + 1 < decodedLength() ? text()[nextIndex_ + 1] : char16_t(0);
    }
    void advance() {
        if (nextIndex_ >= reloadIndex_) {
            loadMore();
        }
        ++nextIndex_;
    }
    /// Reads as the block rule asks and on until the text reaches past `index`, if it can.
    [[gnu::noinline]] void loadAround(std::size_t index);
    /// Reads one block when the rule asks for it and decodes what came; false when no bytes came.
    bool loadMore();
    /// Reads on while the text ends at or before `index` and the stream may still complete it.
    void readUntilDecoded(std::size_t index);
    void decodeBuffer();
    void updateReloadIndex();
    std::size_t decodedLength() const { return string_.size() - start_; }
    const char16_t* text() const { return string_.data() + start_; }
    void dropThroughNextIndex();

    bool parseRecord();
    bool parseNewline();
    bool parseComment();
    bool parseField();
    bool parseEscapedField();
    bool parseUnescapedField();
    bool parseDelimiter();
    void parseFieldWhitespace();
    bool isValidFieldCharacter(char16_t c) const {
        return c != u'"' && c != delimiter_ && !isNewlineCharacterFast(c);
    }
    static bool isNewlineCharacterFast(char16_t c);
    void appendToSanitizedField(std::size_t from, std::size_t to);

    void beginDocument();
    void endDocument();
    void beginRecord();
    void endRecord();
    void beginField();
    void endField();
    void beginComment();
    void endComment();
    void reportError();

    std::unique_ptr<CsvInputStream> stream_;
    CsvEncoding streamEncoding_ = CsvEncoding::Unknown;
    std::unique_ptr<TextDecoder> decoder_;   ///< made once the encoding is known
    std::vector<std::uint8_t> stringBuffer_; ///< bytes read and not yet decoded
    std::u16string string_;                  ///< decoded text; what lies before start_ is dropped
    std::size_t start_ = 0;
    std::size_t nextIndex_ = 0; ///< index of the next character, counted from start_
    std::int64_t fieldIndex_ = 0;
    std::size_t fieldLocation_ = 0;
    std::u16string sanitizedField_;
    std::u16string reportedText_; ///< the raw text or comment handed to the delegate
    char16_t delimiter_;
    std::optional<CsvError> error_;
    std::uint64_t currentRecord_ = 0;
    bool cancelled_ = false;
    bool recognizesBackslashesAsEscapes_ = false;
    bool sanitizesFields_ = false;
    bool recognizesComments_ = false;
    bool stripsLeadingAndTrailingWhitespace_ = false;
    CsvParserDelegate* delegate_ = nullptr;
    std::uint64_t totalBytesRead_ = 0;

    // Below this index no character operation needs to read or decode: the fast paths scan
    // freely up to it, which keeps reading exactly where the block rule puts it.
    std::size_t reloadIndex_ = 0;
    bool streamExhausted_ = false;
    bool bufferChanged_ = false;
    bool decodeStuck_ = false; ///< the buffer starts with bytes that will never decode
    std::uint64_t decodedBytes_ = 0;
    std::optional<std::uint64_t> openQuotedFieldRecord_;
    bool buildsSanitizedField_ = false;
    /// Code units below 256 that an unquoted field takes without a second look, without and
    /// with backslash escapes.
    std::array<bool, 256> plainCharacters_{};
    std::array<bool, 256> plainCharactersWithEscapes_{};
};

} // namespace lanthor
