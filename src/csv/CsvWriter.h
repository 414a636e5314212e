#pragma once

#include "ByteStreams.h"
#include "CsvEncoding.h"

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace lanthor {

/// The arithmetic types written as numbers. Characters are not numbers here: a char16_t field
/// would otherwise silently become its code.
template <typename T>
concept CsvNumber = (std::integral<T> || std::floating_point<T>)&&!std::same_as<T, char> &&
                    !std::same_as<T, char8_t> && !std::same_as<T, char16_t> &&
                    !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>;

/// Writes fields and lines as CSV text in a chosen encoding: fields separated by one delimiter,
/// lines ended by a line feed, a field quoted only when it holds a line break, the delimiter or a
/// double quote (which it then doubles), and comment lines that begin with '#'. A byte-order mark
/// the encoding uses is written once, first. The writer reports no errors: text the encoding
/// cannot represent is left out, and writes after `closeStream` are dropped.
class CsvWriter {
public:
    /// Opens `stream` unless the caller already has. Throws std::invalid_argument for an
    /// encoding that the writer does not offer.
    CsvWriter(std::shared_ptr<CsvOutputStream> stream, CsvEncoding encoding, char16_t delimiter);
    /// Writes UTF-8 with the comma to `path`, replacing the file.
    static CsvWriter forWritingToCSVFile(const std::string& path);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    /// Writes one field of the current line.
    void writeField(std::u16string_view field);
    /// A null field: nothing between its delimiters, like the empty text.
    void writeField(std::nullptr_t);
    /// A number, in its decimal form: integers exactly, floating point in the shortest form that
    /// reads back as the same value.
    template <CsvNumber Number> void writeField(Number number) {
        if constexpr (std::floating_point<Number>) {
            writeField(std::u16string_view(decimalText(static_cast<double>(number))));
        } else if constexpr (std::signed_integral<Number>) {
            writeField(std::u16string_view(decimalText(static_cast<std::int64_t>(number))));
        } else {
            writeField(std::u16string_view(decimalText(static_cast<std::uint64_t>(number))));
        }
    }
    /// Ends the current line, also when it holds no field.
    void finishLine();
    /// Ends a line left open, then writes `fields` as one whole line.
    template <typename Fields> void writeLineOfFields(const Fields& fields) {
        finishLineIfNecessary();
        for (const auto& field : fields) {
            writeField(field);
        }
        finishLine();
    }
    /// Ends a line left open, then writes one comment line per line of `comment`.
    void writeComment(std::u16string_view comment);
    /// Closes the stream; every later write is dropped.
    void closeStream();

private:
    static std::u16string decimalText(double number);
    static std::u16string decimalText(std::int64_t number);
    static std::u16string decimalText(std::uint64_t number);
    void writeData(std::string_view bytes);
    void writeString(std::u16string_view text);
    void writeDelimiter() { writeData(delimiter_); }
    void finishLineIfNecessary();
    bool forcesQuotes(char16_t c) const;

    std::shared_ptr<CsvOutputStream> stream_;
    CsvEncoding streamEncoding_;
    std::string delimiter_; ///< the delimiter's bytes, without a mark
    std::optional<std::string> bom_;
    char16_t delimiterCharacter_;
    std::uint64_t currentField_ = 0;
    std::u16string quotedField_; ///< scratch space, kept to spare an allocation per field
    std::string encoded_;
};

} // namespace lanthor
