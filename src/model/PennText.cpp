// Penn Treebank text: "(" label children ")", every word a leaf, -LRB- and -RRB- for the
// brackets, an unlabelled outer bracket around trees dropped.

#include "TreeTextParts.h"

#include <optional>

namespace lanthor::treetext {

namespace {

constexpr std::u16string_view kLeft = u"-LRB-";
constexpr std::u16string_view kRight = u"-RRB-";

constexpr bool endsToken(char16_t c) {
    return isBlank(c) || c == u'(' || c == u')';
}

/// The token's text: -LRB- and -RRB- anywhere in it stand for the brackets.
std::u16string tokenText(std::u16string_view token) {
    std::u16string text;
    text.reserve(token.size());
    while (!token.empty()) {
        if (token.starts_with(kLeft) || token.starts_with(kRight)) {
            text += token[1] == u'L' ? u'(' : u')';
            token.remove_prefix(kLeft.size());
        } else {
            text += token.front();
            token.remove_prefix(1);
        }
    }
    return text;
}

class PennReader {
public:
    explicit PennReader(std::u16string_view text) : text_(text) {}

    std::variant<std::shared_ptr<TreeTable>, TreeTextError> read() {
        while (true) {
            at_ = skipBlanks(text_, at_);
            if (at_ == text_.size()) {
                break;
            }
            const char16_t c = text_[at_];
            if (c == u'(') {
                if (unlabelled_) {
                    openUnlabelled();
                }
                unlabelled_ = at_++;
            } else if (c == u')') {
                if (unlabelled_) {
                    if (opened_.empty()) {
                        return errorAt(text_, at_, "expected a label or a tree after '('");
                    }
                    // "()" inside a tree: a node without text or children.
                    builder_.addLeaf({});
                    unlabelled_.reset();
                } else if (opened_.empty()) {
                    return errorAt(text_, at_, "')' without a matching '('");
                } else {
                    if (opened_.back().isNode) {
                        builder_.close();
                    }
                    opened_.pop_back();
                }
                ++at_;
            } else {
                const std::size_t start = at_;
                while (at_ < text_.size() && !endsToken(text_[at_])) {
                    ++at_;
                }
                std::u16string word = tokenText(text_.substr(start, at_ - start));
                if (unlabelled_) {
                    builder_.open(std::move(word));
                    opened_.push_back({*unlabelled_, true});
                    unlabelled_.reset();
                } else if (opened_.empty()) {
                    return errorAt(text_, start, "text outside brackets");
                } else if (!opened_.back().isNode) {
                    return errorAt(text_, start,
                                   "expected a tree, not a word, in the outer brackets");
                } else {
                    builder_.addLeaf(std::move(word));
                }
            }
        }
        if (unlabelled_ || !opened_.empty()) {
            return errorAt(text_, unlabelled_ ? *unlabelled_ : opened_.back().at,
                           "unclosed '(': expected ')' before the end of the text");
        }
        if (builder_.empty()) {
            return errorAt(text_, at_, "expected '(' before the end of the text");
        }
        return builder_.finish();
    }

private:
    /// A "(" followed by another "(": the outer bracket around trees at the top, else a node
    /// without text.
    void openUnlabelled() {
        const bool outer = opened_.empty();
        if (!outer) {
            builder_.open({});
        }
        opened_.push_back({*unlabelled_, !outer});
    }

    struct Open {
        std::size_t at; ///< where its "(" is
        bool isNode;    ///< false for the outer bracket
    };

    std::u16string_view text_;
    std::size_t at_ = 0;
    TreeBuilder builder_;
    std::vector<Open> opened_;
    std::optional<std::size_t> unlabelled_; ///< a "(" whose label is not read yet
};

class PennWriter final : public TreeVisitor {
public:
    void enter(const Tree& node, std::size_t depth, std::size_t childCount) override {
        const std::u16string& text = node.nodeValue();
        if (depth == 0 && !hasWords(text)) {
            // Else the outer bracket around it would be taken for this node's.
            out_ += u"( ";
        }
        if (depth > 0) {
            out_ += u' ';
        }
        // A word right after a "(" without a label would be taken for the label.
        if (depth > 0 && childCount == 0 && !afterEmptyLabel_) {
            appendWords(text, u' ');
            if (!hasWords(text)) {
                out_ += u"()";
            }
            return;
        }
        out_ += u'(';
        appendWords(text, u'_');
        afterEmptyLabel_ = !hasWords(text);
        if (childCount == 0) {
            leave(node, depth);
        }
    }

    void leave(const Tree& node, std::size_t depth) override {
        out_ += u')';
        afterEmptyLabel_ = false;
        if (depth == 0) {
            out_ += hasWords(node.nodeValue()) ? u"\n" : u" )\n";
        }
    }

    std::u16string take() { return std::move(out_); }

private:
    static bool hasWords(std::u16string_view text) {
        for (const char16_t c : text) {
            if (!isBlank(c)) {
                return true;
            }
        }
        return false;
    }

    /// The words of `text` (split at blanks), joined by `joint`, the brackets spelled out.
    void appendWords(std::u16string_view text, char16_t joint) {
        bool inWord = false;
        bool pendingJoint = false;
        for (const char16_t c : text) {
            if (isBlank(c)) {
                pendingJoint = pendingJoint || inWord;
                inWord = false;
                continue;
            }
            if (pendingJoint) {
                out_ += joint;
                pendingJoint = false;
            }
            inWord = true;
            if (c == u'(' || c == u')') {
                out_ += c == u'(' ? kLeft : kRight;
            } else {
                out_ += c;
            }
        }
    }

    std::u16string out_;
    bool afterEmptyLabel_ = false;
};

} // namespace

std::variant<std::shared_ptr<TreeTable>, TreeTextError> readPenn(std::u16string_view text) {
    return PennReader(text).read();
}

std::u16string writePenn(const TreeTable& table) {
    PennWriter writer;
    walkTrees(table, writer);
    return writer.take();
}

} // namespace lanthor::treetext
