#include "window/PlotPane.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QPaintDevice>
#include <QPainter>
#include <QVBoxLayout>
#include <utility>

#include "plot/PlotFile.h"
#include "plot/PlotPainter.h"
#include "window/Application.h"
#include "window/Errors.h"
#include "window/Platform.h"

namespace window {

namespace {

constexpr double kPointsPerInch = 72;
// The canvas's size before the pane is shown, and what it asks for.
constexpr QSize kDefaultCanvasSize(800, 500);
// The smallest canvas fits the narrowest dock (its title wraps there); the
// check box's words are short for the same reason.
constexpr QSize kSmallestCanvasSize(160, 160);

// The drawing area of the pane.
class TPlotCanvas : public QWidget {
 public:
  TPlotCanvas(const plot::PlotModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName(QStringLiteral("PlotCanvas"));
    setAccessibleName(QStringLiteral("Plot"));
    setMinimumSize(kSmallestCanvasSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  QSize sizeHint() const override { return kDefaultCanvasSize / 2; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    plot::PaintPlot(painter, rect(), model_,
                    plot::PlotStyle::Screen(palette(), font(), logicalDpiY()));
  }

 private:
  const plot::PlotModel& model_;
};

const char* StaleReason(const calculator::Result& result) {
  return result.outcome == calculator::Outcome::Invalid
             ? "This picture belongs to the previous result: the last input has an invalid field."
             : "This picture belongs to the previous result: the last computation ended in an "
               "error.";
}

plot::PlotModel Welcome() {
  plot::PlotModel model;
  model.message = QStringLiteral("Compute a distribution to see its picture here.");
  return model;
}

}  // namespace

TPlotPane::TPlotPane(TPlatform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform), model_(Welcome()) {
  setObjectName(QStringLiteral("PlotPane"));
  staleLabel_ = new QLabel(this);
  staleLabel_->setObjectName(QStringLiteral("PlotStaleLabel"));
  staleLabel_->setWordWrap(true);
  staleLabel_->hide();
  canvas_ = new TPlotCanvas(model_, this);
  centralBox_ = new QCheckBox(QStringLiteral("Shade central interval"), this);
  centralBox_->setObjectName(QStringLiteral("PlotCentralBox"));
  centralBox_->setToolTip(
      QStringLiteral("For an inverse result, shade the central interval between its two "
                     "x-values instead of the two tails"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(staleLabel_);
  layout->addWidget(canvas_, 1);
  layout->addWidget(centralBox_);

  saveAction_ = new QAction(QStringLiteral("Save Plot As..."), this);
  saveAction_->setObjectName(QStringLiteral("SavePlotItem"));
  copyAction_ = new QAction(QStringLiteral("Copy Plot"), this);
  copyAction_->setObjectName(QStringLiteral("CopyPlotItem"));
  // The right-click menu is the pane's actions.
  setContextMenuPolicy(Qt::ActionsContextMenu);
  addAction(saveAction_);
  addAction(copyAction_);
  connect(saveAction_, &QAction::triggered, this, [this] { RunCommand([this] { SavePlotAs(); }); });
  connect(copyAction_, &QAction::triggered, this, [this] { RunCommand([this] { CopyPlot(); }); });
  connect(centralBox_, &QCheckBox::toggled, this, &TPlotPane::Rebuild);
  UpdateControls();
}

QImage TPlotPane::PlotImage(QSize size, double devicePixelRatio) const {
  return plot::PlotImage(size, model_, devicePixelRatio);
}

void TPlotPane::PaintOnPage(QPainter& painter, const QRectF& target, double points) const {
  const plot::PlotStyle paper = plot::PlotStyle::Paper();
  // Device units per logical pixel of the layout.
  const double scale =
      points * painter.device()->logicalDpiY() / (kPointsPerInch * paper.font.pixelSize());
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(scale, scale);
  plot::PaintPlot(painter, QRectF(0, 0, target.width() / scale, target.height() / scale), model_,
                  paper);
  painter.restore();
}

QSize TPlotPane::CanvasSize() const {
  return canvas_->isVisible() && !canvas_->size().isEmpty() ? canvas_->size() : kDefaultCanvasSize;
}

bool TPlotPane::CentralInterval() const {
  return centralBox_->isChecked();
}

void TPlotPane::SetCentralInterval(bool central) {
  centralBox_->setChecked(central);
}

TPlotModels TPlotPane::Models(const calculator::Result& result) {
  if (!result.Ok()) return {};
  TPlotModels models{plot::BuildPlotModel(result, plot::InverseShading::Tails), {}};
  if (result.Inverse())
    models.central = plot::BuildPlotModel(result, plot::InverseShading::Central);
  return models;
}

void TPlotPane::ShowResult(const calculator::Result& result, TPlotModels models) {
  if (!result.Ok()) {
    // The picture stays; only a picture can belong to an earlier result.
    stale_ = shown_.has_value();
    staleLabel_->setText(QString::fromLatin1(StaleReason(result)));
    UpdateControls();
    emit PlotChanged();
    return;
  }
  shown_ = result;
  models_ = std::move(models);
  stale_ = false;
  Rebuild();
}

void TPlotPane::Rebuild() {
  if (shown_) model_ = CentralInterval() && shown_->Inverse() ? models_.central : models_.tails;
  UpdateControls();
  canvas_->update();
  emit PlotChanged();
}

void TPlotPane::UpdateControls() {
  staleLabel_->setVisible(stale_);
  canvas_->setAccessibleDescription(
      plot::DescribePlot(model_) +
      (stale_ ? QStringLiteral(". ") + staleLabel_->text() : QString()));
  centralBox_->setEnabled(shown_ && shown_->Inverse());
  saveAction_->setEnabled(HasPlot());
  copyAction_->setEnabled(HasPlot());
}

void TPlotPane::SavePlotAs() {
  if (!HasPlot()) return;
  const std::optional<QString> answer = platform_.GetSaveFileName(
      this, saveFileName_.isEmpty() ? QStringLiteral("plot.png") : saveFileName_,
      {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)")});
  if (!answer) return;
  QString fileName = *answer;
  // A name without an extension gets that of the PNG picture.
  if (QFileInfo(fileName).suffix().isEmpty()) fileName += QStringLiteral(".png");
  saveFileName_ = fileName;
  const QString error = plot::WritePlotFile(fileName, CanvasSize(), model_);
  if (!error.isEmpty()) throw EWindowError(error.toStdString());
}

void TPlotPane::CopyPlot() {
  if (!HasPlot()) return;
  platform_.SetClipboardImage(PlotImage(CanvasSize(), devicePixelRatioF()));
}

}  // namespace window
