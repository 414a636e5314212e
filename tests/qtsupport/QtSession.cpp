// The main of the Qt tests: the only owner of the Qt application in this executable. Qt allows
// one per process, and it must be the widget kind, which the editor's windows need.

#include "qtsupport/QtSession.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <optional>

namespace {

std::optional<lanthor::GuiSession> session;

} // namespace

lanthor::GuiSession& lanthor::test::qtSession() {
    return *session;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // No test needs a display; a platform set from outside is kept.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    session.emplace();
    const int status = RUN_ALL_TESTS();
    session.reset(); // its fonts belong to the application
    return status;
}
