// The document's commands on the attributes that draw figures: a roof over a node's children and
// movement arrows between nodes.

#include "FerrowLanthorDocument.h"
#include "base/Utf.h"
#include "model/NodeAttributes.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"

namespace lanthor {

bool FerrowLanthorDocument::changeAttributes(std::string name,
                                             const std::function<void(NodeAttributes&)>& change) {
    const std::optional<std::u16string> number = selectedNumber();
    const std::shared_ptr<Tree> node = number ? findNode(*number) : nullptr;
    if (!node) {
        return false;
    }
    NodeAttributes before = node->attributes();
    change(node->attributes());
    if (node->attributes() == before) {
        return false;
    }
    // A figure's change reaches past the node's own row: the whole tree is laid out again.
    redrawCanvas();
    const auto setAttributes = [this, number](const NodeAttributes& attributes) {
        findNode(*number)->attributes() = attributes;
        return number;
    };
    record({std::move(name),
            [setAttributes, before = std::move(before)] { return setAttributes(before); },
            [setAttributes, after = node->attributes()] { return setAttributes(after); }});
    return true;
}

void FerrowLanthorDocument::toggleRoof() {
    changeAttributes("Roof", [](NodeAttributes& attributes) {
        if (attributes.has(NodeAttributes::kRoof)) {
            attributes.remove(NodeAttributes::kRoof);
        } else {
            attributes.set(NodeAttributes::kRoof);
        }
    });
}

bool FerrowLanthorDocument::hasRoof() const {
    const std::optional<std::u16string> number = selectedNumber();
    const std::shared_ptr<Tree> node = number ? findNode(*number) : nullptr;
    return node && node->attributes().has(NodeAttributes::kRoof);
}

void FerrowLanthorDocument::addArrow() {
    if (!selectedNumber()) {
        return;
    }
    const std::optional<std::u16string> answer = inputAlert().run(u"Arrow to Node", u"");
    if (answer) {
        addArrow(*answer);
    }
}

bool FerrowLanthorDocument::addArrow(std::u16string_view target) {
    const std::optional<std::u16string> number = selectedNumber();
    if (!number) {
        return false;
    }
    if (!findNode(target)) {
        refuse("There is no node “" + toUtf8(target) + "” to draw an arrow to.");
        return false;
    }
    if (target == *number) {
        refuse("An arrow needs another node than the one it leaves.");
        return false;
    }
    return changeAttributes("Add Arrow", [target](NodeAttributes& attributes) {
        attributes.add(NodeAttributes::kArrow, target);
    });
}

void FerrowLanthorDocument::removeArrows() {
    changeAttributes("Remove Arrows",
                     [](NodeAttributes& attributes) { attributes.remove(NodeAttributes::kArrow); });
}

} // namespace lanthor
