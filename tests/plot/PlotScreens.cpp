// Screen grabs of the main window with the Details and the Plot pane docked
// beside it, for the documentation:
//
//   plot_screens OUT.png
//
// types the normal distribution's fields (mean 100, variance 225, x 130)
// and presses Compute as a user would, shows the same result in the
// pane and saves the grab of the window.  It runs on Qt's offscreen platform
// unless another is set; QT_SCALE_FACTOR=2 gives the grab at scale 2.
#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "calculator/Calculator.h"
#include "window/DetailsPane.h"
#include "window/DistributionForm.h"
#include "window/PlotPane.h"
#include "window/QtPlatform.h"

namespace {

const QSize kWindowSize(1600, 620);
constexpr int kDetailsWidth = 380;
constexpr int kPlotWidth = 560;

// The window without help set-up and version check: no files, no network.
class TScreenForm : public window::TDistributionForm {
 public:
  using TDistributionForm::TDistributionForm;

 protected:
  void ActivateHelp() override {}
  void VersionCheck() override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: plot_screens OUT.png\n");
    return 64;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  window::TQtPlatform platform;
  TScreenForm form(platform);
  auto* detailsDock = new QDockWidget(QStringLiteral("Details"), &form);
  auto* details = new window::TDetailsPane(detailsDock);
  detailsDock->setWidget(details);
  auto* plotDock = new QDockWidget(QStringLiteral("Plot"), &form);
  auto* pane = new window::TPlotPane(platform, plotDock);
  plotDock->setWidget(pane);
  form.addDockWidget(Qt::RightDockWidgetArea, detailsDock);
  form.splitDockWidget(detailsDock, plotDock, Qt::Horizontal);
  form.resize(kWindowSize);
  form.resizeDocks({detailsDock, plotDock}, {kDetailsWidth, kPlotWidth}, Qt::Horizontal);
  form.show();
  form.activateWindow();
  if (!QTest::qWaitForWindowActive(&form)) return 1;

  calculator::FieldTexts texts;
  const char* fields[] = {"100", "225", nullptr, "130"};
  for (int i : {calculator::kEdit1, calculator::kEdit2, calculator::kEdit4}) {
    texts[i] = fields[i];
    form.findChild<QLineEdit*>(QStringLiteral("Edit_%1").arg(i + 1))
        ->setText(QString::fromStdString(texts[i]));
  }
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("ComputeBtn")), Qt::LeftButton);
  const calculator::Result result =
      calculator::Compute(calculator::Function::Normal, texts, calculator::Mode::Forward);
  details->ShowResult(result);
  pane->ShowResult(result);
  QTest::qWait(100);
  return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
