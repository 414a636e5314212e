#include "EditorTestSupport.h"

#include "canvas/LanthorDocumentView.h"
#include "canvas/LanthorNodeView.h"
#include "document/FerrowLanthorDocument.h"
#include "editor/CanvasWidget.h"
#include "editor/DocumentWindow.h"
#include "model/Tree.h"
#include "model/TreeTable.h"
#include "qtgui/GuiSession.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdlib>

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *out << (i == 0 ? "" : ", ");
        PrintTo(texts[i], out);
    }
    *out << '}';
}

namespace lanthor::test {

namespace {

QString describeFont(const Font& font) {
    return QStringLiteral("%1 %2")
        .arg(QString::fromStdU16String(font.family()))
        .arg(font.pointSize());
}

template <typename T> std::optional<T> next(std::deque<T>& answers, const QString& question) {
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question.toStdString();
        return std::nullopt;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

EditorPrompts ScriptedPrompts::prompts() {
    EditorPrompts scripted;
    scripted.askSaveChanges = [this](QWidget*, const QString& name) {
        const QString question = QStringLiteral("save changes: ") + name;
        asked << question;
        return next(saveAnswers, question).value_or(SaveChangesAnswer::Cancel);
    };
    scripted.askRestoreRecovery = [this](QWidget*, const QString& name, const QString&) {
        const QString question = QStringLiteral("restore: ") + name;
        asked << question;
        return next(restoreAnswers, question).value_or(false);
    };
    scripted.showError = [this](QWidget*, const QString& text, const QString& reason) {
        errors << text + QStringLiteral(" | ") + reason;
    };
    scripted.chooseOpenPath = [this](QWidget*) {
        asked << QStringLiteral("open");
        return next(paths, QStringLiteral("open")).value_or(QString());
    };
    scripted.chooseSavePath = [this](QWidget*, const QString& suggested) {
        const QString question = QStringLiteral("save as: ") + suggested;
        asked << question;
        return next(paths, question).value_or(QString());
    };
    scripted.chooseExportPath = [this](QWidget*, const QString& suggested) {
        const QString question = QStringLiteral("export as: ") + suggested;
        asked << question;
        return next(paths, question).value_or(QString());
    };
    scripted.chooseFont = [this](QWidget*, const Font& current) {
        const QString question = QStringLiteral("font: ") + describeFont(current);
        asked << question;
        return next(fonts, question).value_or(std::nullopt);
    };
    return scripted;
}

void EditorTest::SetUpTestSuite() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "lanthor_tests";
        static char* argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        application_ = new QApplication(argc, argv);
    }
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr)
        << "the editor's windows need a QApplication";
    gui_ = new GuiSession;
}

void EditorTest::TearDownTestSuite() {
    delete gui_;
    gui_ = nullptr;
    delete application_;
    application_ = nullptr;
}

void EditorTest::SetUp() {
    // Exports go to the Desktop of the home directory: the test's folder.
    ::setenv("HOME", dir.path().c_str(), 1);
    session = startSession();
}

void EditorTest::TearDown() {
    session.reset();
    EXPECT_TRUE(user.saveAnswers.empty()) << "a close did not ask about unsaved edits";
    EXPECT_TRUE(user.restoreAnswers.empty()) << "no recovery copy was offered";
    EXPECT_TRUE(user.paths.empty()) << "a file was not asked for";
    EXPECT_TRUE(user.fonts.empty()) << "the font was not asked for";
}

std::string EditorTest::exampleCopy(const std::string& name) const {
    return dir.write(name, readFile(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv"));
}

EditorPaths EditorTest::paths() const {
    const QString root = QString::fromStdString(dir.path().string());
    // Where the editor keeps them with XDG_DATA_HOME and XDG_CONFIG_HOME in the test's folder.
    return {root + QStringLiteral("/data/lanthor/recovery"),
            root + QStringLiteral("/config/lanthor/recent-files.ini")};
}

std::unique_ptr<EditorSession> EditorTest::startSession() {
    return std::make_unique<EditorSession>(gui_->textSystem(), user.prompts(), paths());
}

std::shared_ptr<LanthorNodeView> nodeView(const DocumentWindow& window,
                                          std::u16string_view number) {
    window.canvasWidget().displayIfNeeded();
    const NodeDictionary* nodes = window.document().treeTable()->nodeDictionary();
    const std::shared_ptr<Tree> node = nodes ? nodes->find(number) : nullptr;
    return node ? nodeViewOf(*node) : nullptr;
}

void clickNode(const DocumentWindow& window, std::u16string_view number, bool twice) {
    const std::shared_ptr<LanthorNodeView> view = nodeView(window, number);
    ASSERT_NE(view, nullptr);
    const Rect frame = view->frame();
    CanvasWidget& canvas = window.canvasWidget();
    const QPoint centre = canvas
                              .widgetPoint({frame.origin.x + frame.size.width / 2,
                                            frame.origin.y + frame.size.height / 2})
                              .toPoint();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, centre);
    if (twice) {
        // After the first click, the second press of a double click arrives as such.
        QTest::mouseDClick(&canvas, Qt::LeftButton, {}, centre);
    }
}

void answerInputAlert(std::optional<QString> text, QStringList* seen) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, text, seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QStringLiteral("inputAlert")) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("inputAlertField"));
        const auto* prompt = dialog->findChild<QLabel*>(QStringLiteral("inputAlertPrompt"));
        if (seen) {
            *seen << prompt->text() + QStringLiteral(" | ") + field->text();
        }
        if (!text) {
            dialog->reject();
            return;
        }
        field->setText(*text);
        QTest::keyClick(field, Qt::Key_Return); // OK is the default button
    });
    timer->start();
}

std::u16string treeText(const DocumentWindow& window) {
    return window.document().treeTable()->saveTable();
}

} // namespace lanthor::test
