// The picture on the Compute button: a bell curve with its upper tail shaded,
// 16 x 16 device-independent pixels.  Qt draws the greyed glyph of a disabled
// button from it.
#pragma once

#include <QIcon>

namespace window {

QIcon ComputeGlyph();

}  // namespace window
