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
#include <QTest>
#include <utility>

#include "FormControls.h"
#include "Pictures.h"
#include "ScriptedPlatform.h"
#include "TestSession.h"
#include "window/DistributionForm.h"

namespace {

// The screen in device-independent units at scale 1, and what a desktop's
// title bar and panel take of its height.
constexpr QSize kScreen{1600, 1000};
constexpr int kDesktopChrome = 64;

void Type(window_test::TPictureForm& form, const char* field, const char* text) {
  window_test::TypeInto(form.findChild<QLineEdit*>(QString::fromLatin1(field)),
                        QString::fromLatin1(text));
}

// A normal, a binomial between two bounds and a chi-square result.
void ComputeExamples(window_test::TPictureForm& form) {
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
  window_test::TPictureForm form(platform);
  const qreal scale = qApp->devicePixelRatio();
  form.resize(qRound(kScreen.width() / scale), qRound((kScreen.height() - kDesktopChrome) / scale));
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return false;
  ComputeExamples(form);
  const auto name = [&](const char* what) {
    return QStringLiteral("%1/probex-window-%2-%3-scale%4.png")
        .arg(dir, what, palette, QString::number(qRound(scale)));
  };
  bool ok = window_test::SavePicture(form, name("screen"));
  form.resize(1, 1);
  return window_test::SavePicture(form, name("smallest")) && ok;
}

}  // namespace

int main(int argc, char** argv) {
  return window_test::RunPictures(argc, argv, "window_screens DIR", Pictures);
}
