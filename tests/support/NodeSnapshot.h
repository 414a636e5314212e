#pragma once

#include "base/Log.h"
#include "model/TreeTable.h"

#include <string>
#include <vector>

namespace lanthor::test {

/// One node as "number|children separated by /|flags|text", in UTF-8, for comparisons that
/// show both sides readably. Flags: h for head, R for realRoot.
inline std::string describeNode(const Tree& node) {
    std::string line = toUtf8(node.nodeNumber()) + "|";
    for (std::size_t i = 0; i < node.childrenList().size(); ++i) {
        line.append(i > 0 ? "/" : "").append(toUtf8(node.childrenList()[i]));
    }
    line.append("|").append(node.head() ? "h" : "").append(node.realRoot() ? "R" : "");
    return line.append("|").append(toUtf8(node.nodeValue()));
}

/// Every node of the table in iteration order; empty without a map.
inline std::vector<std::string> describeNodes(const TreeTable& table) {
    std::vector<std::string> lines;
    if (table.nodeDictionary()) {
        table.nodeDictionary()->forEach(
            [&lines](const std::shared_ptr<Tree>& node) { lines.push_back(describeNode(*node)); });
    }
    return lines;
}

} // namespace lanthor::test
