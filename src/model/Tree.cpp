#include "Tree.h"

#include "csv/CharacterSets.h"

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

Tree::Tree(std::vector<std::u16string> fields) {
    if (fields.size() > 0) {
        nodeNumber_ = std::move(fields[0]);
    }
    if (fields.size() > 3) {
        nodeValue_ = std::move(fields[3]);
    }
    const std::u16string_view flag = trimmedOfWhitespace(fieldOrEmpty(fields, 2));
    head_ = flag == u"1";
    realRoot_ = flag == u"R";
    // Only the space separates children: a tab inside the column is part of a number.
    std::u16string_view children = trimmedOfWhitespace(fieldOrEmpty(fields, 1));
    while (!children.empty()) {
        const std::size_t space = children.find(u' ');
        const std::u16string_view piece = children.substr(0, space);
        if (!piece.empty()) {
            childrenList_.emplace_back(piece);
        }
        if (space == std::u16string_view::npos) {
            break;
        }
        children.remove_prefix(space + 1);
    }
}

std::array<std::u16string, 4> Tree::rowFields() const {
    std::u16string children;
    for (const std::u16string& child : childrenList_) {
        if (!child.empty()) {
            children += child;
            children += u' ';
        }
    }
    const char16_t* flag = realRoot_ ? u"R" : head_ ? u"1" : u"0";
    return {nodeNumber_, std::move(children), flag, nodeValue_};
}

} // namespace lanthor
