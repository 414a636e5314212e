#pragma once

#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"
#include "support/FixedWidthTextSystem.h"
#include "support/LogCapture.h"

#include <deque>
#include <gtest/gtest.h>

namespace lanthor::test {

using Strings = std::vector<std::u16string>;
using Lines = std::vector<std::string>;

/// A document with its window's canvas, wired as the window wires them when it loads, on the
/// fixed-width text system. Counts the canvas's requests for display, which every redraw makes,
/// and the document's edit notices. Answers the input alert's questions from `answers` (text
/// for OK, none for Cancel; Cancel once they run out) and records each as "prompt | field".
class DocumentFixture : public ::testing::Test, public InputAlert {
protected:
    void SetUp() override {
        previousAlert_ = setInputAlert(this);
        canvas->setDisplayRequest([this] { ++redraws; });
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.windowControllerDidLoadNib();
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
        ASSERT_FALSE(document.treeTable()->loadTable(treeFile));
        canvas->drawAllNodes();
        log.take();
        redraws = editNotices = 0;
    }
    std::shared_ptr<Tree> node(std::u16string_view number) const {
        return document.treeTable()->nodeDictionary()->find(number);
    }
    std::shared_ptr<LanthorNodeView> view(std::u16string_view number) const {
        return nodeViewOf(*node(number));
    }
    Strings children(std::u16string_view number) const { return node(number)->childrenList(); }
    /// A press on the node's view, routed through the document as the host routes it.
    void click(std::u16string_view number, int clickCount = 1) {
        document.mouseDownOnNode(*view(number), MouseEvent{{1, 1}, clickCount});
    }

    LogCapture log;
    FixedWidthTextSystem text;
    FerrowLanthorDocument document;
    std::shared_ptr<LanthorDocumentView> canvas =
        std::make_shared<LanthorDocumentView>(Rect{{0, 0}, {500, 400}}, text);
    std::deque<std::optional<std::u16string>> answers;
    Lines asked;
    int redraws = 0;
    int editNotices = 0;

private:
    InputAlert* previousAlert_ = nullptr;
};

} // namespace lanthor::test
