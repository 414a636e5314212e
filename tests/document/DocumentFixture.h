#pragma once

#include "document/FerrowLanthorDocument.h"
#include "platform/Alerts.h"
#include "support/CanvasFixture.h"

#include <deque>

namespace lanthor::test {

using Strings = std::vector<std::u16string>;

/// The canvas of CanvasFixture as the window of a document, wired as the window wires them
/// when it loads. Counts the canvas's requests for display, which every redraw makes, and the
/// document's edit notices. Answers the input alert's questions from `answers` (text for OK,
/// none for Cancel; Cancel once they run out) and records each as "prompt | field".
class DocumentFixture : public CanvasFixture, public InputAlert {
protected:
    void SetUp() override {
        previousAlert_ = setInputAlert(this);
        canvas->setDisplayRequest([this] { ++redraws; });
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.windowControllerDidLoadNib();
        table = document.treeTable();
    }
    void TearDown() override { setInputAlert(previousAlert_); }
    std::optional<std::u16string> run(std::u16string_view prompt,
                                      std::u16string_view field) override {
        asked.push_back(toUtf8(prompt) + " | " + toUtf8(field));
        std::optional<std::u16string> answer;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        return answer;
    }
    /// Replaces the tree by the nodes of tree-file text, lays it out and forgets the counts.
    void load(std::u16string_view treeFile) {
        ASSERT_FALSE(table->loadTable(treeFile));
        canvas->drawAllNodes();
        log.take();
        redraws = editNotices = 0;
    }
    Strings children(std::u16string_view number) const { return node(number)->childrenList(); }
    /// A press on the node's view, routed through the document as the host routes it.
    void click(std::u16string_view number, int clickCount = 1) {
        document.mouseDownOnNode(*view(number), MouseEvent{{1, 1}, clickCount});
    }

    FerrowLanthorDocument document;
    std::deque<std::optional<std::u16string>> answers;
    Lines asked;
    int redraws = 0;
    int editNotices = 0;

private:
    InputAlert* previousAlert_ = nullptr;
};

} // namespace lanthor::test
