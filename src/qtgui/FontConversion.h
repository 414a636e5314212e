#pragma once

#include "platform/Font.h"

#include <QFont>

namespace lanthor {

/// The QFont that the font dialog shows for `font`: same family, point size, bold and italic.
QFont toQFont(const Font& font);

/// The font chosen in the font dialog: its family, point size (pixel size where the font has
/// no point size, at one pixel per point) and its bold and italic traits.
Font fromQFont(const QFont& font);

} // namespace lanthor
