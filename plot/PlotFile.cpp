// The plot as a picture file or an image.
#include "plot/PlotFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include "files/WholeFile.h"
#include "plot/PlotPainter.h"

namespace plot {

namespace {

// SVG lengths are given in pixels of this resolution (CSS pixels).
constexpr int kSvgDotsPerInch = 96;

// The SVG text of the plot; none when the painter cannot start.
std::optional<QByteArray> SvgBytes(const QSize& size, const PlotModel& model) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(kSvgDotsPerInch);
  generator.setTitle(model.title);
  QPainter painter;
  if (!painter.begin(&generator)) return std::nullopt;
  PaintPlot(painter, QRectF(QPointF(0, 0), size), model, PlotStyle::Paper());
  painter.end();
  return bytes;
}

std::optional<QByteArray> PngBytes(const QSize& size, const PlotModel& model) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !PlotImage(size, model).save(&buffer, "PNG"))
    return std::nullopt;
  return bytes;
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
  // The whole picture first, then the file written whole: a failed write
  // leaves the old picture as it was.
  const std::optional<QByteArray> bytes =
      *type == FileType::Svg ? SvgBytes(size, model) : PngBytes(size, model);
  if (!bytes) return QStringLiteral("Cannot write ") + path;
  const QString failure = files::WriteWhole(path, *bytes);
  if (!failure.isEmpty())
    return QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + failure;
  return {};
}

}  // namespace plot
