#pragma once

#include "ByteStreams.h"
#include "CsvEarlyEnd.h"
#include "CsvEncoding.h"
#include "CsvError.h"
#include "CsvInputBuffer.h"
#include "CsvParserDelegate.h"
#include "CsvParserOptions.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace lanthor {

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
    std::uint64_t totalBytesRead() const { return input_.totalBytesRead(); }
    void setTotalBytesRead(std::uint64_t count) { input_.setTotalBytesRead(count); }

    CsvEncoding streamEncoding() const { return input_.encoding(); }
    char16_t delimiter() const { return delimiter_; }
    /// Why the input could not be opened or read, empty when it could.
    std::string streamError() const;
    /// After a parse that ended neither in an error nor by a cancel: whether the text ended
    /// before the bytes did, and how.
    std::optional<CsvEarlyEnd> earlyEnd() const;

private:
    /// The public constructor's work once the delimiter is known to be usable, so that a refused
    /// delimiter leaves the stream unopened.
    CsvParser(char16_t usableDelimiter, std::unique_ptr<CsvInputStream> stream,
              CsvEncoding* usedEncoding);

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

    CsvInputBuffer input_;
    char16_t delimiter_;
    std::int64_t fieldIndex_ = 0;
    std::size_t fieldLocation_ = 0; ///< where the field or comment began, an index in the input
    std::u16string sanitizedField_;
    std::u16string reportedText_; ///< the raw text or comment handed to the delegate
    std::optional<CsvError> error_;
    std::uint64_t currentRecord_ = 0;
    bool cancelled_ = false;
    bool recognizesBackslashesAsEscapes_ = false;
    bool sanitizesFields_ = false;
    bool recognizesComments_ = false;
    bool stripsLeadingAndTrailingWhitespace_ = false;
    CsvParserDelegate* delegate_ = nullptr;
    std::optional<std::uint64_t> openQuotedFieldRecord_;
    bool buildsSanitizedField_ = false;
    /// Code units below 256 that an unquoted field takes without a second look, without and
    /// with backslash escapes.
    std::array<bool, 256> plainCharacters_{};
    std::array<bool, 256> plainCharactersWithEscapes_{};
};

} // namespace lanthor
