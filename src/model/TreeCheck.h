#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lanthor {

class NodeDictionary;
class Tree;

/// The rows of a tree file as read, before they are stored: the nodes in row order with the
/// record number each came from, and the records that made no node.
struct ReadRows {
    /// Notes the node read from record `record`.
    void addNode(std::shared_ptr<Tree> node, std::uint64_t record) {
        nodes.push_back(std::move(node));
        recordOfNode.push_back(clampRecord(record));
    }
    void addShortRecord(std::uint64_t record) { shortRecords.push_back(clampRecord(record)); }
    static std::uint32_t clampRecord(std::uint64_t record) {
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(record, UINT32_MAX));
    }

    std::vector<std::shared_ptr<Tree>> nodes;
    std::vector<std::uint32_t> recordOfNode; ///< one per node (records past 2^32 - 1 read as that)
    /// Records of a single field that is not empty: too short to be a node. (A record of one
    /// empty field is a blank line, not worth a word.)
    std::vector<std::uint32_t> shortRecords;
};

/// Everything that keeps the stored nodes from being one tree, each as one line that names the
/// rows or nodes concerned, in this order: rows that will not be kept (too short, or a number
/// that a later row repeats), no root or several roots, children that name no node, nodes
/// listed more than once (twice by one parent, by two parents, or a root listed as a child),
/// cycles, and movement arrows to numbers that name no node. `dictionary` holds the nodes of `rows`
/// as stored. Linear in the nodes and their children; nothing when the file is one tree.
std::vector<std::string> findTreeProblems(ReadRows rows, const NodeDictionary& dictionary);

} // namespace lanthor
