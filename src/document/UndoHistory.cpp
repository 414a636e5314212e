#include "UndoHistory.h"

namespace lanthor {

void UndoHistory::add(Step step) {
    if (cleanPosition_ && *cleanPosition_ > position_) {
        cleanPosition_.reset(); // the state it marked can no longer be reached
    }
    steps_.resize(position_);
    steps_.push_back(std::move(step));
    ++position_;
}

std::string UndoHistory::undoName() const {
    return canUndo() ? steps_[position_ - 1].name : std::string();
}

std::string UndoHistory::redoName() const {
    return canRedo() ? steps_[position_].name : std::string();
}

std::optional<std::u16string> UndoHistory::undo() {
    if (!canUndo()) {
        return std::nullopt;
    }
    --position_;
    return steps_[position_].undo();
}

std::optional<std::u16string> UndoHistory::redo() {
    if (!canRedo()) {
        return std::nullopt;
    }
    return steps_[position_++].redo();
}

void UndoHistory::clear() {
    steps_.clear();
    position_ = 0;
    cleanPosition_ = 0;
}

} // namespace lanthor
