#pragma once

#include "platform/AttributedString.h"

#include <memory>
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

    /// Text that holds no markup, no character reference and no white space but single spaces
    /// reads the same without QTextDocument, and so skips it: node labels are mostly such text.
    AttributedString read(std::u16string_view html) const;
    /// The same, always through QTextDocument.
    AttributedString readWithDocument(std::u16string_view html) const;

private:
    Font font_;
    std::unique_ptr<QTextDocument> document_;
};

} // namespace lanthor
