// Pictures of the main window with the function chooser over a table of 23
// functions (TwentyThreeFunctions.h), for docs/screenshots/:
//
//   chooser_screens DIR
//
// writes DIR/probex-chooser-{screen,smallest,find}-{light,dark}-scaleN.png:
// the window as large as a 1280 x 720 screen leaves it below a title bar
// and a panel (at QT_SCALE_FACTOR=2 a 1600 x 1000 screen, 800 x 500 units),
// the window at its smallest, and the list found by "non".  N is the
// scale factor.  The dark pictures use the Fusion style's colours on a dark
// palette.  Run on the offscreen platform; the picture is the window's own
// drawing, without the desktop's frame.
#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <cstdio>
#include <span>
#include <vector>

#include "Pictures.h"
#include "ScriptedPlatform.h"
#include "TestSession.h"
#include "TwentyThreeFunctions.h"
#include "window/Application.h"
#include "window/DistributionForm.h"
#include "window/FunctionChooser.h"

namespace {

// The screens in device-independent units at scale 1 and 2, and what a
// desktop's title bar and panel take of their height.
constexpr QSize kScreenAtScale1{1280, 720};
constexpr QSize kScreenAtScale2{800, 500};
constexpr int kDesktopChrome = 64;

// One window with a few results in its log and its chooser replaced by one
// over the 23 functions (the picture's chooser; the form's own one offers the
// calculator's table).
bool Pictures(const QString& dir, const QString& palette, const QSize& screen,
              std::span<const calculator::FunctionAbout> table, TScriptedPlatform& platform) {
  window_test::ForgetSession();
  window_test::TPictureForm form(platform);
  form.resize(screen.width(), screen.height() - kDesktopChrome);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return false;
  for (int i = 0; i < 3; ++i) form.ComputeBtnClick();
  auto* own = form.findChild<window::TFunctionChooser*>(QStringLiteral("Panel1"));
  auto* chooser = new window::TFunctionChooser(table, form.centralWidget());
  chooser->setObjectName(QStringLiteral("Panel1"));
  delete form.centralWidget()->layout()->replaceWidget(own, chooser);
  delete own;
  const QString scale = QString::number(qRound(form.devicePixelRatioF()));
  const auto name = [&](const char* what) {
    return QStringLiteral("%1/probex-chooser-%2-%3-scale%4.png").arg(dir, what, palette, scale);
  };
  bool ok = form.minimumSizeHint().height() <= form.height() &&
            window_test::SavePicture(form, name("screen"));
  QTest::keyClicks(chooser->FindField(), QStringLiteral("non"));
  ok = window_test::SavePicture(form, name("find")) && ok;
  chooser->FindField()->clear();
  form.resize(form.minimumSizeHint());
  return window_test::SavePicture(form, name("smallest")) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<calculator::FunctionAbout> table = window_test::TwentyThreeFunctions();
  return window_test::RunPictures(
      argc, argv, "chooser_screens DIR",
      [&table](const QString& dir, const QString& palette, TScriptedPlatform& platform) {
        const QSize screen = qApp->devicePixelRatio() > 1.5 ? kScreenAtScale2 : kScreenAtScale1;
        return Pictures(dir, palette, screen, table, platform);
      });
}
