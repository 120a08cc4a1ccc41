// Drives the real Probex window on a real X display (Xvfb), for the smoke
// test and the screenshots.
//
//   probex_drive --drive OUT.png        starts Probex as the program does,
//       computes through simulated mouse clicks and key presses, checks the
//       log and the clipboard, and saves a screen grab of the window.
//   probex_drive --grab-screen OUT.png MIN_COLOURS SECONDS
//       grabs the whole screen until it shows at least MIN_COLOURS distinct
//       colours (another program's window has appeared) or the time is up.
//   probex_drive --check-png FILE MIN_COLOURS
//       answers 0 when the picture has at least MIN_COLOURS distinct colours.
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <set>

#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/QtPlatform.h"
#include "window/Startup.h"

namespace {

int failures = 0;

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    ++failures;
  }
}

int DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) colours.insert(line[x]);
  }
  return static_cast<int>(colours.size());
}

// Replaces the text of a field as a user does: click, select all with the
// keyboard, type.
void TypeInto(QLineEdit* edit, const QString& text) {
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClick(edit, Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClicks(edit, text);
}

void Drive(window::TDistributionForm& form, const QString& screenshot) {
  Check(QTest::qWaitForWindowExposed(&form), "window exposed");
  form.activateWindow();
  Check(QTest::qWaitForWindowActive(&form), "window active");
  const auto edit = [&](const char* name) { return form.findChild<QLineEdit*>(name); };
  auto* memo = form.findChild<QPlainTextEdit*>("Memo");

  QTest::mouseClick(form.findChild<QRadioButton*>("ChiSquareRadio"), Qt::LeftButton);
  Check(form.findChild<QLabel*>("Label_1")->text() == "Degrees of freedom", "chi-square fields");
  TypeInto(edit("Edit_1"), "10");
  TypeInto(edit("Edit_4"), "3.940299");
  QTest::keyClick(edit("Edit_4"), Qt::Key_Return);

  QTest::mouseClick(form.findChild<QRadioButton*>("NormalRadio"), Qt::LeftButton);
  TypeInto(edit("Edit_4"), "1.959964");
  QTest::keyClick(edit("Edit_4"), Qt::Key_Return);

  QTest::mouseClick(form.findChild<QCheckBox*>("InversCheckBox"), Qt::LeftButton);
  Check(edit("Edit_4")->text() == "0.975", "inverse percentile");
  QTest::mouseClick(form.findChild<QPushButton*>("ComputeBtn"), Qt::LeftButton);

  const QStringList lines = form.LogLines();
  Check(lines.size() == 6, "six log lines");
  Check(lines.value(0) == "Chi Square Distribution, degrees of freedom=10:", "chi-square header");
  Check(lines.value(2) == "Normal Distribution, mean=0.000000, variance=1.000000:",
        "normal header");
  Check(lines.value(5).contains("P(X<1.959964)=0.975000"), "inverse result");

  // Ctrl+C typed in a field copies the log through the real clipboard.
  QTest::mouseClick(edit("Edit_1"), Qt::LeftButton);
  QTest::keyClick(edit("Edit_1"), Qt::Key_C, Qt::ControlModifier);
  Check(QGuiApplication::clipboard()->text() == lines.join('\n'), "clipboard holds the log");
  Check(!memo->textCursor().hasSelection(), "selection gone after Copy");

  QTest::qWait(200);  // let the X server paint the last changes
  const QRect frame = form.frameGeometry();
  const QPixmap grab =
      form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  Check(grab.save(screenshot, "PNG"), "screenshot saved");
  std::printf("%s: %dx%d pixels, %d colours, window %dx%d at scale %g\n", qPrintable(screenshot),
              grab.width(), grab.height(), DistinctColours(grab.toImage()), form.width(),
              form.height(), form.devicePixelRatioF());
  form.close();
}

int GrabScreen(const QString& file, int minColours, int seconds) {
  QElapsedTimer timer;
  timer.start();
  int colours = 0;
  QPixmap grab;
  do {
    QTest::qWait(250);
    grab = QGuiApplication::primaryScreen()->grabWindow(0);
    colours = DistinctColours(grab.toImage());
  } while (colours < minColours && timer.elapsed() < seconds * 1000);
  grab.save(file, "PNG");
  std::printf("%s: %dx%d pixels, %d colours\n", qPrintable(file), grab.width(), grab.height(),
              colours);
  return colours >= minColours ? 0 : 1;
}

int CheckPng(const QString& file, int minColours) {
  QImage image;
  if (!image.load(file, "PNG")) {
    std::fprintf(stderr, "%s: not a PNG picture\n", qPrintable(file));
    return 1;
  }
  const int colours = DistinctColours(image);
  std::printf("%s: %dx%d pixels, %d colours (at least %d wanted)\n", qPrintable(file),
              image.width(), image.height(), colours, minColours);
  return colours >= minColours ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--drive") == 0) {
    const QString screenshot = QString::fromLocal8Bit(argv[2]);
    window::TApplication app(argc, argv);
    window::TQtPlatform platform;
    window::RunProbex(app, platform,
                      [&](window::TDistributionForm& form) { Drive(form, screenshot); });
    return failures == 0 ? 0 : 1;
  }
  if (argc == 5 && std::strcmp(argv[1], "--grab-screen") == 0) {
    QGuiApplication app(argc, argv);
    return GrabScreen(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  }
  if (argc == 4 && std::strcmp(argv[1], "--check-png") == 0) {
    QCoreApplication app(argc, argv);
    return CheckPng(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
  }
  std::fprintf(stderr,
               "usage: probex_drive --drive OUT.png | --grab-screen OUT.png MIN_COLOURS SECONDS"
               " | --check-png FILE MIN_COLOURS\n");
  return 2;
}
