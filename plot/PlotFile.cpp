// The plot as a picture file or an image.
#include "plot/PlotFile.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include "plot/PlotPainter.h"

namespace plot {

namespace {

// SVG lengths are given in pixels of this resolution (CSS pixels).
constexpr int kSvgDotsPerInch = 96;

QString WriteSvg(const QString& path, const QSize& size, const PlotModel& model) {
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(kSvgDotsPerInch);
  generator.setTitle(model.title);
  QPainter painter;
  // begin() opens the file, and fails when it cannot.
  if (!painter.begin(&generator)) return QStringLiteral("Cannot write ") + path;
  PaintPlot(painter, QRectF(QPointF(0, 0), size), model, PlotStyle::Paper());
  painter.end();
  return {};
}

}  // namespace

std::optional<FileType> FileTypeOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return FileType::Png;
  if (suffix == QLatin1String("svg")) return FileType::Svg;
  return std::nullopt;
}

QImage PlotImage(const QSize& size, const PlotModel& model, double devicePixelRatio) {
  QImage image(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPlot(painter, QRectF(QPointF(0, 0), size), model, PlotStyle::Paper());
  return image;
}

QString WritePlotFile(const QString& path, const QSize& size, const PlotModel& model) {
  const std::optional<FileType> type = FileTypeOf(path);
  if (!type) return QStringLiteral("Not a picture type Probex writes (.png or .svg): ") + path;
  if (size.isEmpty()) return QStringLiteral("The picture has no size");
  if (*type == FileType::Svg) return WriteSvg(path, size, model);
  if (!PlotImage(size, model).save(path, "PNG")) return QStringLiteral("Cannot write ") + path;
  return {};
}

}  // namespace plot
