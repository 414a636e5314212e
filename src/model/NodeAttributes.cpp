#include "NodeAttributes.h"

#include "SpaceSeparated.h"

namespace lanthor {

namespace {

std::u16string_view nameOf(std::u16string_view item) {
    return item.substr(0, item.find(u'='));
}

/// The value of `name=value`, or none for an item without one.
std::optional<std::u16string_view> valueOf(std::u16string_view item) {
    const std::size_t equals = item.find(u'=');
    if (equals == std::u16string_view::npos) {
        return std::nullopt;
    }
    return item.substr(equals + 1);
}

} // namespace

NodeAttributes::NodeAttributes(std::u16string_view column) {
    bool hasItem = false;
    forEachSpaceSeparated(column, [&hasItem](std::u16string_view) { hasItem = true; });
    if (hasItem) {
        column_ = std::make_unique<std::u16string>(column);
    }
}

NodeAttributes::NodeAttributes(const NodeAttributes& other)
    : column_(other.column_ ? std::make_unique<std::u16string>(*other.column_) : nullptr) {}

NodeAttributes& NodeAttributes::operator=(const NodeAttributes& other) {
    if (this != &other) {
        column_ = other.column_ ? std::make_unique<std::u16string>(*other.column_) : nullptr;
    }
    return *this;
}

bool NodeAttributes::has(std::u16string_view name) const {
    bool found = false;
    forEachSpaceSeparated(text(),
                          [&](std::u16string_view item) { found = found || nameOf(item) == name; });
    return found;
}

std::vector<std::u16string> NodeAttributes::values(std::u16string_view name) const {
    std::vector<std::u16string> found;
    forEachSpaceSeparated(text(), [&](std::u16string_view item) {
        if (const auto value = valueOf(item); value && nameOf(item) == name) {
            found.emplace_back(*value);
        }
    });
    return found;
}

void NodeAttributes::set(std::u16string_view name) {
    if (has(name)) {
        return;
    }
    if (!column_) {
        column_ = std::make_unique<std::u16string>(name);
        return;
    }
    column_->append(u" ").append(name);
}

void NodeAttributes::add(std::u16string_view name, std::u16string_view value) {
    std::u16string item(name);
    item.append(u"=").append(value);
    bool present = false;
    forEachSpaceSeparated(
        text(), [&](std::u16string_view existing) { present = present || existing == item; });
    if (present) {
        return;
    }
    if (!column_) {
        column_ = std::make_unique<std::u16string>(std::move(item));
        return;
    }
    column_->append(u" ").append(item);
}

template <typename Keep> void NodeAttributes::keepItems(Keep keep) {
    bool removed = false;
    std::u16string kept;
    forEachSpaceSeparated(text(), [&](std::u16string_view item) {
        if (!keep(item)) {
            removed = true;
            return;
        }
        if (!kept.empty()) {
            kept += u' ';
        }
        kept += item;
    });
    if (!removed) {
        return;
    }
    column_ = kept.empty() ? nullptr : std::make_unique<std::u16string>(std::move(kept));
}

void NodeAttributes::renameValues(
    std::u16string_view name,
    const std::function<std::optional<std::u16string>(std::u16string_view)>& rename) {
    if (!column_) {
        return;
    }
    bool changed = false;
    std::u16string rewritten;
    forEachSpaceSeparated(*column_, [&](std::u16string_view item) {
        std::optional<std::u16string> kept(item);
        if (const auto value = valueOf(item); value && nameOf(item) == name) {
            const std::optional<std::u16string> renamed = rename(*value);
            changed = changed || renamed != *value;
            kept = renamed ? std::optional(std::u16string(name) + u"=" + *renamed) : std::nullopt;
        }
        if (kept) {
            rewritten.append(rewritten.empty() ? u"" : u" ").append(*kept);
        }
    });
    if (changed) {
        column_ =
            rewritten.empty() ? nullptr : std::make_unique<std::u16string>(std::move(rewritten));
    }
}

void NodeAttributes::remove(std::u16string_view name) {
    keepItems([name](std::u16string_view item) { return nameOf(item) != name; });
}

void NodeAttributes::remove(std::u16string_view name, std::u16string_view value) {
    keepItems([&](std::u16string_view item) {
        return nameOf(item) != name || valueOf(item) != std::optional(value);
    });
}

} // namespace lanthor
