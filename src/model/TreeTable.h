#pragma once

#include "NodeArena.h"
#include "NodeDictionary.h"
#include "TreeCheck.h"
#include "csv/CsvAggregator.h"

#include <memory>
#include <optional>
#include <string>

namespace lanthor {

class CsvOutputStream;

/// Why a tree file could not be loaded, and where.
struct TreeLoadError {
    std::string file;    ///< the file's path, or empty for text held in memory
    std::string message; ///< what went wrong and where (record or byte offset)

    /// One line: "<file>: <message>".
    std::string describe() const;
};

/// Every node of one document, keyed by node number, with the operations that change the tree's
/// shape and the loading and saving of the tree file. Parent links are the children lists of the
/// nodes; roots are the nodes marked as roots; a parent is found by searching.
class TreeTable {
public:
    /// The map, or null before the first successful load.
    NodeDictionary* nodeDictionary() { return nodeDictionary_.get(); }
    const NodeDictionary* nodeDictionary() const { return nodeDictionary_.get(); }
    void setNodeDictionary(std::unique_ptr<NodeDictionary> dictionary) {
        nodeDictionary_ = std::move(dictionary);
    }

    /// Replaces the map by one node per row of at least two fields (shorter rows padded with
    /// empty fields), the later of two rows with the same number winning. With no rows, logs
    /// "error parsing file:" and keeps the map.
    void loadTableFromArray(const std::optional<CsvRows>& rows);
    /// What kept the rows last loaded from being one tree, one line each (findTreeProblems):
    /// empty for a file that is one tree.
    const std::vector<std::string>& loadWarnings() const { return loadWarnings_; }
    /// Stores the nodes read from a tree file's rows as the new map and checks them.
    void adoptRows(ReadRows rows);
    /// The smallest decimal at or above the node count that is not yet a key.
    std::u16string nextNodeNumber() const;
    /// Adds a last child with `text` under `parentNumber`, or a root when the table is empty.
    void addNode(const std::optional<std::u16string>& parentNumber, const std::u16string& text);
    /// Deletes the node and everything below it, children before their parent, unlinking it
    /// from its parent first. Terminates on cycles; costs time linear in the table.
    void deleteNode(const std::optional<std::u16string>& number);
    /// The first node in iteration order whose children list holds `number`, or null.
    std::shared_ptr<Tree> findParent(const std::optional<std::u16string>& number) const;

    /// True when `target` is `top`'s own number or the number of a node below `top`; ends on
    /// cycles and on children that name no node.
    bool isInSubtree(const Tree& top, std::u16string_view target) const;
    /// Moves the first entry of `number` in `parent`'s children one place to the right, the last
    /// one to the front. Returns true when the order of the children changed.
    bool moveRightAmongSiblings(Tree& parent, std::u16string_view number);
    /// Moves a node with its subtree: removes every entry of `number` from `parent`'s children and
    /// appends one to `newParent`'s. The caller checks first that `newParent` is not in the
    /// subtree. Returns true when the tree changed.
    bool moveSubtree(std::u16string_view number, Tree& parent, Tree& newParent);

    /// Loads a tree file (comma-separated, encoding detected, quoted fields unquoted). A file
    /// that cannot be read, does not parse, or whose text ends before its bytes do leaves the
    /// table as it was, logs "error parsing file:" and returns why.
    std::optional<TreeLoadError> loadTableFromURL(const std::string& path);
    /// Loads tree-file text held in memory, with the same rules.
    std::optional<TreeLoadError> loadTable(std::u16string_view text);
    /// The whole tree file as text: one row per node in iteration order, each ended by a line
    /// feed.
    std::u16string saveTable() const;
    /// Replaces the file at `path` with the tree file's bytes, those of treeFileBytes(saveTable()),
    /// streamed and never half written (AtomicFile). The reason when it failed.
    std::optional<std::string> saveTableToFile(const std::string& path) const;

private:
    void writeRows(std::shared_ptr<CsvOutputStream> stream) const;

    std::unique_ptr<NodeDictionary> nodeDictionary_;
    std::vector<std::string> loadWarnings_;
    std::shared_ptr<NodeArena> arena_ = std::make_shared<NodeArena>(); ///< the nodes' memory
};

/// The bytes of a tree file as saved: the mark FF FE, then UTF-16 little-endian code units.
std::string treeFileBytes(std::u16string_view text);

} // namespace lanthor
