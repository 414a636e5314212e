#include "GuiSession.h"

#include "QtTextSystem.h"
#include "base/Log.h"

#include <QGuiApplication>

namespace lanthor {

namespace {

/// Qt's own notices (such as a missing runtime folder) are not the system's log lines: only its
/// errors go to the log.
void logQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        logLine("Qt: " + message.toStdString());
    }
}

} // namespace

struct GuiSession::State {
    // QGuiApplication keeps references to these for its whole life. Drawing needs no display:
    // the offscreen platform, whatever QT_QPA_PLATFORM says.
    int argc = 3;
    char programName[8] = "lanthor";
    char platformOption[10] = "-platform";
    char platformName[10] = "offscreen";
    char* argv[4] = {programName, platformOption, platformName, nullptr};
    std::unique_ptr<QGuiApplication> application;
    std::unique_ptr<QtTextSystem> textSystem;
    QtMessageHandler previousHandler = nullptr;
};

GuiSession::GuiSession() : state_(std::make_unique<State>()) {
    state_->previousHandler = qInstallMessageHandler(logQtErrors);
    if (!QCoreApplication::instance()) {
        state_->application = std::make_unique<QGuiApplication>(state_->argc, state_->argv);
    }
    state_->textSystem = std::make_unique<QtTextSystem>();
}

GuiSession::~GuiSession() {
    state_->textSystem.reset(); // before the application that its fonts belong to
    state_->application.reset();
    qInstallMessageHandler(state_->previousHandler);
}

const TextSystem& GuiSession::textSystem() const {
    return *state_->textSystem;
}

} // namespace lanthor
