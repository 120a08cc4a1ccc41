// Drives the real Probex window on a real X display (Xvfb), for the smoke
// test and the screenshots.
//
//   probex_drive --drive DIR NAME       starts Probex as the program does,
//       its version check asking a scripted server on 127.0.0.1 that holds
//       the first request open; checks that the window answers meanwhile;
//       computes through simulated mouse clicks and key presses, checks the
//       log, the keys in a field and the clipboard; opens and closes the
//       about box, answers the new-version message, opens the help;
//       saves screen grabs of the window, the about box, the message and
//       the help as DIR/probex-{window,about,message,help}-NAME.png, and,
//       with an invalid field marked, the window at its smallest and filling
//       a 1024 x 768 screen in a light and a dark palette as
//       DIR/probex-{small,maximized}-{light,dark}-NAME.png (for docs/).
//   probex_drive --grab-screen OUT.png MIN_COLOURS SECONDS
//       grabs the whole screen until it shows at least MIN_COLOURS distinct
//       colours (another program's window has appeared) or the time is up.
//   probex_drive --check-png FILE MIN_COLOURS
//       answers 0 when the picture has at least MIN_COLOURS distinct colours.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>

#include "FormControls.h"
#include "ScriptedServer.h"
#include "TestSession.h"
#include "window/AboutBox.h"
#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/HelpViewer.h"
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

// Saves what the screen shows of `window`, frame included.
void Grab(const QWidget& window, const QString& file) {
  QTest::qWait(200);  // let the X server paint the last changes
  const QRect frame = window.frameGeometry();
  const QPixmap grab =
      window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  Check(grab.save(file, "PNG"), "screenshot saved");
  std::printf("%s: %dx%d pixels, %d colours, window %dx%d at scale %g\n", qPrintable(file),
              grab.width(), grab.height(), DistinctColours(grab.toImage()), window.width(),
              window.height(), window.devicePixelRatioF());
}

// Waits until `condition` holds or 8 s have passed (a version check may
// first wait out the client's 3 s limit on a held request).
bool WaitFor(const std::function<bool()>& condition) {
  QElapsedTimer timer;
  timer.start();
  while (!condition() && timer.elapsed() < 8000) QTest::qWait(20);
  return condition();
}

// How long the event loop takes to run a timer posted now: a blocked
// user-interface thread shows here.
qint64 EventLoopDelayMs() {
  // The best of five probes: a busy machine (or a sanitizer build) delays
  // some of them, a thread blocked in the request would delay every one.
  constexpr int kProbes = 5;
  qint64 best = std::numeric_limits<qint64>::max();
  for (int probe = 0; probe < kProbes; ++probe) {
    QElapsedTimer timer;
    timer.start();
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    while (!ran) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    best = std::min(best, timer.elapsed());
  }
  return best;
}

// Answers the modal message boxes as a user pressing OK, after a screen grab
// of the first one.
class TBoxAnswerer {
 public:
  explicit TBoxAnswerer(const QString& screenshot) : screenshot_(screenshot) {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Answer(); });
    timer_.start();
  }
  QStringList texts;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || busy_) return;
    busy_ = true;
    if (texts.isEmpty()) {
      Check(QTest::qWaitForWindowExposed(box), "message box exposed");
      Grab(*box, screenshot_);
    }
    texts << box->windowTitle() + ": " + box->text();
    box->button(QMessageBox::Ok)->click();
    busy_ = false;
  }
  QTimer timer_;
  QString screenshot_;
  bool busy_ = false;
};

