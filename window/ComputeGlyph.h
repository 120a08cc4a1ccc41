// The picture on the Compute button: a bell curve with its upper tail shaded,
// 16 x 16 device-independent pixels, in the colours of the button's palette
// (the curve in the button's text colour, the tail in the highlight), so that
// it shows on a light and on a dark desktop.  Qt draws the greyed glyph of a
// disabled button from it.
#pragma once

#include <QIcon>
#include <QPalette>

namespace window {

QIcon ComputeGlyph(const QPalette& palette);

}  // namespace window
