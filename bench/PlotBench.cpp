// The redraw of the Plot pane after a Compute press: the plot model of a
// result (ranges, densities or probabilities from the details engine) and
// its painting at 800x500 pixels, at typical inputs and at the extremes the
// fields accept: degrees of freedom 2^30 - 1, a binomial n of 10^9, a
// Poisson mean of 10^8, the hypergeometric urns of a million, a pole at 0.
// The result itself is computed once, outside the measurement (its time is
// the report's, measured in ReportsBench.cpp).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchRegistry.h"
#include "cli/Command.h"
#include "plot/PlotPainter.h"

namespace {

// The pane's redraw must keep within a frame at 60 per second.
constexpr double kRedrawTargetMs = 16;
const QSize kPaneSize(800, 500);

struct RedrawCase {
  const char* name;
  std::vector<std::string> words;  // a probex-calc command
};

const RedrawCase kCases[] = {
    {"RedrawNormal", {"normal", "100", "225", "130"}},
    {"RedrawNormalInverse", {"--inverse", "normal", "0", "1", "0.975"}},
    {"RedrawTOneDf", {"t", "1", "3"}},
    {"RedrawChiSquarePole", {"chisquare", "1", "0.5"}},
    {"RedrawChiSquareLargestDf", {"chisquare", "1073741823", "1073741823"}},
    {"RedrawChiSquareInverseLargestDf", {"--inverse", "chisquare", "1073741823", "0.95"}},
    {"RedrawTLargestDf", {"t", "1073741823", "2"}},
    {"RedrawTInverseLargestDf", {"--inverse", "t", "1073741823", "0.999999"}},
    {"RedrawFLargestDf", {"f", "1073741823", "1073741823", "1"}},
    {"RedrawFInverseLargestDf", {"--inverse", "f", "1073741823", "1073741823", "0.95"}},
    {"RedrawBinomialBars", {"binomial", "0.3", "600", "180"}},
    {"RedrawBinomialBillion", {"binomial", "0.5", "1000000000", "500000000"}},
    {"RedrawPoissonHundredMillion", {"poisson", "100000000", "100000000"}},
    {"RedrawHypergeometricMillion", {"hypergeometric", "1000000", "1000000", "1000000", "500000"}},
};

// Fonts and painting need a Qt application; offscreen, no display.  It is
// never destroyed: as a static it would go after Qt's own statics at exit,
// and the program crashed there, before its tables were written.
void EnsureApplication() {
  static QGuiApplication* application = nullptr;
  if (application) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "probex_bench";
  static char* argv[] = {name, nullptr};
  application = new QGuiApplication(argc, argv);
}

std::string Input(const RedrawCase& c) {
  std::string text;
  for (const auto& word : c.words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// One redraw of the picture of `result`; what went wrong, or nothing.
std::string Redraw(const calculator::Result& result, QImage& image) {
  const plot::PlotModel model = plot::BuildPlotModel(result);
  if (!model.HasPicture()) return model.message.toStdString();
  QPainter painter(&image);
  plot::PaintPlot(painter, QRectF(QPointF(0, 0), kPaneSize), model, plot::PlotStyle::Paper());
  return "";
}

// The result and the canvas of case i, made at its first run (Google
// Benchmark's first, single-iteration run only sizes the measured ones).
struct Prepared {
  calculator::Result result;
  QImage image;
};

std::string RunCase(size_t i) {
  static std::array<std::optional<Prepared>, std::size(kCases)> prepared;
  if (!prepared[i]) {
    EnsureApplication();
    const cli::ParsedCommand parsed = cli::ParseCommand(kCases[i].words);
    if (!parsed.command) return parsed.usage;
    const cli::Command& c = *parsed.command;
    prepared[i] = Prepared{calculator::Compute(c.function, c.texts, c.mode),
                           QImage(kPaneSize, QImage::Format_ARGB32_Premultiplied)};
  }
  if (!prepared[i]->result.Ok()) return "the input gives no result";
  return Redraw(prepared[i]->result, prepared[i]->image);
}

// The redraw of every distribution of the table at the texts its fields
// start with, computed at the first run as above.
std::string RunDefault(const calculator::FunctionAbout& about, std::optional<Prepared>& prepared) {
  if (!prepared) {
    EnsureApplication();
    calculator::FieldTexts texts;
    for (const calculator::FieldAbout& field : about.fields)
      texts[field.slot] = calculator::FieldDefault(about, field, calculator::Mode::Forward);
    prepared = Prepared{calculator::Compute(about.function, texts, calculator::Mode::Forward),
                        QImage(kPaneSize, QImage::Format_ARGB32_Premultiplied)};
  }
  if (!prepared->result.Ok()) return "the default texts give no result";
  return Redraw(prepared->result, prepared->image);
}

[[maybe_unused]] const bool kRegistered = [] {
  for (size_t i = 0; i < std::size(kCases); ++i)
    bench::RegisterReport({kCases[i].name, Input(kCases[i]), kRedrawTargetMs},
                          [i] { return RunCase(i); });
  for (const calculator::FunctionAbout& about : calculator::Functions()) {
    if (about.family == calculator::Family::Counting) continue;
    auto prepared = std::make_shared<std::optional<Prepared>>();
    bench::RegisterReport(
        {std::string("Redraw/") + about.commandName, "its field defaults", kRedrawTargetMs},
        [&about, prepared] { return RunDefault(about, *prepared); });
  }
  return true;
}();

}  // namespace
