#pragma once

#include "document/FerrowLanthorDocument.h"
#include "support/CanvasFixture.h"

namespace lanthor::test {

/// The canvas of CanvasFixture as the window of a document, wired as the window wires them
/// when it loads. Counts the canvas's requests for display, which every redraw makes, and the
/// document's edit notices.
class DocumentFixture : public CanvasFixture {
protected:
    void SetUp() override {
        CanvasFixture::SetUp();
        canvas->setDisplayRequest([this] { ++redraws; });
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.windowControllerDidLoadNib();
        table = document.treeTable();
    }
    /// Replaces the tree by the nodes of tree-file text, lays it out and forgets the counts.
    void load(std::u16string_view treeFile) {
        ASSERT_FALSE(table->loadTable(treeFile));
        canvas->drawAllNodes();
        log.take();
        redraws = editNotices = 0;
    }
    /// A press on the node's view, routed through the document as the host routes it.
    void click(std::u16string_view number, int clickCount = 1) {
        document.mouseDownOnNode(*view(number), MouseEvent{{1, 1}, clickCount});
    }

    FerrowLanthorDocument document;
    int redraws = 0;
    int editNotices = 0;
};

} // namespace lanthor::test
