#pragma once

#include "ScriptedAlert.h"
#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "support/FixedWidthTextSystem.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace lanthor::test {

/// A document with its window's canvas, wired as the window wires them when it loads, on the
/// fixed-width text system. Counts the canvas's requests for display, which every
/// redraw makes, and the document's edit notices; questions are answered by `alert`.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        canvas = std::make_shared<LanthorDocumentView>(Rect{{0, 0}, {500, 400}}, text);
        canvas->setDisplayRequest([this] { ++redraws; });
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.windowControllerDidLoadNib();
    }

    /// Replaces the tree by the nodes of tree-file text and lays it out once.
    void load(std::u16string_view treeFile) {
        ASSERT_FALSE(document.treeTable()->loadTable(treeFile));
        layout();
    }
    /// The layout pass, which gives every node reachable from a root its view.
    void layout() { canvas->drawAllNodes(); }

    std::shared_ptr<Tree> node(std::u16string_view number) const {
        return document.treeTable()->nodeDictionary()->find(number);
    }
    std::shared_ptr<LanthorNodeView> view(std::u16string_view number) const {
        return nodeViewOf(*node(number));
    }
    std::vector<std::u16string> children(std::u16string_view number) const {
        return node(number)->childrenList();
    }
    /// A single press on the node's view, routed through the document as the host routes it.
    void click(std::u16string_view number, int clickCount = 1) {
        document.mouseDownOnNode(*view(number), MouseEvent{{1, 1}, clickCount});
    }
    /// Clears what the set-up logged and counted.
    void resetCounts() {
        log.take();
        redraws = 0;
        editNotices = 0;
    }

    LogCapture log;
    FixedWidthTextSystem text;
    ScriptedAlert alert;
    FerrowLanthorDocument document;
    std::shared_ptr<LanthorDocumentView> canvas;
    int redraws = 0;
    int editNotices = 0;
};

using Strings = std::vector<std::u16string>;
using Lines = std::vector<std::string>;

} // namespace lanthor::test
