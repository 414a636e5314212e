#pragma once

// The tree file's round trip, as a check that the fuzzer runs on arbitrary bytes and that the
// tests replay on the saved regression inputs: a file that loads must save to bytes that load
// again as the same nodes (a root's bold edge aside, which is not stored), and deleting every
// node afterwards must leave a consistent, empty map.

#include "base/Log.h"
#include "model/TreeTable.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace lanthor::fuzzing {

namespace detail {

class DiscardingLog final : public LogSink {
public:
    DiscardingLog() : previous_(setLogSink(this)) {}
    ~DiscardingLog() override { setLogSink(previous_); }
    void writeLine(std::string_view) override {}

private:
    LogSink* previous_;
};

inline std::string nodeText(const Tree& node, bool withHead) {
    std::string text = toUtf8(node.nodeNumber()) + " [";
    for (const std::u16string& child : node.childrenList()) {
        text.append(toUtf8(child)).append(" ");
    }
    text.append(node.realRoot() ? "] R " : "] ").append(withHead && node.head() ? "head " : "");
    text.append(toUtf8(node.nodeValue()));
    return text.append(" {").append(toUtf8(node.attributes().text())).append("}");
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Deletes nodes until none is left; what is wrong with the map on the way, or nothing.
inline std::optional<std::string> deleteEverything(TreeTable& table) {
    NodeDictionary& nodes = *table.nodeDictionary();
    while (!nodes.empty()) {
        std::u16string first;
        nodes.findFirst([&first](const Tree& node) {
            first = node.nodeNumber();
            return true;
        });
        const std::size_t before = nodes.size();
        table.deleteNode(first);
        if (nodes.size() >= before || nodes.contains(first)) {
            return "deleting " + toUtf8(first) + " did not remove it";
        }
        std::size_t counted = 0;
        std::optional<std::string> lost;
        nodes.forEach([&](const std::shared_ptr<Tree>& node) {
            ++counted;
            if (nodes.find(node->nodeNumber()) != node) {
                lost = "node " + toUtf8(node->nodeNumber()) + " cannot be found by its number";
            }
        });
        if (lost || counted != nodes.size()) {
            return lost.value_or("the map counts its nodes wrongly");
        }
    }
    return std::nullopt;
}

} // namespace detail

/// Runs the round trip on `bytes`, using two files in `folder`; what went wrong, or nothing.
inline std::optional<std::string> treeFileRoundTripProblem(std::string_view bytes,
                                                           const std::string& folder) {
    const detail::DiscardingLog quiet;
    const std::string input = folder + "/input.csv";
    const std::string saved = folder + "/saved.csv";
    std::ofstream(input, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());

    TreeTable first;
    if (const auto error = first.loadTableFromURL(input)) {
        if (error->message.empty() || first.nodeDictionary()) {
            return "a failed load must say why and leave the table without a map";
        }
        return std::nullopt;
    }
    const std::u16string text = first.saveTable();
    if (const auto error = first.saveTableToFile(saved)) {
        return "cannot save: " + *error;
    }
    if (detail::readFile(saved) != treeFileBytes(text)) {
        return "the saved file differs from the saved text's bytes";
    }
    TreeTable second;
    if (const auto error = second.loadTableFromURL(saved)) {
        return "the saved file does not load: " + error->describe();
    }
    std::string expected;
    first.nodeDictionary()->forEach([&expected](const std::shared_ptr<Tree>& node) {
        expected.append(detail::nodeText(*node, !node->realRoot())).append("\n");
    });
    std::string actual;
    second.nodeDictionary()->forEach([&actual](const std::shared_ptr<Tree>& node) {
        actual.append(detail::nodeText(*node, true)).append("\n");
    });
    if (actual != expected) {
        return "the saved file loads other nodes:\n" + expected + "----\n" + actual;
    }
    if (second.saveTable() != text) {
        return "saving the reloaded table gives other text";
    }
    return detail::deleteEverything(first);
}

} // namespace lanthor::fuzzing
