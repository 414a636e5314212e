#include "DocumentFixture.h"
#include "base/LeadingInteger.h"
#include "support/TempDir.h"

#include <limits>

namespace lanthor::test {

namespace {

constexpr std::u16string_view kTree = u"0,1 2,R,Top\n1,,1,\"A, quoted\"\n2,,0,<b>B</b>\n";

using Document = EditorFixture;

TEST_F(Document, ANewDocumentIsEmptyAndSavesAsTheMarkAlone) {
    EXPECT_EQ(document.treeTable()->nodeDictionary()->size(), 0u);
    EXPECT_EQ(document.dataOfType(), "\xFF\xFE");
    EXPECT_EQ(document.displayName(), u"Untitled");
    EXPECT_FALSE(document.isEdited());
    // The window shares the document's table and configuration.
    EXPECT_EQ(canvas->mTreeTable(), document.treeTable());
    EXPECT_EQ(canvas->mConfiguration(), document.mConfiguration());
    EXPECT_TRUE(canvas->updated());
}

TEST_F(Document, SavedAndReopenedGivesTheSameTreeAndDefaultSettings) {
    load(kTree);
    click(u"2");
    document.addNode();
    layout();
    alert.ok(u"x\"y,z");
    click(u"3");
    click(u"3", 2); // the second press of the double click edits
    document.toggleNodeNumber();
    alert.ok(u"90");
    document.changeHeight();

    TempDir dir;
    const std::string bytes = document.dataOfType();
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::string path = dir.write("tree.csv", bytes);

    FerrowLanthorDocument reopened;
    EXPECT_FALSE(reopened.readFromURL(path));
    EXPECT_EQ(reopened.treeTable()->saveTable(), document.treeTable()->saveTable());
    EXPECT_EQ(reopened.treeTable()->nodeDictionary()->find(u"3")->nodeValue(), u"x\"y,z");
    EXPECT_EQ(reopened.dataOfType(), bytes);
    EXPECT_FALSE(reopened.isEdited());

    // The display settings are not part of the file.
    reopened.windowControllerDidLoadNib();
    EXPECT_FALSE(reopened.mConfiguration()->showNodeNumber());
    EXPECT_EQ(reopened.mConfiguration()->height(), 60);
    EXPECT_EQ(reopened.mConfiguration()->font(), Font(u"Helvetica", 15.0));
}

TEST_F(Document, AFileThatDoesNotLoadKeepsTheOldTable) {
    load(kTree);
    const std::shared_ptr<TreeTable> before = document.treeTable();
    TempDir dir;
    const std::string open = dir.write("open.csv", "0,,R,\"never closed\n");
    log.take();
    const std::optional<TreeLoadError> failure = document.readFromURL(open);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->file, open);
    EXPECT_EQ(log.lines(), Lines{"error parsing file:"});
    EXPECT_TRUE(document.readFromURL(dir.file("missing.csv")));

    EXPECT_EQ(document.treeTable(), before);
    EXPECT_EQ(canvas->mTreeTable(), before);
    EXPECT_EQ(document.treeTable()->nodeDictionary()->size(), 3u);
}

TEST_F(Document, ReadingAfterTheWindowLoadedHandsTheCanvasTheNewTree) {
    load(kTree);
    click(u"1");
    const std::shared_ptr<LanthorNodeView> oldView = view(u"1");
    TempDir dir;
    resetCounts();
    EXPECT_FALSE(document.readFromURL(dir.write("other.csv", "5,,R,Other\n")));
    EXPECT_EQ(canvas->mTreeTable(), document.treeTable());
    EXPECT_EQ(canvas->selectedNode(), nullptr);
    EXPECT_EQ(oldView->canvas(), nullptr);
    EXPECT_EQ(canvas->subviewCount(), 0u);
    EXPECT_EQ(redraws, 1);
    layout();
    EXPECT_EQ(view(u"5")->textStorage().string(), u"Other");
    EXPECT_EQ(canvas->subviewCount(), 1u);
}

TEST_F(Document, IntegerQuestionTakesTheLeadingNumber) {
    alert.ok(u"12abc");
    alert.ok(u"");
    alert.cancel();
    alert.ok(u"  -7 points");
    alert.ok(u"abc12");
    EXPECT_EQ(document.input(u"How many?", 5), 12);
    EXPECT_EQ(document.input(u"How many?", 5), 0);
    EXPECT_EQ(document.input(u"How many?", -3), -3);
    EXPECT_EQ(document.input(u"How many?", 5), -7);
    EXPECT_EQ(document.input(u"How many?", 5), 0);
    EXPECT_EQ(alert.asked[0], "How many? | 5");
    EXPECT_EQ(alert.asked[2], "How many? | -3");

    EXPECT_EQ(leadingInteger(u"+42"), 42);
    EXPECT_EQ(leadingInteger(u"\t\n 8"), 8);
    EXPECT_EQ(leadingInteger(u"- 8"), 0);
    EXPECT_EQ(leadingInteger(u"9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(leadingInteger(u"9223372036854775808"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(leadingInteger(u"99999999999999999999999x"),
              std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(leadingInteger(u"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(leadingInteger(u"-99999999999999999999"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(leadingInteger(u"\uFF11"), 0); // a full-width digit is not a decimal digit here
}

TEST_F(Document, WithoutAnAlertEveryQuestionIsCancelled) {
    InputAlert* scripted = setInputAlert(nullptr);
    EXPECT_EQ(scripted, &alert);
    EXPECT_EQ(document.input(u"How many?", 4), 4);
    EXPECT_EQ(setInputAlert(scripted), nullptr);
}

TEST_F(Document, OnlyCommandsThatChangeSomethingMarkTheDocumentEdited) {
    load(kTree);
    resetCounts();
    document.deleteTree(); // nothing selected
    document.swapNode();
    document.changeParent();
    document.editNode();
    document.toogleLineWidth();
    document.addNode(); // the tree has nodes already
    alert.ok(u"60");
    document.changeHeight();
    document.changeFont([](const Font& font) { return font; });
    EXPECT_FALSE(document.isEdited());
    EXPECT_EQ(editNotices, 0);
    EXPECT_EQ(redraws, 8);

    document.toggleNodeNumber();
    EXPECT_TRUE(document.isEdited());
    EXPECT_EQ(editNotices, 1);
    EXPECT_TRUE(canvas->mConfiguration()->showNodeNumber());
    document.setEdited(false);
    EXPECT_FALSE(document.isEdited());
}

TEST_F(Document, CommandsWithoutAWindowChangeNothingAndDrawNothing) {
    FerrowLanthorDocument alone;
    int notices = 0;
    alone.setEditedHandler([&notices] { ++notices; });
    alone.toggleNodeNumber();
    alone.addNode();
    alone.changeHeight();
    alone.changeFont([](const Font&) { return Font(u"Courier", 9); });
    EXPECT_EQ(alone.exportImage([](LanthorDocumentView&, const std::string&) {
        return std::optional<std::string>();
    }),
              "There is no picture to export: the document has no window.");
    EXPECT_EQ(alone.treeTable()->nodeDictionary()->size(), 0u);
    EXPECT_EQ(notices, 0);
    EXPECT_TRUE(alert.asked.empty());
}

} // namespace

} // namespace lanthor::test
