#include "QtSession.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace lanthor::test {

namespace {

std::unique_ptr<GuiSession> session;

/// Ends the session after the last test, while the rest of the program still stands.
class QtSessionEnvironment final : public ::testing::Environment {
public:
    void TearDown() override { session.reset(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new QtSessionEnvironment);

} // namespace

GuiSession& qtSession() {
    // One application object serves the whole test process, and it must be the widget kind,
    // which the editor's window tests need too: Qt allows only one per process.
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "lanthor_tests";
        static char* argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static QApplication application(argc, argv);
    }
    if (!session) {
        session = std::make_unique<GuiSession>();
    }
    return *session;
}

} // namespace lanthor::test
