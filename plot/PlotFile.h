// The plot as a picture file or an image, always black on white
// (PlotStyle::Paper) and painted by PaintPlot like the pane.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

#include "plot/PlotModel.h"

namespace plot {

enum class FileType { Png, Svg };

// The type a file name asks for by its extension (".png", ".svg", any case).
std::optional<FileType> FileTypeOf(const QString& path);

// The plot at `size` logical pixels; a device pixel ratio of 2 gives twice
// the pixels, as sharp as the screen at scale 2.
QImage PlotImage(const QSize& size, const PlotModel& model, double devicePixelRatio = 1);

// Writes the plot at `size` pixels to `path` as PNG or SVG by its extension.
// An empty answer on success, otherwise what went wrong.
QString WritePlotFile(const QString& path, const QSize& size, const PlotModel& model);

}  // namespace plot
