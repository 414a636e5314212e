#pragma once

#include <algorithm>
#include <cstddef>
#include <unordered_set>
#include <vector>

namespace lanthor {

class Tree;

/// The nodes on the path from a root down to the node being visited, to tell when a walk would
/// go round a cycle. Paths are short in most trees, where a scan is cheapest; a path that grows
/// long (a tree thousands of levels deep) is hashed as well, so each test stays cheap.
class PathSet {
public:
    /// Adds `node` at the end of the path.
    void push(const Tree* node) {
        path_.push_back(node);
        if (!hashed_.empty()) {
            hashed_.insert(node);
        } else if (path_.size() > kScanLimit) {
            hashed_.insert(path_.begin(), path_.end());
        }
    }
    /// Removes the node at the end of the path.
    void pop() {
        if (!hashed_.empty()) {
            hashed_.erase(path_.back());
        }
        path_.pop_back();
    }
    bool contains(const Tree* node) const {
        if (!hashed_.empty()) {
            return hashed_.contains(node);
        }
        return std::find(path_.begin(), path_.end(), node) != path_.end();
    }

private:
    static constexpr std::size_t kScanLimit = 32;
    std::vector<const Tree*> path_;
    std::unordered_set<const Tree*> hashed_;
};

} // namespace lanthor
