#pragma once

#include "qtgui/GuiSession.h"

namespace lanthor::test {

/// The one Qt session of the test run (offscreen, so no test needs a display).
GuiSession& qtSession();

} // namespace lanthor::test