// Activates `window` as the desktop does on a click, and waits for it.
bool Activate(QWidget& window) {
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

// The window at its smallest and filling a 1024 x 768 screen (what a window
// manager's maximize would do), in the desktop's palette and a dark one.
void GrabLooks(window::TDistributionForm& form, const QString& dir, const QString& name) {
  QPalette dark(QColor(0x2b, 0x2b, 0x2b));  // QPalette derives the other roles
  dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
  const QRect screen = form.screen()->availableGeometry();
  for (const char* look : {"light", "dark"}) {
    if (look == QLatin1String("dark")) QApplication::setPalette(dark);
    for (const char* size : {"small", "maximized"}) {
      if (size == QLatin1String("small"))
        form.resize(form.minimumSize());
      else
        form.setGeometry(QRect(screen.topLeft(), QSize(1024, 768).boundedTo(screen.size())));
      QTest::qWait(300);
      const QString file = QStringLiteral("%1/probex-%2-%3-%4.png").arg(dir, size, look, name);
      Check(form.grab().save(file, "PNG"), "window picture saved");
    }
  }
}

void Drive(window::TDistributionForm& form, const http_test::TScriptedServer& server,
           const QString& dir, const QString& name) {
  const auto shot = [&](const char* what) {
    return QStringLiteral("%1/probex-%2-%3.png").arg(dir, QLatin1String(what), name);
  };
  form.SetAnswerWait(window_test::kUnhurriedAnswerMs);
  Check(QTest::qWaitForWindowExposed(&form), "window exposed");
  form.activateWindow();
  Check(QTest::qWaitForWindowActive(&form), "window active");
  const auto edit = [&](const char* name) { return form.findChild<QLineEdit*>(name); };
  auto* memo = form.findChild<QPlainTextEdit*>("Memo");

  // The first version request is held open by the server: the window is
  // arranged and answers at once all the same.
  Check(server.WaitForSteps(0, 2, 5000), "the version request reached the server");
  Check(form.VersionCheckRunning(), "the version check waits on its worker thread");
  Check(form.findChild<QLabel*>("Label_1")->text() == "Mean", "fields arranged at once");
  QTest::mouseClick(form.findChild<QPushButton*>("ComputeBtn"), Qt::LeftButton);
  const qint64 loopMs = EventLoopDelayMs();
  std::printf("while the version request is held the event loop answers in %lld ms\n", loopMs);
  Check(form.LogLines().size() == 2 && loopMs < 100,
        "the window answers within 100 ms while the version request is held");
  form.findChild<QAction*>("Clear")->trigger();

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

  QTest::mouseClick(edit("Edit_1"), Qt::LeftButton);
  QTest::keyClick(edit("Edit_1"), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(edit("Edit_1"), "0");
  Check(edit("Edit_1")->text() == "0" && form.LogLines() == lines,
        "Ctrl+A and typing in a field replace the field's text and leave the log whole");

  // Ctrl+C typed in a field copies the log through the real clipboard.
  QTest::mouseClick(edit("Edit_1"), Qt::LeftButton);
  QTest::keyClick(edit("Edit_1"), Qt::Key_C, Qt::ControlModifier);
  Check(QGuiApplication::clipboard()->text() == lines.join('\n'), "clipboard holds the log");
  Check(!memo->textCursor().hasSelection(), "selection gone after Copy");

  Grab(form, shot("window"));
  Check(server.Accepted() == 1, "one version check at start");
  Check(WaitFor([&] { return !form.VersionCheckRunning(); }), "the held check gave up silently");

  // The about box, and the activation that closing it brings: the version
  // file says 1.0.0.2 this time, so the new-version message appears, once.
  TBoxAnswerer answerer(shot("message"));
  auto* about = qobject_cast<window::TAboutBox*>([] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == "AboutBox") return top;
    return static_cast<QWidget*>(nullptr);
  }());
  Check(about != nullptr, "about box created");
  if (about == nullptr) return;
  Check(!about->isVisible(), "about box hidden at start");
  form.findChild<QAction*>("AboutItem")->trigger();
  Check(QTest::qWaitForWindowActive(about), "about box active");
  Check(about->findChild<QLabel*>("InternetAddrLabel")->text() == "http://www.probex.example/",
        "home-page address");
  Grab(*about, shot("about"));
  QTest::mouseClick(about->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  Check(WaitFor([&] { return answerer.texts.size() == 1; }), "new-version message shown");
  Check(!about->isVisible(), "about box closed by OK");
  // A desktop gives the activation back after the message; without a
  // window manager the window takes it.  Neither is a new activation.
  if (!form.isActiveWindow()) Check(Activate(form), "window active after the message");
  QTest::qWait(500);
  Check(server.Accepted() == 2, "closing the about box fetched the version file again");
  Check(answerer.texts.size() == 1, "closing the message started no new activation");
  Check(answerer.texts.value(0) == QString("Information: A new version is available. Check %1.")
                                       .arg(QString("127.0.0.1:%1").arg(server.Port())),
        "new-version message text");
  Check(edit("Edit_4")->text() == "0.975" &&
            form.findChild<QCheckBox*>("InversCheckBox")->isChecked(),
        "fields kept across the activation");
  Check(form.LogLines().size() == 6, "log kept");

  // The about box loses the activation to the window: it closes, and the
  // window's activation runs (1.0.0.1 now: no message).
  form.findChild<QAction*>("AboutItem")->trigger();
  Check(QTest::qWaitForWindowActive(about), "about box active again");
  Check(Activate(form), "window activated from the about box");
  Check(WaitFor([&] { return !about->isVisible(); }), "about box closed on losing activation");
  Check(WaitFor([&] { return server.Accepted() == 3 && !form.VersionCheckRunning(); }),
        "the version file fetched at that activation");
  Check(answerer.texts.size() == 1, "no message for the current version");

  // F1 in a field opens the help at the function's section; going back to
  // the window is no activation.
  QTest::mouseClick(edit("Edit_1"), Qt::LeftButton);
  QTest::keyClick(edit("Edit_1"), Qt::Key_F1);
  window::THelpViewer* help = form.HelpViewer();
  Check(help != nullptr && QTest::qWaitForWindowActive(help), "help window active");
  if (help != nullptr) {
    Check(help->ShownTopic() ==
              QLatin1String(calculator::AboutFunction(form.SelectedFunction()).commandName),
          "help at the function's section");
    Check(help->Browser()->toPlainText().contains("Keyboard summary"), "help file shown");
    Grab(*help, shot("help"));
    Check(Activate(form), "back to the window from the help");
    QTest::qWait(300);
    Check(server.Accepted() == 3, "no activation on returning from the help");
  }
  TypeInto(edit("Edit_4"), "3,5");
  QTest::keyClick(edit("Edit_4"), Qt::Key_Return);
  GrabLooks(form, dir, name);
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
  if (argc == 4 && std::strcmp(argv[1], "--drive") == 0) {
    const QString dir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    // The version file at the activations: start, after OK in the about
    // box, after leaving the about box for the window.  The last two
    // connections would show a loop of activations.
    const auto answer = [](const std::string& body) {
      return http_test::TScript{
          http_test::TStep::ReadRequest(),
          http_test::TStep::Send(http_test::Response(
              "HTTP/1.1 200 OK",
              {"Content-Length: " + std::to_string(body.size()), "Connection: close"}, body)),
          http_test::TStep::Close()};
    };
    // The first request is held until the client gives up.
    const http_test::TScript hold{http_test::TStep::ReadRequest(),
                                  http_test::TStep::AwaitClientClose(6000)};
    http_test::TScriptedServer server(
        {hold, answer("1.0.0.2"), answer("1.0.0.1"), answer("1.0.0.2"), answer("1.0.0.2")});
    const QTemporaryDir home;
    window_test::IsolateHome(home);
    window::TApplication app(argc, argv);
    window::TQtPlatform platform;
    window::RunProbex(
        app, platform, [&](window::TDistributionForm& form) { Drive(form, server, dir, name); },
        "127.0.0.1:" + std::to_string(server.Port()));
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
               "usage: probex_drive --drive DIR NAME | --grab-screen OUT.png MIN_COLOURS SECONDS"
               " | --check-png FILE MIN_COLOURS\n");
  return 2;
}
