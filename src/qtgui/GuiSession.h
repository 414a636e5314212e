#pragma once

#include <memory>

namespace lanthor {

class TextSystem;

/// What drawing with Qt needs: a QGuiApplication (made here unless one exists, on the offscreen
/// platform, so that no display is needed) and the Qt text system. Lives as long as the drawing
/// does.
class GuiSession {
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

    const TextSystem& textSystem() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace lanthor
