// Pictures of the whole main window on a 1600 x 1000 screen, for
// docs/screenshots/:
//
//   window_screens DIR
//
// writes DIR/probex-window-{screen,smallest}-{light,dark}-scaleN.png: the
// window as large as the screen leaves it below a title bar and a panel
// (at QT_SCALE_FACTOR=2, 800 x 500 units), with a few results in its log
// and the last one in the panes, and the window at its smallest, the panes
// in tabs.  N is the scale factor.  The dark pictures use the Fusion
// style's colours on a dark palette.  Run on the offscreen platform; the
// picture is the window's own drawing, without the desktop's frame.
#include <QApplication>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>
#include <cstdio>
#include <utility>

#include "DarkPalette.h"
#include "FormControls.h"
#include "ScriptedPlatform.h"
#include "TestSession.h"
#include "window/Application.h"
#include "window/DistributionForm.h"

namespace {

// The screen in device-independent units at scale 1, and what a desktop's
// title bar and panel take of its height.
constexpr QSize kScreen{1600, 1000};
constexpr int kDesktopChrome = 64;

// The form without help set-up or version check: no network.
class TPictureForm : public window::TDistributionForm {
 public:
  using TDistributionForm::TDistributionForm;

 protected:
  void ActivateHelp() override {}
  void VersionCheck() override {}
};

bool Save(QWidget& widget, const QString& name) {
  QTest::qWait(200);
  const bool saved = widget.grab().save(name);
  std::printf("%s %s (%dx%d units)\n", saved ? "wrote" : "FAILED", qPrintable(name), widget.width(),
              widget.height());
  return saved;
}

void Type(TPictureForm& form, const char* field, const char* text) {
  window_test::TypeInto(form.findChild<QLineEdit*>(QString::fromLatin1(field)),
                        QString::fromLatin1(text));
}

// A normal, a binomial between two bounds and a chi-square result.
void ComputeExamples(TPictureForm& form) {
  form.ComputeBtnClick();
  form.findChild<QRadioButton*>(QStringLiteral("BinomialRadio"))->click();
  form.findChild<QAbstractButton*>(QStringLiteral("BetweenCheckBox"))->click();
  for (const auto& [field, text] :
       {std::pair{"Edit_1", "0.5"}, {"Edit_2", "10"}, {"Edit_4", "3"}, {"Edit_5", "7"}})
    Type(form, field, text);
  form.ComputeBtnClick();
  form.findChild<QRadioButton*>(QStringLiteral("ChiSquareRadio"))->click();
  Type(form, "Edit_1", "7");
  Type(form, "Edit_4", "9.5");
  form.ComputeBtnClick();
}

bool Pictures(const QString& dir, const QString& palette, TScriptedPlatform& platform) {
  window_test::ForgetSession();
  TPictureForm form(platform);
  const qreal scale = qApp->devicePixelRatio();
  form.resize(qRound(kScreen.width() / scale), qRound((kScreen.height() - kDesktopChrome) / scale));
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return false;
  ComputeExamples(form);
  const auto name = [&](const char* what) {
    return QStringLiteral("%1/probex-window-%2-%3-scale%4.png")
        .arg(dir, what, palette, QString::number(qRound(scale)));
  };
  bool ok = Save(form, name("screen"));
  form.resize(1, 1);
  return Save(form, name("smallest")) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const QTemporaryDir home;
  window_test::IsolateHome(home);
  window::TApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_screens DIR\n");
    return 2;
  }
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  TScriptedPlatform platform;
  app.SetPlatform(&platform);
  const QString dir = QString::fromLocal8Bit(argv[1]);
  bool ok = Pictures(dir, QStringLiteral("light"), platform);
  QApplication::setPalette(window_test::DarkPalette());
  ok = Pictures(dir, QStringLiteral("dark"), platform) && ok;
  app.SetPlatform(nullptr);
  return ok ? 0 : 1;
}
