#pragma once

#include "qtgui/GuiSession.h"

namespace lanthor::test {

/// The one Qt session of the test run, on the one QApplication that the run's main makes before
/// the first test and destroys after the last.
GuiSession& qtSession();

} // namespace lanthor::test
