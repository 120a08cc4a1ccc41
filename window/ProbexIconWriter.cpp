// Writes the program's icon as the PNG files of the desktop's icon theme:
//   probex_icon_writer DIR   ->  DIR/<n>x<n>/probex.png for every size.
#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>

#include "window/ProbexIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: probex_icon_writer DIR\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (const int size : window::kIconSizes) {
    const QString folder = QStringLiteral("%1/%2x%2").arg(root).arg(size);
    const QString file = folder + QStringLiteral("/probex.png");
    if (!QDir().mkpath(folder) || !window::ProbexIconImage(size).save(file, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
