#include "Editor.h"

#include "CanvasWidget.h"
#include "DocumentWindow.h"
#include "EditorArguments.h"
#include "EditorSession.h"
#include "QtInputAlert.h"
#include "base/Log.h"
#include "qtgui/GuiSession.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <string_view>

namespace lanthor {

namespace {

constexpr int kExitFailed = 1;

/// Runs the named actions of `window`, then, with `screenshotPath`, writes its picture and ends
/// the application. A name that the window does not know ends it with status 2.
void runScripted(const QPointer<DocumentWindow>& window, const EditorArguments& arguments) {
    for (const std::string& name : arguments.triggers) {
        QAction* action = window ? window->action(QString::fromStdString(name)) : nullptr;
        if (!action) {
            logLine("no action named " + name);
            QApplication::exit(2);
            return;
        }
        action->trigger();
    }
    if (!arguments.screenshotPath || !window) {
        return;
    }
    window->canvasWidget().displayIfNeeded();
    QApplication::processEvents();
    const QString path = QFile::decodeName(arguments.screenshotPath->c_str());
    if (!window->grab().save(path, "PNG")) {
        logLine("cannot write the screenshot " + *arguments.screenshotPath);
        QApplication::exit(kExitFailed);
        return;
    }
    QApplication::exit(0);
}

} // namespace

int runEditor(int& argc, char** argv, const std::function<int(const std::string&)>& usageError) {
    // A bad option of ours is reported before QApplication is made, which needs a display;
    // Qt's own options (one dash) are known only once it has taken them out of argv.
    if (const auto early = parseEditorArguments({argv + 1, argv + argc}, SingleDashOptions::Skip);
        std::holds_alternative<std::string>(early)) {
        return usageError(std::get<std::string>(early));
    }
    // Without a display Qt would abort with a message about its plugins; say plainly what is
    // missing instead.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !std::any_of(argv + 1, argv + argc,
                     [](const char* arg) { return std::string_view(arg) == "-platform"; })) {
        logLine("lanthor: there is no display to open the editor on (DISPLAY is not set); the "
                "subcommands work without one");
        return kExitFailed;
    }
    QApplication::setApplicationName(QStringLiteral("lanthor"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lanthor"));
    // Ties the windows to the installed menu entry, for their icon and name on Wayland.
    QApplication::setDesktopFileName(QStringLiteral("lanthor"));
    QApplication application(argc, argv);
    const auto parsed = parseEditorArguments({argv + 1, argv + argc}, SingleDashOptions::Refuse);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        return usageError(*problem);
    }
    const EditorArguments& arguments = std::get<EditorArguments>(parsed);

    GuiSession gui;
    QtInputAlertInstallation inputAlert;
    EditorSession session(gui.textSystem(), qtEditorPrompts(), EditorPaths::standard());
    session.offerUnsavedUntitled();
    for (const std::string& file : arguments.files) {
        session.openDocument(QFile::decodeName(file.c_str()));
    }
    if (arguments.files.empty() && session.windows().empty()) {
        session.newDocument();
    }
    if (session.windows().empty()) {
        return kExitFailed; // every file was refused, and the user was told why
    }

    if (!arguments.triggers.empty() || arguments.screenshotPath) {
        const QPointer<DocumentWindow> first = session.windows().front();
        QTimer::singleShot(0, &application, [first, &arguments] { runScripted(first, arguments); });
    }
    // The log keeps lines for a while, as commands on big trees write one per node; whenever the
    // editor waits for the user they go out.
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &application, [] { flushLog(); });
    const int status = QApplication::exec();
    flushLog();
    return status;
}

} // namespace lanthor
