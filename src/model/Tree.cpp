#include "Tree.h"

#include "SpaceSeparated.h"
#include "base/CharacterSets.h"

#include <string_view>

namespace lanthor {

namespace {

/// Trims tabs and space separators; line breaks stay.
std::u16string_view trimmedOfWhitespace(std::u16string_view text) {
    while (!text.empty() && isWhitespaceCharacter(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isWhitespaceCharacter(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::u16string_view fieldOrEmpty(const std::vector<std::u16string>& fields, std::size_t index) {
    return index < fields.size() ? std::u16string_view(fields[index]) : std::u16string_view();
}

} // namespace

Tree::Tree(const std::vector<std::u16string>& fields)
    : Tree(fieldOrEmpty(fields, 0), fieldOrEmpty(fields, 1), fieldOrEmpty(fields, 2),
           fieldOrEmpty(fields, 3), fieldOrEmpty(fields, 4)) {}

Tree::Tree(std::u16string_view number, std::u16string_view children, std::u16string_view flag,
           std::u16string_view text, std::u16string_view attributes)
    : nodeNumber_(number), nodeValue_(text), attributes_(attributes) {
    flag = trimmedOfWhitespace(flag);
    head_ = flag == u"1";
    realRoot_ = flag == u"R";
    // Only the space separates children: a tab inside the column is part of a number.
    children = trimmedOfWhitespace(children);
    std::size_t pieces = 0;
    forEachSpaceSeparated(children, [&pieces](std::u16string_view) { ++pieces; });
    childrenList_.reserve(pieces);
    forEachSpaceSeparated(children,
                          [this](std::u16string_view piece) { childrenList_.emplace_back(piece); });
}

void Tree::appendChildrenText(std::u16string& text) const {
    for (const std::u16string& child : childrenList_) {
        if (!child.empty()) {
            text += child;
            text += u' ';
        }
    }
}

} // namespace lanthor
