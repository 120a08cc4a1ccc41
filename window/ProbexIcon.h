// The program's icon, drawn here: a bell curve with a shaded upper tail on a
// rounded blue square.  The window shows it, and the build writes it as the
// PNG files that the desktop's icon theme installs.
#pragma once

#include <QIcon>
#include <QImage>

namespace window {

// The icon at `size` x `size` pixels, transparent around the square.
QImage ProbexIconImage(int size);

// The icon at the sizes of the desktop's icon theme.
QIcon ProbexIcon();

// Those sizes, in pixels.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace window
