#pragma once

// The tree text round trip, as a check that the fuzzer runs on arbitrary bytes (read as UTF-8)
// and that the tests replay on the kept inputs: in each notation, text that reads must be
// written as text that reads as the same nodes, and writing those gives the same text again;
// text that does not read must say where and why.

#include "TreeFileRoundTrip.h"
#include "base/Utf.h"
#include "model/TreeText.h"

#include <optional>
#include <string>
#include <string_view>

namespace lanthor::fuzzing {

namespace detail {

inline std::string allNodes(const TreeTable& table) {
    std::string text;
    table.nodeDictionary()->forEach([&text](const std::shared_ptr<Tree>& node) {
        text.append(nodeText(*node, true)).append("\n");
    });
    return text;
}

inline std::optional<std::string> roundTripProblem(std::u16string_view text, TreeTextFormat format,
                                                   bool indented) {
    const auto first = readTreeText(text, format);
    if (const auto* error = std::get_if<TreeTextError>(&first)) {
        if (error->line == 0 || error->column == 0 || error->message.empty()) {
            return "an error must have a line, a column and a message";
        }
        return std::nullopt;
    }
    const TreeTable& table = *std::get<std::shared_ptr<TreeTable>>(first);
    const std::u16string written = writeTreeText(table, format, indented);
    const auto second = readTreeText(written, format);
    if (const auto* error = std::get_if<TreeTextError>(&second)) {
        return "the written text does not read: " + error->message + "\n" + toUtf8(written);
    }
    const TreeTable& reread = *std::get<std::shared_ptr<TreeTable>>(second);
    if (allNodes(reread) != allNodes(table)) {
        return "the written text reads as other nodes:\n" + allNodes(table) + "----\n" +
               allNodes(reread);
    }
    if (writeTreeText(reread, format, indented) != written) {
        return "writing the reread nodes gives other text:\n" + toUtf8(written);
    }
    return std::nullopt;
}

} // namespace detail

/// Runs the round trip on `bytes` in both notations, brackets on one line and indented; what
/// went wrong, or nothing.
inline std::optional<std::string> treeTextRoundTripProblem(std::string_view bytes) {
    const std::u16string text = toUtf16(bytes);
    for (const bool indented : {false, true}) {
        if (auto problem = detail::roundTripProblem(text, TreeTextFormat::Brackets, indented)) {
            return "brackets: " + *problem;
        }
    }
    if (auto problem = detail::roundTripProblem(text, TreeTextFormat::Penn, false)) {
        return "Penn: " + *problem;
    }
    return std::nullopt;
}

} // namespace lanthor::fuzzing
