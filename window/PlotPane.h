// The Plot pane: the picture of the last result, redrawn after each Compute.
//
// ShowResult shows the plot models (plot/PlotModel.h) of a result, built
// beforehand on any thread (Models; the window builds them on a worker),
// and the canvas paints them with PaintPlot in the desktop's colours.  A
// result with an invalid field or a run-time error leaves the picture as it is and says
// above it that it belongs to the previous result.  For an inverse result
// the option below the picture shades the central interval instead of the
// two tails.  The right-click menu saves the picture (PNG or SVG by the
// name's extension) and copies it to the clipboard as an image, both black
// on white like paper, through TPlatform so that tests answer the dialog.
// The canvas is named "Plot" to a screen reader and described by the
// picture's title and legend (plot::DescribePlot), and the staleness.
//
// The main window docks the pane and adds the File menu entries and the
// Print choice through SavePlotAs, CopyPlot, HasPlot, PlotImage and
// PaintOnPage.
#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>
#include <optional>

#include "calculator/Calculator.h"
#include "plot/PlotModel.h"

class QAction;
class QCheckBox;
class QLabel;
class QPainter;

namespace window {

class TPlatform;

// The pictures of one result: its tails, and for an inverse result the
// central interval as well, so that the option shows it at once.
struct TPlotModels {
  plot::PlotModel tails;
  plot::PlotModel central;
};

class TPlotPane : public QWidget {
  Q_OBJECT

 public:
  explicit TPlotPane(TPlatform& platform, QWidget* parent = nullptr);

  // Whether the pane shows a picture (not only a message).
  bool HasPlot() const { return model_.HasPicture(); }
  // Whether the picture belongs to an earlier result than the last one shown.
  bool IsStale() const { return stale_; }
  const plot::PlotModel& Model() const { return model_; }

  // The picture black on white at `size` logical pixels.
  QImage PlotImage(QSize size, double devicePixelRatio = 1) const;
  // Paints the picture black on white into `target` on any painter (a
  // printer's page), laid out at the scale of the painter's device at which
  // the body texts measure `points`.
  void PaintOnPage(QPainter& painter, const QRectF& target, double points) const;
  // The size the picture has on the screen, which Save Plot As writes.
  QSize CanvasSize() const;

  // The inverse option: the central interval instead of the two tails.
  bool CentralInterval() const;
  void SetCentralInterval(bool central);

  // The pane's menu entries, for the main window's menus.
  QAction* SavePlotAction() const { return saveAction_; }
  QAction* CopyPlotAction() const { return copyAction_; }

  // The pictures of `result`, built on any thread.
  static TPlotModels Models(const calculator::Result& result);

  // Shows `result` with its Models.
  void ShowResult(const calculator::Result& result, TPlotModels models);
  void ShowResult(const calculator::Result& result) { ShowResult(result, Models(result)); }

 public slots:
  // Raise EWindowError when the file or the clipboard fails.
  void SavePlotAs();
  void CopyPlot();

 signals:
  // After every change of the picture or of its staleness.
  void PlotChanged();

 private:
  void Rebuild();
  void UpdateControls();

  TPlatform& platform_;
  std::optional<calculator::Result> shown_;  // the result the picture belongs to
  TPlotModels models_;                       // its pictures
  plot::PlotModel model_;                    // the one on show
  bool stale_ = false;
  QString saveFileName_;

  QWidget* canvas_ = nullptr;
  QLabel* staleLabel_ = nullptr;
  QCheckBox* centralBox_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* copyAction_ = nullptr;
};

}  // namespace window
