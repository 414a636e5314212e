#include "EditorTestSupport.h"

#include "qtsupport/QtSession.h"

#include <QAction>
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
    *out << '"' << texts.join(QStringLiteral("\", \"")).toStdString() << '"';
}

namespace lanthor::test {

namespace {

/// Records `question` and gives the next answer queued for it, or `none`.
template <typename T>
T answer(QStringList& asked, std::deque<T>& answers, QString question, T none) {
    asked << question;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question.toStdString();
        return none;
    }
    const T next = answers.front();
    answers.pop_front();
    return next;
}

} // namespace

EditorPrompts ScriptedPrompts::prompts() {
    EditorPrompts scripted;
    scripted.askSaveChanges = [this](QWidget*, const QString& name) {
        return answer(asked, saveAnswers, "save changes: " + name, SaveChangesAnswer::Cancel);
    };
    scripted.askRestoreRecovery = [this](QWidget*, const QString& name, const QString&) {
        return answer(asked, restoreAnswers, "restore: " + name, false);
    };
    scripted.showError = [this](QWidget*, const QString& text, const QString& reason) {
        errors << text + " | " + reason;
    };
    scripted.showWarning = [this](QWidget*, const QString& text, const QStringList& problems) {
        warnings << text + " | " + problems.join(QStringLiteral(" / "));
    };
    scripted.chooseOpenPath = [this](QWidget*) {
        return answer(asked, paths, QStringLiteral("open"), QString());
    };
    scripted.chooseImportPath = [this](QWidget*) {
        return answer(asked, paths, QStringLiteral("import"), QString());
    };
    scripted.chooseSavePath = [this](QWidget*, const QString& suggested) {
        return answer(asked, paths, "save as: " + suggested, QString());
    };
    scripted.chooseExportPath = [this](QWidget*, const QString& suggested) {
        return answer(asked, paths, "export as: " + suggested, QString());
    };
    scripted.chooseFont = [this](QWidget*, const Font& current) {
        const QString font = QString::fromStdU16String(current.family());
        return answer(asked, fonts,
                      QStringLiteral("font: %1 %2").arg(font).arg(current.pointSize()),
                      std::optional<Font>());
    };
    scripted.showAbout = [this](QWidget*, const QString& text, const QString& details) {
        about << text + " | " + details;
    };
    return scripted;
}

void EditorTest::SetUp() {
    // Exports go to the Desktop of the home directory, and an editor that the test starts
    // keeps its recovery copies and settings there too: all in the test's folder.
    const std::string root = dir.path().string();
    ::setenv("HOME", root.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    session = startSession();
}

void EditorTest::TearDown() {
    session.reset();
    EXPECT_EQ(user.saveAnswers.size() + user.restoreAnswers.size() + user.paths.size() +
                  user.fonts.size(),
              0u)
        << "answers left for questions that were not asked";
}

std::string EditorTest::exampleCopy() const {
    return dir.write("syntax-tree.csv", readFile(LANTHOR_SOURCE_DIR "/examples/syntax-tree.csv"));
}

DocumentWindow* EditorTest::open(const std::string& path) {
    return session->openDocument(QString::fromStdString(path));
}

DocumentWindow* EditorTest::openActive(const std::string& path) {
    DocumentWindow* window = open(path);
    if (!window) {
        return nullptr;
    }
    window->activateWindow();
    return QTest::qWaitForWindowActive(window) ? window : nullptr;
}

std::unique_ptr<EditorSession> EditorTest::startSession() {
    return std::make_unique<EditorSession>(qtSession().textSystem(), user.prompts(), paths);
}

void trigger(const DocumentWindow& window, const char* action) {
    QAction* found = window.action(QString::fromLatin1(action));
    ASSERT_NE(found, nullptr) << action;
    found->trigger();
}

std::shared_ptr<Tree> nodeOf(const DocumentWindow& window, std::u16string_view number) {
    const NodeDictionary* nodes = window.document().treeTable()->nodeDictionary();
    return nodes ? nodes->find(number) : nullptr;
}

std::shared_ptr<LanthorNodeView> nodeView(const DocumentWindow& window,
                                          std::u16string_view number) {
    window.canvasWidget().displayIfNeeded();
    const std::shared_ptr<Tree> node = nodeOf(window, number);
    return node ? nodeViewOf(*node) : nullptr;
}

void clickNode(const DocumentWindow& window, std::u16string_view number, bool twice) {
    const std::shared_ptr<LanthorNodeView> view = nodeView(window, number);
    ASSERT_NE(view, nullptr);
    const Rect frame = view->frame();
    const Point middle{frame.origin.x + frame.size.width / 2,
                       frame.origin.y + frame.size.height / 2};
    CanvasWidget& canvas = window.canvasWidget();
    const QPoint centre = canvas.viewportPoint(middle).toPoint();
    QTest::mouseClick(canvas.viewport(), Qt::LeftButton, {}, centre);
    if (twice) {
        // After the first click, the second press of a double click arrives as such.
        QTest::mouseDClick(canvas.viewport(), Qt::LeftButton, {}, centre);
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
        EXPECT_EQ(field->size(), QSize(400, 48)); // room for a label and its markup
        if (seen) {
            *seen << dialog->findChild<QLabel*>(QStringLiteral("inputAlertPrompt"))->text() +
                         " | " + field->text();
        }
        if (!text) {
            dialog->reject();
            return;
        }
        field->setText(*text);
        QTest::keyClick(field, Qt::Key_Return); // so OK must be the default button
    });
    timer->start();
}

std::u16string treeText(const DocumentWindow& window) {
    return window.document().treeTable()->saveTable();
}

} // namespace lanthor::test
