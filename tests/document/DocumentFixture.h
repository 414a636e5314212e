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

/// Answers the input alert's questions from a queue while it exists: text for OK, none for
/// Cancel, and Cancel once the queue is empty. Records each question as "prompt | field text".
class ScriptedAlert final : public InputAlert {
public:
    ScriptedAlert() : previous_(setInputAlert(this)) {}
    ~ScriptedAlert() override { setInputAlert(previous_); }
    ScriptedAlert(const ScriptedAlert&) = delete;
    ScriptedAlert& operator=(const ScriptedAlert&) = delete;

    void ok(std::u16string text) { answers_.emplace_back(std::move(text)); }
    void cancel() { answers_.emplace_back(std::nullopt); }
    std::optional<std::u16string> run(std::u16string_view prompt,
                                      std::u16string_view fieldText) override {
        asked.push_back(toUtf8(prompt) + " | " + toUtf8(fieldText));
        std::optional<std::u16string> answer;
        if (!answers_.empty()) {
            answer = std::move(answers_.front());
            answers_.pop_front();
        }
        return answer;
    }

    Lines asked;

private:
    std::deque<std::optional<std::u16string>> answers_;
    InputAlert* previous_;
};

/// A document with its window's canvas, wired as the window wires them when it loads, on the
/// fixed-width text system. Counts the canvas's requests for display, which every redraw makes,
/// and the document's edit notices.
class DocumentFixture : public ::testing::Test {
protected:
    void SetUp() override {
        canvas->setDisplayRequest([this] { ++redraws; });
        document.setDocumentView(canvas);
        document.setEditedHandler([this] { ++editNotices; });
        document.windowControllerDidLoadNib();
    }
    /// Replaces the tree by the nodes of tree-file text, lays it out and forgets the counts.
    void load(std::u16string_view treeFile) {
        ASSERT_FALSE(document.treeTable()->loadTable(treeFile));
        canvas->drawAllNodes();
        resetCounts();
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
    void resetCounts() {
        log.take();
        redraws = 0;
        editNotices = 0;
    }

    LogCapture log;
    FixedWidthTextSystem text;
    ScriptedAlert alert;
    FerrowLanthorDocument document;
    std::shared_ptr<LanthorDocumentView> canvas =
        std::make_shared<LanthorDocumentView>(Rect{{0, 0}, {500, 400}}, text);
    int redraws = 0;
    int editNotices = 0;
};

} // namespace lanthor::test
