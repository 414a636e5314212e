#include "EditorTestSupport.h"
#include "canvas/LanthorDocumentView.h"
#include "document/FerrowLanthorDocument.h"
#include "editor/CanvasWidget.h"
#include "editor/DocumentWindow.h"
#include "model/Tree.h"
#include "model/TreeTable.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <cmath>
#include <filesystem>

namespace lanthor::test {

namespace {

void trigger(const DocumentWindow& window, const char* name) {
    QAction* action = window.action(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

QString qPath(const std::string& path) {
    return QString::fromStdString(path);
}

/// The picture's size as the export makes it: the whole drawing, one point to a pixel.
QSize drawingSize(const LanthorDocumentView& canvas) {
    const Rect extent = canvas.drawingBounds();
    return {static_cast<int>(std::ceil(extent.maxX()) - std::floor(extent.minX())),
            static_cast<int>(std::ceil(extent.maxY()) - std::floor(extent.minY()))};
}

/// Waits, while handling events, until `path` exists; false after five seconds.
bool waitForFile(const QString& path) {
    QElapsedTimer clock;
    clock.start();
    while (!QFileInfo::exists(path) && clock.elapsed() < 5000) {
        QTest::qWait(50);
    }
    return QFileInfo::exists(path);
}

} // namespace

TEST_F(EditorTest, ASavedDocumentReopensWithTheSameTree) {
    const std::string file = exampleCopy();
    DocumentWindow* window = session->openDocument(qPath(file));
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"16");
    trigger(*window, "addNodeAction");
    trigger(*window, "boldEdgeAction");
    answerInputAlert(QStringLiteral("mat, <i>rug</i> & \"floor\""));
    trigger(*window, "editNodeAction");
    const std::u16string edited = treeText(*window);
    EXPECT_EQ(window->document().treeTable()->nodeDictionary()->find(u"16")->nodeValue(),
              u"mat, <i>rug</i> & \"floor\"");

    trigger(*window, "saveAction");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_FALSE(window->document().isEdited());
    EXPECT_EQ(readFile(file), window->document().dataOfType());
    EXPECT_TRUE(window->close()); // nothing to ask

    DocumentWindow* reopened = session->openDocument(qPath(file));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(treeText(*reopened), edited);
    EXPECT_FALSE(reopened->isWindowModified());

    // An untitled document asks where to go, then takes that file's name.
    DocumentWindow* untitled = session->newDocument();
    EXPECT_EQ(untitled->windowTitle(), QStringLiteral("Untitled[*] — lanthor_tests"));
    trigger(*untitled, "addNodeAction");
    user.paths.push_back(qPath(dir.file("new tree.csv")));
    trigger(*untitled, "saveAction");
    EXPECT_EQ(user.asked.last(), "save as: " + QDir::home().filePath("Untitled.csv"));
    EXPECT_EQ(untitled->windowTitle(), QStringLiteral("new tree[*] — lanthor_tests"));
    EXPECT_EQ(untitled->filePath(), QFileInfo(qPath(dir.file("new tree.csv"))).canonicalFilePath());
    EXPECT_EQ(session->recentFiles().paths(),
              (QStringList{untitled->filePath(), QFileInfo(qPath(file)).canonicalFilePath()}));
    EXPECT_EQ(readFile(dir.file("new tree.csv")), untitled->document().dataOfType());
    EXPECT_EQ(user.errors, QStringList());
}

TEST_F(EditorTest, ClosingOrQuittingWithUnsavedEditsAsksFirst) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = session->openDocument(qPath(file));
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");
    trigger(*window, "addNodeAction");
    const std::u16string edited = treeText(*window);

    user.saveAnswers = {SaveChangesAnswer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{window});
    user.saveAnswers = {SaveChangesAnswer::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{});
    EXPECT_EQ(readFile(file), original);

    window = session->openDocument(qPath(file));
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"1");
    trigger(*window, "addNodeAction");
    user.saveAnswers = {SaveChangesAnswer::Save};
    EXPECT_TRUE(window->close());
    ASSERT_NE(session->openDocument(qPath(file)), nullptr);
    EXPECT_EQ(treeText(*session->windows().front()), edited);

    // Quitting stops at the first window whose edits the user will not let go.
    DocumentWindow* second = session->newDocument();
    trigger(*second, "addNodeAction");
    DocumentWindow* third = session->newDocument();
    trigger(*third, "addNodeAction");
    user.saveAnswers = {SaveChangesAnswer::Cancel};
    EXPECT_FALSE(session->closeAll());
    EXPECT_EQ(session->windows(), (std::vector<DocumentWindow*>{second, third}));
    EXPECT_EQ(user.asked.last(), QStringLiteral("save changes: Untitled"));
    user.saveAnswers = {SaveChangesAnswer::Discard, SaveChangesAnswer::Discard};
    EXPECT_TRUE(session->closeAll());
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{});
}

