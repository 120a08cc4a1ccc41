// Pictures of the main window with its function chooser and the questions
// it asks, for docs/screenshots/:
//
//   chooser_screens DIR
//
// writes DIR/probex-chooser-{screen,smallest,find}-{light,dark}-scaleN.png:
// the window as large as a 1280 x 720 screen leaves it below a title bar
// and a panel (at QT_SCALE_FACTOR=2 a 1600 x 1000 screen, 800 x 500 units),
// the window at its smallest, and the list found by "non"; and
// DIR/probex-question-{between,quantile,sd}-{light,dark}-scaleN.png: the
// interval mode on the normal, the binomial's quantile and the normal by its
// standard deviation, each computed.  N is the scale factor.  The dark
// pictures use the Fusion style's colours on a dark palette.  Run on the offscreen platform; the picture is the window's own
// drawing, without the desktop's frame.
#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <cstdio>

#include "Pictures.h"
#include "ScriptedPlatform.h"
#include "TestSession.h"
#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/FunctionChooser.h"

namespace {

// The screens in device-independent units at scale 1 and 2, and what a
// desktop's title bar and panel take of their height.
constexpr QSize kScreenAtScale1{1280, 720};
constexpr QSize kScreenAtScale2{800, 500};
constexpr int kDesktopChrome = 64;

// Clicks a control of the form by its object name.
void Click(QWidget& form, const char* name) {
  QTest::mouseClick(form.findChild<QWidget*>(QString::fromLatin1(name)), Qt::LeftButton);
}
void Type(QWidget& form, int field, const char* text) {
  auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit_%1").arg(field));
  edit->selectAll();
  QTest::keyClicks(edit, QString::fromLatin1(text));
}

// The three questions beside the tails, each asked as a user would.
bool Questions(QWidget& form, const QString& dir, const QString& palette, const QString& scale) {
  const auto name = [&](const char* what) {
    return QStringLiteral("%1/probex-question-%2-%3-scale%4.png").arg(dir, what, palette, scale);
  };
  Click(form, "BetweenCheckBox");
  Type(form, 4, "-1.96");
  Type(form, 5, "1.96");
  Click(form, "ComputeBtn");
  bool ok = window_test::SavePicture(form, name("between"));
  Click(form, "BetweenCheckBox");
  Click(form, "SdCheckBox");
  Type(form, 1, "100");
  Type(form, 2, "15");
  Type(form, 4, "130");
  Click(form, "ComputeBtn");
  ok = window_test::SavePicture(form, name("sd")) && ok;
  Click(form, "SdCheckBox");
  Click(form, "BinomialRadio");
  Click(form, "InversCheckBox");
  Type(form, 2, "10");
  Type(form, 4, "0.5");
  Click(form, "ComputeBtn");
  ok = window_test::SavePicture(form, name("quantile")) && ok;
  Click(form, "InversCheckBox");
  return ok;
}

// One window with a few results in its log, asked each question.
bool Pictures(const QString& dir, const QString& palette, const QSize& screen,
              TScriptedPlatform& platform) {
  window_test::ForgetSession();
  window_test::TPictureForm form(platform);
  form.resize(screen.width(), screen.height() - kDesktopChrome);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return false;
  for (int i = 0; i < 3; ++i) form.ComputeBtnClick();
  auto* chooser = form.findChild<window::TFunctionChooser*>(QStringLiteral("Panel1"));
  const QString scale = QString::number(qRound(form.devicePixelRatioF()));
  bool ok = Questions(form, dir, palette, scale);
  const auto name = [&](const char* what) {
    return QStringLiteral("%1/probex-chooser-%2-%3-scale%4.png").arg(dir, what, palette, scale);
  };
  Click(form, "NormalRadio");
  ok = form.minimumSizeHint().height() <= form.height() && window_test::SavePicture(form, name("screen")) && ok;
  QTest::keyClicks(chooser->FindField(), QStringLiteral("non"));
  ok = window_test::SavePicture(form, name("find")) && ok;
  chooser->FindField()->clear();
  form.resize(form.minimumSizeHint());
  return window_test::SavePicture(form, name("smallest")) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  return window_test::RunPictures(
      argc, argv, "chooser_screens DIR",
      [](const QString& dir, const QString& palette, TScriptedPlatform& platform) {
        const QSize screen = qApp->devicePixelRatio() > 1.5 ? kScreenAtScale2 : kScreenAtScale1;
        return Pictures(dir, palette, screen, platform);
      });
}
