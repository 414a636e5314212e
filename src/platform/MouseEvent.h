#pragma once

#include "Geometry.h"

namespace lanthor {

/// A press of the mouse button, in the coordinates of the view that receives it.
struct MouseEvent {
    Point location;
    /// 1 for a single press, 2 for the second press of a double click, and so on.
    int clickCount = 1;
};

} // namespace lanthor