TEST_F(EditorTest, AFileThatCannotBeReadOpensNothingAndSaysWhy) {
    const std::string broken = dir.write("broken.csv", "0,1,R,\"open quote\n1,,0,x\n");
    EXPECT_EQ(session->openDocument(qPath(broken)), nullptr);
    EXPECT_EQ(session->openDocument(qPath(dir.file("missing.csv"))), nullptr);
    EXPECT_EQ(session->windows(), std::vector<DocumentWindow*>{});
    EXPECT_EQ(user.errors,
              (QStringList{"The document “broken.csv” could not be opened. | " + qPath(broken) +
                               ": a quoted field in record 1 is never closed",
                           "The document “missing.csv” could not be opened. | " +
                               qPath(dir.file("missing.csv")) +
                               ": cannot be read (No such file or directory)"}));
    EXPECT_EQ(readFile(broken), "0,1,R,\"open quote\n1,,0,x\n");
}

TEST_F(EditorTest, ExportWritesTheWholeDrawing) {
    DocumentWindow* window = session->openDocument(qPath(exampleCopy()));
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"2"); // a selected node is exported with its gray background
    const LanthorDocumentView& canvas = window->canvasWidget().canvas();

    trigger(*window, "exportAction");
    const QImage jpeg(qPath(dir.file("Desktop/syntax-tree.jpg")), "JPEG");
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_EQ(jpeg.size(), drawingSize(canvas));
    // The edges are in the picture: the middle of the bold edge from S to VP is dark.
    canvas.forEachEdge([&](const LanthorDocumentView::Edge& edge) {
        if (edge.child.nodeNumber() == u"2") {
            const QPoint middle(static_cast<int>((edge.from.x + edge.to.x) / 2),
                                static_cast<int>((edge.from.y + edge.to.y) / 2));
            EXPECT_LT(qGray(jpeg.pixel(middle)), 128);
        }
    });

    user.paths.push_back(qPath(dir.file("picture.png")));
    trigger(*window, "exportAsAction");
    const QImage png(qPath(dir.file("picture.png")), "PNG");
    EXPECT_EQ(png.size(), drawingSize(canvas));
    EXPECT_EQ(user.errors, QStringList());

    // A failure is shown: here the Desktop is a file, so the folder cannot be made.
    std::filesystem::remove_all(dir.path() / "Desktop");
    dir.write("Desktop", "not a folder");
    trigger(*window, "exportAction");
    ASSERT_EQ(user.errors.size(), 1);
    EXPECT_TRUE(user.errors[0].startsWith("The picture could not be exported. | Cannot create "
                                          "the folder " +
                                          qPath(dir.file("Desktop"))))
        << user.errors[0].toStdString();
    user.paths.push_back(qPath(dir.file("picture.gif")));
    trigger(*window, "exportAsAction");
    EXPECT_EQ(user.errors.last(), "The picture could not be exported. | " +
                                      qPath(dir.file("picture.gif")) +
                                      ": the name must end in .jpg, .jpeg, .png, .svg or .pdf");
}

TEST_F(EditorTest, EditsAreCopiedForRecoveryAndOfferedBackAfterACrash) {
    const std::string file = exampleCopy();
    const std::string original = readFile(file);
    DocumentWindow* window = session->openDocument(qPath(file));
    ASSERT_NE(window, nullptr);
    clickNode(*window, u"12");
    answerInputAlert(QStringLiteral("under"));
    trigger(*window, "editNodeAction");
    const std::u16string edited = treeText(*window);

    const QString copy = paths().recoveryDirectory + "/" + window->recoveryKey() + ".csv";
    ASSERT_TRUE(waitForFile(copy)); // about two seconds after the edit
    EXPECT_EQ(readFile(copy.toStdString()), window->document().dataOfType());
    EXPECT_EQ(readFile(file), original);

    // The editor ends without closing its window, as when it is killed: the copy stays.
    session = startSession();
    EXPECT_TRUE(QFileInfo::exists(copy));
    user.restoreAnswers = {true};
    window = session->openDocument(qPath(file));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(user.asked, QStringList{"restore: syntax-tree"});
    EXPECT_EQ(treeText(*window), edited);
    EXPECT_TRUE(window->isWindowModified());

    // Discarding the edits on close removes the copy; the file opens as it was.
    user.saveAnswers = {SaveChangesAnswer::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(QFileInfo::exists(copy));
    window = session->openDocument(qPath(file));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(readFile(file), original);
    EXPECT_EQ(user.asked.size(), 2); // the restore question and the save question only
}

} // namespace lanthor::test
