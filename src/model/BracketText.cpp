// Labelled bracketing: "[" label children "]", consecutive words under a node one leaf, a "^"
// before a label or before a node's words for a roof.

#include "TreeTextParts.h"

namespace lanthor::treetext {

namespace {

constexpr bool isEscapable(char16_t c) {
    return c == u'[' || c == u']' || c == u'"' || c == u'\\';
}

constexpr bool endsBareToken(char16_t c) {
    return isBlank(c) || c == u'[' || c == u']' || c == u'"';
}

/// Marks a roof where it starts a label or a run of words; written quoted elsewhere.
constexpr char16_t kRoofMark = u'^';

class BracketReader {
public:
    explicit BracketReader(std::u16string_view text) : text_(text) {}

    std::variant<std::shared_ptr<TreeTable>, TreeTextError> read() {
        std::vector<std::size_t> opened; // where each open node's "[" is
        bool expectLabel = false;
        bool roofMarked = false; // the label to come had its mark
        while (true) {
            at_ = skipBlanks(text_, at_);
            if (at_ == text_.size()) {
                break;
            }
            const char16_t c = text_[at_];
            if ((c == u'[' || c == u']') && expectLabel) {
                return errorAt(text_, at_, "expected a label after '['");
            }
            if (c == u'[') {
                flushLeaf();
                builder_.open({});
                opened.push_back(at_++);
                expectLabel = true;
            } else if (c == u']') {
                if (opened.empty()) {
                    return errorAt(text_, at_, "']' without a matching '['");
                }
                flushLeaf();
                builder_.close();
                opened.pop_back();
                ++at_;
            } else if (opened.empty()) {
                return errorAt(text_, at_, "text outside brackets");
            } else if (expectLabel && c == kRoofMark && !roofMarked) {
                builder_.setRoof();
                roofMarked = true;
                ++at_;
            } else if (expectLabel) {
                roofMarked = false;
                std::u16string label;
                if (!readToken(label)) {
                    return unclosedQuote();
                }
                builder_.setText(std::move(label));
                expectLabel = false;
            } else if (!inLeaf_ && c == kRoofMark) {
                // Before words, the mark roofs the node that holds them.
                builder_.setRoof();
                ++at_;
            } else {
                if (inLeaf_) {
                    leaf_ += u' ';
                }
                inLeaf_ = true;
                if (!readToken(leaf_)) {
                    return unclosedQuote();
                }
            }
        }
        if (!opened.empty()) {
            return errorAt(text_, opened.back(),
                           "unclosed '[': expected ']' before the end of the text");
        }
        if (builder_.empty()) {
            return errorAt(text_, at_, "expected '[' before the end of the text");
        }
        return builder_.finish();
    }

private:
    TreeTextError unclosedQuote() const {
        return errorAt(text_, at_, "unclosed quote: expected '\"' before the end of the text");
    }

    /// Appends a bare or quoted token's text to `out`; false, with `at_` at the quote, when a
    /// quote is not closed.
    bool readToken(std::u16string& out) {
        const bool quoted = text_[at_] == u'"';
        const std::size_t start = at_;
        at_ += quoted ? 1 : 0;
        while (at_ < text_.size()) {
            // Plain characters are copied a run at a time.
            std::size_t end = at_;
            while (end < text_.size() && text_[end] != u'\\' &&
                   (quoted ? text_[end] != u'"' : !endsBareToken(text_[end]))) {
                ++end;
            }
            out.append(text_.substr(at_, end - at_));
            at_ = end;
            if (at_ == text_.size() || text_[at_] != u'\\') {
                break;
            }
            const bool escape = at_ + 1 < text_.size() && isEscapable(text_[at_ + 1]);
            at_ += escape ? 1 : 0;
            out += text_[at_++];
        }
        if (quoted && at_ == text_.size()) {
            at_ = start;
            return false;
        }
        at_ += quoted ? 1 : 0;
        return true;
    }

    void flushLeaf() {
        if (inLeaf_) {
            builder_.addLeaf(std::move(leaf_));
            leaf_.clear();
            inLeaf_ = false;
        }
    }

    std::u16string_view text_;
    std::size_t at_ = 0;
    TreeBuilder builder_;
    std::u16string leaf_; ///< the words read so far of the current leaf
    bool inLeaf_ = false;
};

/// Whether words written bare read back as `text`: one space between words, no other blank,
/// and no roof mark in front.
bool readsBackAsWords(std::u16string_view text) {
    if (text.empty() || text.front() == u' ' || text.back() == u' ' || text.front() == kRoofMark) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isBlank(text[i]) && (text[i] != u' ' || text[i + 1] == u' ')) {
            return false;
        }
    }
    return true;
}

class BracketWriter final : public TreeVisitor {
public:
    explicit BracketWriter(bool indented) : indented_(indented) {}

    void enter(const Tree& node, std::size_t depth, std::size_t childCount) override {
        if (depth > 0) {
            separate(depth);
        }
        const std::u16string& text = node.nodeValue();
        const bool roof = node.attributes().has(NodeAttributes::kRoof);
        if (depth > 0 && childCount == 0 && !afterWords_ && !roof) {
            appendToken(text, readsBackAsWords(text));
            afterWords_ = true;
            return;
        }
        out_ += u'[';
        if (roof) {
            out_ += kRoofMark;
        }
        appendToken(text, !text.empty() && !hasBlank(text) && text.front() != kRoofMark);
        afterWords_ = false;
        if (childCount == 0) {
            leave(node, depth);
        }
    }

    void leave(const Tree&, std::size_t depth) override {
        out_ += u']';
        afterWords_ = false;
        if (depth == 0) {
            out_ += u'\n';
        }
    }

    std::u16string take() { return std::move(out_); }

private:
    static bool hasBlank(std::u16string_view text) {
        for (const char16_t c : text) {
            if (isBlank(c)) {
                return true;
            }
        }
        return false;
    }

    void separate(std::size_t depth) {
        if (indented_) {
            out_ += u'\n';
            out_.append(2 * depth, u' ');
        } else {
            out_ += u' ';
        }
    }

    /// Bare text escapes the characters that would end it; quoted text only its own quote and
    /// the backslash.
    void appendToken(std::u16string_view text, bool bare) {
        if (!bare) {
            out_ += u'"';
        }
        for (const char16_t c : text) {
            if (bare ? isEscapable(c) : c == u'"' || c == u'\\') {
                out_ += u'\\';
            }
            out_ += c;
        }
        if (!bare) {
            out_ += u'"';
        }
    }

    bool indented_;
    bool afterWords_ = false;
    std::u16string out_;
};

} // namespace

std::variant<std::shared_ptr<TreeTable>, TreeTextError> readBrackets(std::u16string_view text) {
    return BracketReader(text).read();
}

std::u16string writeBrackets(const TreeTable& table, bool indented) {
    BracketWriter writer(indented);
    walkTrees(table, writer);
    return writer.take();
}

} // namespace lanthor::treetext
