#pragma once

#include "qt/GuiSession.h"

namespace lanthor::test {

/// The one Qt session of the test run (offscreen, so no test needs a display).
GuiSession& qtSession();

} // namespace lanthor::test
