#include "QtSession.h"

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
    if (!session) {
        session = std::make_unique<GuiSession>();
    }
    return *session;
}

} // namespace lanthor::test
