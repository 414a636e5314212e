#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lanthor {

/// A node's attributes, the tree file's optional fifth column: items separated by spaces, each
/// `name` or `name=value` (for example "roof arrow=12"). The column is kept as it was read, so
/// that items this program does not know are written back unchanged; only a change rewrites it,
/// one space between items, in their order. A node without attributes costs one pointer, which
/// matters for trees of a million nodes.
class NodeAttributes {
public:
    /// The node draws one triangle over its children instead of an edge to each.
    static constexpr std::u16string_view kRoof = u"roof";
    /// `arrow=N`: a movement arrow from the node to node N.
    static constexpr std::u16string_view kArrow = u"arrow";

    NodeAttributes() = default;
    /// The column as read; one without items (empty or only spaces) holds no attributes.
    explicit NodeAttributes(std::u16string_view column);
    NodeAttributes(const NodeAttributes& other);
    NodeAttributes& operator=(const NodeAttributes& other);
    NodeAttributes(NodeAttributes&&) noexcept = default;
    NodeAttributes& operator=(NodeAttributes&&) noexcept = default;

    bool empty() const { return !column_; }
    /// The column as written: empty when there are no attributes.
    std::u16string_view text() const { return column_ ? *column_ : std::u16string_view(); }

    /// True when an item is `name` or `name=...`.
    bool has(std::u16string_view name) const;
    /// The values of the items `name=value`, in order.
    std::vector<std::u16string> values(std::u16string_view name) const;

    /// Adds the item `name` (without a value) unless one is there.
    void set(std::u16string_view name);
    /// Adds the item `name=value` after the others, unless that very item is there.
    void add(std::u16string_view name, std::u16string_view value);
    /// Removes every item `name` and `name=...`.
    void remove(std::u16string_view name);
    /// Removes the items `name=value`.
    void remove(std::u16string_view name, std::u16string_view value);

    /// Rewrites the value of every item `name=value` to what `rename` gives for it, in place, or
    /// removes the item when it gives none: how a copy keeps its arrows among its own nodes.
    void
    renameValues(std::u16string_view name,
                 const std::function<std::optional<std::u16string>(std::u16string_view)>& rename);

    friend bool operator==(const NodeAttributes& a, const NodeAttributes& b) {
        return a.text() == b.text();
    }

private:
    /// Keeps the items for which `keep` is true; rewrites the column only when one goes.
    template <typename Keep> void keepItems(Keep keep);

    std::unique_ptr<std::u16string> column_;
};

} // namespace lanthor
