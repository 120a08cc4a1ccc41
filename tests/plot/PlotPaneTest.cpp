// The Plot pane on Qt's offscreen platform: stale pictures, saving (the
// same PNG as probex-calc --plot), copying, the inverse option, and the
// desktop's dark palette against paper's black on white.
#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "../window/ScriptedPlatform.h"
#include "Inputs.h"
#include "window/PlotPane.h"

class PlotPaneTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TScriptedPlatform> platform_;
  std::unique_ptr<window::TPlotPane> pane_;
  QTemporaryDir dir_;

  QString File(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  bool StaleLabelShown() const {
    return pane_->findChild<QLabel*>(QStringLiteral("PlotStaleLabel"))->isVisible();
  }

 private slots:
  void init() {
    pane_.reset();
    platform_ = std::make_unique<TScriptedPlatform>();
    pane_ = std::make_unique<window::TPlotPane>(*platform_);
    pane_->resize(640, 440);
    pane_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane_.get()));
  }
  void cleanup() {
    QVERIFY(platform_->unexpected.isEmpty());
    pane_.reset();
    platform_.reset();
  }

  void invalidInputOrErrorLeavesThePictureMarkedStale() {
    QVERIFY(!pane_->HasPlot());
    pane_->ShowResult(ResultOf({"normal", "100", "225", "130"}));
    QVERIFY(pane_->HasPlot());
    const QString title = pane_->Model().title;
    for (const auto& words : std::vector<std::vector<std::string>>{
             {"normal", "100", "-1", "130"}, {"binomial", "0.5", "2147483647", "0"}}) {
      const calculator::Result bad = ResultOf(words);
      QVERIFY(!bad.Ok());
      pane_->ShowResult(bad);
      QVERIFY(pane_->IsStale());
      QVERIFY(StaleLabelShown());
      QCOMPARE(pane_->Model().title, title);
    }
    pane_->ShowResult(ResultOf({"t", "5", "1"}));
    QVERIFY(!pane_->IsStale());
    QVERIFY(!StaleLabelShown());
  }

  void savedPngIsWhatTheCommandLineWrites() {
    pane_->ShowResult(ResultOf({"binomial", "0.3", "20", "5"}));
    platform_->saveAnswers.push_back(File("pane.png"));
    platform_->saveAnswers.push_back(File("second"));
    pane_->SavePlotAs();
    pane_->SavePlotAs();  // without an extension: PNG
    const QSize size = pane_->CanvasSize();
    QProcess calc;
    calc.start(
        QStringLiteral(PROBEX_CALC),
        {QStringLiteral("--plot"), File("calc.png"), QStringLiteral("--size"),
         QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), QStringLiteral("binomial"),
         QStringLiteral("0.3"), QStringLiteral("20"), QStringLiteral("5")});
    QVERIFY(calc.waitForFinished(30000));
    QCOMPARE(calc.exitCode(), 0);
    QVERIFY(QFile::exists(File("second.png")));
    QFile pane(File("pane.png")), command(File("calc.png"));
    QVERIFY(pane.open(QIODevice::ReadOnly) && command.open(QIODevice::ReadOnly));
    QCOMPARE(QImage(File("pane.png")).size(), size);
    QVERIFY(pane.readAll() == command.readAll());
  }

  void saveFailureAndCountingFunctions() {
    pane_->ShowResult(ResultOf({"normal", "0", "1", "0"}));
    platform_->saveAnswers.push_back(File("plot.gif"));
    QVERIFY_THROWS_EXCEPTION(window::EWindowError, pane_->SavePlotAs());
    pane_->ShowResult(ResultOf({"factorial", "5"}));
    QVERIFY(!pane_->HasPlot());
    QVERIFY(!pane_->SavePlotAction()->isEnabled());
    pane_->SavePlotAs();  // asks nothing: cleanup finds no unexpected dialog
    pane_->CopyPlot();
    QVERIFY(platform_->clipboardImages.isEmpty());
  }

  void copyIsBlackOnWhiteInADarkDesktop() {
    QPalette dark = pane_->palette();
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    pane_->setPalette(dark);
    pane_->ShowResult(ResultOf({"chisquare", "10", "18.307038"}));
    const QImage screen =
        pane_->findChild<QWidget*>(QStringLiteral("PlotCanvas"))->grab().toImage();
    QCOMPARE(screen.pixelColor(1, 1), QColor(0x20, 0x20, 0x20));
    // The title, light on dark, in the top 30 logical pixels.
    int light = 0;
    for (int y = 0; y < 30 * screen.devicePixelRatio(); ++y)
      for (int x = 0; x < screen.width(); ++x) light += screen.pixelColor(x, y).lightness() > 160;
    QVERIFY(light > 100);
    pane_->CopyPlot();
    QCOMPARE(platform_->clipboardImages.size(), 1);
    const QImage copied = platform_->clipboardImages.first();
    QCOMPARE(copied.size(), pane_->CanvasSize() * pane_->devicePixelRatioF());
    QCOMPARE(copied.pixelColor(1, 1), QColor(Qt::white));
  }

  // A page at 300 dpi: the picture fills its rectangle below the log, in
  // the texts' printed size, and leaves the rest of the page alone.
  void paintsOnAPageWithinItsRectangle() {
    constexpr double kDotsPerMetre = 300 / 0.0254;
    QImage page(2480, 3508, QImage::Format_RGB32);
    page.setDotsPerMeterX(static_cast<int>(kDotsPerMetre));
    page.setDotsPerMeterY(static_cast<int>(kDotsPerMetre));
    page.fill(Qt::white);
    pane_->ShowResult(ResultOf({"poisson", "6", "8"}));
    const QRect target(200, 1800, 2080, 1300);
    QPainter painter(&page);
    pane_->PaintOnPage(painter, target, 10);
    painter.end();
    int inside = 0, outside = 0;
    for (int y = 0; y < page.height(); y += 2)
      for (int x = 0; x < page.width(); x += 2)
        (target.contains(x, y) ? inside : outside) += page.pixel(x, y) != qRgb(255, 255, 255);
    QCOMPARE(outside, 0);
    QVERIFY(inside > 100000);
  }

  // A screen reader hears "Plot", the result's title and legend, and staleness.
  void accessibleNameAndDescriptionFollowTheResult() {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(
        pane_->findChild<QWidget*>(QStringLiteral("PlotCanvas")));
    QCOMPARE(reader->text(QAccessible::Name), QString("Plot"));
    pane_->ShowResult(ResultOf({"--between", "binomial", "0.5", "10", "3", "7"}));
    QCOMPARE(reader->text(QAccessible::Description),
             "Binomial Distribution, p=0.500000, n=10. P(3<=X<=7)=0.890625. "
             "P(X<3 or X>7)=0.109375");
    pane_->ShowResult(ResultOf({"normal", "100", "-1", "130"}));
    QVERIFY(reader->text(QAccessible::Description).endsWith("an invalid field."));
  }

  void inverseOptionShadesTheCentralInterval() {
    auto* central = pane_->findChild<QCheckBox*>(QStringLiteral("PlotCentralBox"));
    pane_->ShowResult(ResultOf({"normal", "0", "1", "0"}));
    QVERIFY(!central->isEnabled());
    pane_->ShowResult(ResultOf({"--inverse", "normal", "0", "1", "0.975"}));
    QVERIFY(central->isEnabled());
    QCOMPARE(pane_->Model().areas.size(), size_t{2});
    central->click();
    QCOMPARE(pane_->Model().areas.size(), size_t{1});
    QVERIFY(pane_->Model().areas[0].shade == plot::Shade::Central);
  }
};

QTEST_MAIN(PlotPaneTest)
#include "PlotPaneTest.moc"
