#pragma once

#include "canvas/LanthorConfiguration.h"
#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "model/TreeTable.h"
#include "platform/Alerts.h"
#include "support/FixedWidthTextSystem.h"
#include "support/GeometryPrinting.h"
#include "support/LogCapture.h"
#include "support/RecordingPainter.h"

#include <deque>
#include <gtest/gtest.h>

namespace lanthor::test {

using Lines = std::vector<std::string>;
using Strings = std::vector<std::u16string>;

/// A canvas over a table of tree-file text, measured in round numbers (10 per character plus the
/// 10.0 of every label, 18 high). Answers questions from `answers` (none: Cancel) into `asked`.
class CanvasFixture : public ::testing::Test, public InputAlert {
protected:
    void SetUp() override { previousAlert_ = setInputAlert(this); }
    void TearDown() override { setInputAlert(previousAlert_); }
    std::optional<std::u16string> run(std::u16string_view prompt,
                                      std::u16string_view field) override {
        asked.push_back(toUtf8(prompt) + " | " + toUtf8(field));
        answers.push_back(std::nullopt); // Cancel once the answers run out
        const std::optional<std::u16string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void load(std::u16string_view treeFile) {
        ASSERT_FALSE(table->loadTable(treeFile));
        canvas->setTreeTable(table);
        canvas->setMConfiguration(configuration);
        canvas->setUpdated(true);
    }
    /// One drawing pass; returns what it drew.
    RecordingPainter pass() {
        RecordingPainter painter;
        canvas->drawRect(painter);
        return painter;
    }
    std::shared_ptr<Tree> node(std::u16string_view number) const {
        return table->nodeDictionary()->find(number);
    }
    std::shared_ptr<LanthorNodeView> view(std::u16string_view number) const {
        return nodeViewOf(*node(number));
    }
    Rect frame(std::u16string_view number) const { return view(number)->frame(); }
    Strings children(std::u16string_view number) const { return node(number)->childrenList(); }

    LogCapture log;
    FixedWidthTextSystem text;
    std::shared_ptr<TreeTable> table = std::make_shared<TreeTable>();
    std::shared_ptr<LanthorConfiguration> configuration = std::make_shared<LanthorConfiguration>();
    std::shared_ptr<LanthorDocumentView> canvas =
        std::make_shared<LanthorDocumentView>(Rect{{0, 0}, {500, 400}}, text);
    std::deque<std::optional<std::u16string>> answers;
    Lines asked;

private:
    InputAlert* previousAlert_ = nullptr;
};

inline Rect rect(double x, double y, double width, double height) {
    return {{x, y}, {width, height}};
}

} // namespace lanthor::test
