#pragma once

#include "platform/AttributedString.h"

#include <memory>
#include <optional>
#include <string_view>

class QTextDocument;

namespace lanthor {

/// Reads HTML fragments with QTextDocument and returns their visible text: tags removed,
/// character references replaced, white space collapsed as HTML does (and dropped at the start
/// and end of each line), "<br>" and "</br>" as '\n', bold, italic, raised and lowered text
/// marked. Every run gets the reader's font with the traits of its text.
///
/// One document serves every read: making a QTextDocument costs more than reading a label.
class QtHtmlReader {
public:
    explicit QtHtmlReader(Font font);
    ~QtHtmlReader();
    QtHtmlReader(const QtHtmlReader&) = delete;
    QtHtmlReader& operator=(const QtHtmlReader&) = delete;

    /// Text whose only markup is properly nested allowed tags and the references "&lt;",
    /// "&gt;" and "&amp;", with no white space but single spaces between visible characters,
    /// reads the same without QTextDocument, and so skips it: most node labels are such text.
    AttributedString read(std::u16string_view html) const;
    /// The same, always through QTextDocument.
    AttributedString readWithDocument(std::u16string_view html) const;

private:
    /// Reads text of the simple kind that `read` describes; none for anything else.
    std::optional<AttributedString> readSimpleText(std::u16string_view html) const;

    Font font_;
    std::unique_ptr<QTextDocument> document_;
};

} // namespace lanthor
