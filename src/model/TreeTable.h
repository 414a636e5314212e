#pragma once

#include "NodeArena.h"
#include "NodeDictionary.h"
#include "TreeCheck.h"
#include "TreeEdits.h"
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
    /// from its parent first. Terminates on cycles; costs time linear in the table. Returns what
    /// it took out, for `restore`; empty when nothing changed.
    SubtreeRemoval deleteNode(const std::optional<std::u16string>& number);
    /// Takes a deletion back: the nodes, the same objects, return to their places in iteration
    /// order and every children entry to its place, so that the table saves as before. The
    /// table must be as the deletion left it. Linear in the table.
    void restore(SubtreeRemoval removal);
    /// The first node in iteration order whose children list holds `number`, or null.
    std::shared_ptr<Tree> findParent(const std::optional<std::u16string>& number) const;

    /// True when `target` is `top`'s own number or the number of a node below `top`; ends on
    /// cycles and on children that name no node.
    bool isInSubtree(const Tree& top, std::u16string_view target) const;
    /// Moves the first entry of `number` in `parent`'s children one place to the right, the last
    /// one to the front. Returns the move when the order of the children changed.
    std::optional<ChildMove> moveRightAmongSiblings(Tree& parent, std::u16string_view number);
    /// Moves a node with its subtree: removes every entry of `number` from `parent`'s children and
    /// puts one into `newParent`'s as child number `index` of the list without them (past its
    /// end: last). The caller checks first that `newParent` is not in the subtree. Returns the
    /// move when the tree changed.
    std::optional<ChildMove> moveSubtree(std::u16string_view number, Tree& parent, Tree& newParent,
                                         std::size_t index = SIZE_MAX);
    /// Takes a move back, on the table as the move left it.
    void moveBack(const ChildMove& move);
    /// Makes a move again, on the table as it was before the move.
    void moveAgain(const ChildMove& move);

    /// A new table holding a copy of the tree below the node `top` (of every tree from the roots
    /// when none): the nodes a walk reaches, each once (as the tree text walk reaches them), in
    /// the order it reaches them, with their numbers, texts and flags, the first one a root;
    /// children entries that name no copied node are left out.
    std::shared_ptr<TreeTable> copyTrees(const std::optional<std::u16string>& top) const;
    /// Adds copies of `source`'s trees (the nodes its walk reaches, in that order) at the end of
    /// the iteration order, with their texts, flags and child order, each under a new number
    /// that no node and no children list of this table uses. Their tops become the last
    /// children of `parent`, or roots without one. Returns what was added; none when `source`
    /// has no trees or `parent` names no node.
    std::optional<NodeInsertion> insertTrees(const TreeTable& source,
                                             const std::optional<std::u16string>& parent);
    /// Takes back an insertion, or an addNode: the nodes go, their views let go, and the
    /// parent's list loses the entries appended for them. The table must be as the insertion
    /// left it.
    void takeBack(const NodeInsertion& insertion);

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
