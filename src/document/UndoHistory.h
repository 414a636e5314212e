#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lanthor {

/// The changes made to a document, for undo and redo: the steps in the order they were done and
/// a position among them (the steps before it are done, those from it on are undone). Its depth
/// is not limited; a new step drops the undone ones. It also remembers the position at which
/// the document last matched its file, the clean point.
class UndoHistory {
public:
    /// Takes a change back or makes it again, and names the node to select afterwards, if any.
    using Action = std::function<std::optional<std::u16string>()>;
    struct Step {
        std::string name; ///< the command's, as its menu names it: "Delete Tree"
        Action undo;
        Action redo;
    };

    /// Adds a step that was just done; the undone steps go, the clean point with them.
    void add(Step step);
    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < steps_.size(); }
    /// The name of the step that undo would take back; empty when there is none.
    std::string undoName() const;
    /// The name of the step that redo would make again; empty when there is none.
    std::string redoName() const;
    /// Takes the last done step back, when there is one; returns what its undo named.
    std::optional<std::u16string> undo();
    /// Makes the first undone step again, when there is one; returns what its redo named.
    std::optional<std::u16string> redo();

    /// The document matches its file at the present position.
    void markClean() { cleanPosition_ = position_; }
    /// True at the clean point; never once that was dropped.
    bool isClean() const { return cleanPosition_ == position_; }
    /// Forgets every step; the empty history is clean.
    void clear();

private:
    std::vector<Step> steps_;
    std::size_t position_ = 0;
    std::optional<std::size_t> cleanPosition_ = 0;
};

} // namespace lanthor
