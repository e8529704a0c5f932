#pragma once

#include "syntax/TextStyles.h"

#include <QColor>
#include <QFont>

namespace quillet {

// An engine colour (0x00BBGGRR, or 0x800000nn for system colour n) as a QColor
// from the application palette; clNone gives an invalid QColor.
QColor StyleColor(TColor color);
// An engine font as a QFont (face, point size, emphasis); the colour is not
// part of a QFont and stays in from.color.
QFont StyleFont(const TFontSpec& from);
// The editor font of the styles as a monospaced QFont.
QFont EditorQFont(const TEditorFont& font);

} // namespace quillet
