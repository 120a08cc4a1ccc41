// The plot layer: pictures rendered offscreen and checked for what matters
// in them (shaded shares against the printed tails, the line at x, nothing
// of the distribution outside the plot area), models at the extremes, round
// ticks and the files.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <charconv>
#include <cmath>
#include <ostream>
#include <tuple>

#include "Inputs.h"
#include "plot/PlotFile.h"
#include "plot/PlotPainter.h"
#include "plot/Ticks.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* out) {
  *out << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using namespace plot;

const QSize kSize(800, 500);
// A pixel whose channels differ by more than this is coloured, not grey text.
constexpr int kColouredSpread = 30;

bool Coloured(QRgb c) {
  const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
  const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
  return hi - lo > kColouredSpread;
}

struct Rendered {
  PlotModel model;
  QImage image;
  PlotLayout layout;
};

Rendered Render(const std::vector<std::string>& words, QSize size = kSize) {
  Rendered r{BuildPlotModel(ResultOf(words)), {}, {}};
  r.image = PlotImage(size, r.model).convertToFormat(QImage::Format_RGB32);
  r.layout = LayoutPlot(QRectF(QPointF(0, 0), size), r.model, PlotStyle::Paper());
  return r;
}

// A case's label and the words of its probex-calc command stand for it.
void PrintCase(const char* label, const std::vector<std::string>& words, std::ostream* os) {
  *os << label << ':';
  for (const std::string& word : words) *os << ' ' << word;
}

// --- Shaded shares --------------------------------------------------------

struct ShareCase {
  const char* label;
  std::vector<std::string> words;
  double lower;  // P(X<x) as the log prints it
};

void PrintTo(const ShareCase& c, std::ostream* os) {
  PrintCase(c.label, c.words, os);
}

class ShadedShare : public testing::TestWithParam<ShareCase> {};

// The lower tail's pixels against all shaded pixels under the curve.
TEST_P(ShadedShare, MatchesThePrintedTail) {
  const ShareCase& c = GetParam();
  const Rendered r = Render(c.words);
  const PlotStyle style = PlotStyle::Paper();
  long lower = 0, upper = 0;
  for (int y = 0; y < r.image.height(); ++y)
    for (int x = 0; x < r.image.width(); ++x) {
      const QRgb p = r.image.pixel(x, y);
      lower += p == style.lower.rgb();
      upper += p == style.upper.rgb();
    }
  ASSERT_GT(lower + upper, 10000);
  EXPECT_NEAR(static_cast<double>(lower) / static_cast<double>(lower + upper), c.lower, 0.015);
}

INSTANTIATE_TEST_SUITE_P(
    Plot, ShadedShare,
    testing::Values(ShareCase{"NormalAtTwoSigma", {"normal", "100", "225", "130"}, 0.977250},
                    ShareCase{"NormalNearCentre", {"normal", "0", "1", "0.5"}, 0.691462},
                    ShareCase{"ChiSquareFour", {"chisquare", "4", "5"}, 0.712703},
                    ShareCase{"ChiSquareThirty", {"chisquare", "30", "25"}, 0.274968}),
    [](const auto& info) { return std::string(info.param.label); });

// --- The line at x ----------------------------------------------------------

TEST(PlotPicture, TheLineSitsAtX) {
  for (const auto& [words, x] : std::vector<std::pair<std::vector<std::string>, long double>>{
           {{"normal", "100", "225", "130"}, 130},
           {{"chisquare", "10", "3"}, 3},
           {{"t", "1", "-2"}, -2}}) {
    const Rendered r = Render(words);
    const QRectF& area = r.layout.area;
    const double expected =
        area.left() +
        area.width() * static_cast<double>((x - r.model.x.low) / (r.model.x.high - r.model.x.low));
    // The red columns of a row near the top, where no curve passes, each
    // weighed by how red it is (the line's edges are antialiased).
    const int row = static_cast<int>(area.top()) + 3;
    double sum = 0, weight = 0;
    for (int px = static_cast<int>(area.left()); px < area.right(); ++px) {
      const QRgb p = r.image.pixel(px, row);
      const double red = qRed(p) - qGreen(p);
      if (red > 0) sum += (px + 0.5) * red, weight += red;
    }
    ASSERT_GT(weight, 100.0) << words[0];
    EXPECT_NEAR(sum / weight, expected, 0.5) << words[0];
  }
}

// --- Nothing outside the plot area -----------------------------------------

class InsideTheArea : public testing::TestWithParam<std::vector<std::string>> {};

// Everything coloured (fills, outline, lines at x) lies in the plot area or
// in the legend's swatches; the texts and axes are black and grey.
TEST_P(InsideTheArea, NothingColouredOutside) {
  const Rendered r = Render(GetParam(), QSize(520, 320));
  ASSERT_TRUE(r.model.HasPicture()) << r.model.message.toStdString();
  // A pixel more on each side for the antialiased edges.
  const QRectF area = r.layout.area.adjusted(-1, -1, 1, 1);
  const QRectF legend = r.layout.legend.adjusted(-1, -1, 1, 1);
  int outside = 0;
  for (int y = 0; y < r.image.height(); ++y)
    for (int x = 0; x < r.image.width(); ++x) {
      const QPointF p(x + 0.5, y + 0.5);
      if (area.contains(p) || legend.contains(p)) continue;
      outside += Coloured(r.image.pixel(x, y));
    }
  EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Plot, InsideTheArea,
    testing::Values(std::vector<std::string>{"chisquare", "1", "0.5"},  // a pole at 0
                    std::vector<std::string>{"f", "1", "1", "100"},     // x beyond the range
                    std::vector<std::string>{"t", "1", "0"},
                    std::vector<std::string>{"--inverse", "normal", "0", "1", "0.975"},
                    std::vector<std::string>{"binomial", "0.3", "20", "5"},
                    std::vector<std::string>{"poisson", "100000000", "99990000"}));

// --- The pane's smallest size ------------------------------------------------

// The title shows whole, and the y-axis has two labels or more, apart.
TEST(PlotPicture, SmallestShowsTheWholeTitleAndTwoLabelsOnY) {
  for (const auto& words :
       std::vector<std::vector<std::string>>{{"normal", "0", "1", "0.5"},
                                             {"noncentralf", "3", "20", "2", "1.5"},
                                             {"beta", "0.5", "0.5", "0.3"},
                                             {"--between", "binomial", "0.5", "10", "3", "7"}}) {
    const Rendered r = Render(words, QSize(240, 160));
    const QRectF& title = r.layout.title;
    EXPECT_LE(QFontMetricsF(r.layout.titleFont)
                  .boundingRect(QRectF(0, 0, title.width(), 1000), Qt::TextWordWrap, r.model.title)
                  .height(),
              title.height() + 0.5);
    ASSERT_GE(r.layout.yTicks.size(), 2u) << words[0];
    const double apart = (r.layout.yTicks[1].at - r.layout.yTicks[0].at) * r.layout.area.height();
    EXPECT_GE(apart, QFontMetricsF(PlotStyle::Paper().font).height()) << words[0];
  }
}

// --- Extremes ------------------------------------------------------------------

struct ExtremeCase {
  const char* label;
  std::vector<std::string> words;
  Drawing drawing;
};

void PrintTo(const ExtremeCase& c, std::ostream* os) {
  PrintCase(c.label, c.words, os);
}

class Extremes : public testing::TestWithParam<ExtremeCase> {};

bool Unit(double v, double most = 1) {
  return std::isfinite(v) && v >= 0 && v <= most;
}

// Finite positions in the area, a bounded number of bars and points.
TEST_P(Extremes, StayFiniteAndBounded) {
  const ExtremeCase& c = GetParam();
  const PlotModel m = BuildPlotModel(ResultOf(c.words));
  ASSERT_EQ(m.drawing, c.drawing) << m.message.toStdString();
  EXPECT_TRUE(std::isfinite(m.y.high) && m.y.high > 0);
  EXPECT_LT(m.x.low, m.x.high);
  EXPECT_LE(m.bars.size(), 300u);
  EXPECT_LE(m.outline.size(), 1300u);
  for (const QPointF& p : m.outline) EXPECT_TRUE(Unit(p.x()) && Unit(p.y(), 1.05)) << p.x();
  for (const Bar& b : m.bars) EXPECT_TRUE(Unit(b.from) && Unit(b.to) && Unit(b.height));
  for (const Area& a : m.areas) EXPECT_TRUE(Unit(a.from) && Unit(a.to));
  for (const Marker& k : m.markers) EXPECT_TRUE(Unit(k.at));
}

INSTANTIATE_TEST_SUITE_P(
    Plot, Extremes,
    testing::Values(
        ExtremeCase{
            "ChiSquareLargestDf", {"chisquare", "1073741823", "1073741823"}, Drawing::Curve},
        ExtremeCase{"TLargestDf", {"t", "1073741823", "0.5"}, Drawing::Curve},
        ExtremeCase{"FLargestDf", {"f", "1073741823", "1073741823", "1"}, Drawing::Curve},
        ExtremeCase{
            "FInverseLargestDf", {"--inverse", "f", "1073741823", "1", "0.999999"}, Drawing::Curve},
        ExtremeCase{"TOneDfFarOut", {"t", "1", "1e300"}, Drawing::Curve},
        ExtremeCase{"NormalHugeVariance", {"normal", "0", "1e4000", "1"}, Drawing::Curve},
        ExtremeCase{"NormalTinyVariance", {"normal", "1e6", "0.000001", "1e6"}, Drawing::Curve},
        ExtremeCase{
            "BinomialBillion", {"binomial", "0.5", "1000000000", "500000000"}, Drawing::Steps},
        ExtremeCase{"BinomialTinyP", {"binomial", "1e-12", "1000000000", "0"}, Drawing::Bars},
        ExtremeCase{"PoissonHundredMillion", {"poisson", "100000000", "5"}, Drawing::Steps},
        ExtremeCase{"PoissonHuge", {"poisson", "1e30", "5"}, Drawing::Steps},
        ExtremeCase{"HypergeometricLarge",
                    {"hypergeometric", "1000000", "1000000", "1000000", "500000"},
                    Drawing::Steps},
        ExtremeCase{"HypergeometricEmpty", {"hypergeometric", "0", "0", "0", "0"}, Drawing::Bars}),
    [](const auto& info) { return std::string(info.param.label); });

// Poles at either end of the support leave the top with a note, the axis
// scaled to the density away from them; a discrete quantile says why x; the
// bars of an interval's bounds have no line through their middles.
TEST(PlotModel, NotesSayWhatThePictureCannotShow) {
  for (const auto& [words, note, top] :
       std::vector<std::tuple<std::vector<std::string>, const char*, double>>{
           {{"beta", "0.5", "0.5", "0.3"}, "without bound at x=0.000000 and x=1.000000", 5},
           {{"gamma", "0.5", "1", "0.2"}, "without bound at x=0.000000;", 5},
           {{"chisquare", "4", "5"}, "", 0.25},
           {{"--inverse", "binomial", "0.5", "10", "0.5"}, "x=5 is the smallest x", 0.3}}) {
    const PlotModel m = BuildPlotModel(ResultOf(words));
    EXPECT_TRUE(note[0] ? m.note.contains(QLatin1String(note)) : m.note.isEmpty())
        << m.note.toStdString();
    EXPECT_LT(m.y.high, top) << words[0];
  }
  for (const Marker& k :
       BuildPlotModel(ResultOf({"--between", "binomial", "0.5", "10", "3", "7"})).markers)
    EXPECT_FALSE(k.line);
}

TEST(PlotModel, NothingToPlot) {
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"factorial", "5"}, {"binomialcoefficient", "5", "2"}, {"normal", "1e4000", "1", "0"}}) {
    const PlotModel m = BuildPlotModel(ResultOf(words));
    EXPECT_FALSE(m.HasPicture()) << words[0];
    EXPECT_TRUE(m.message.startsWith(QStringLiteral("Nothing to plot"))) << words[0];
  }
}

TEST(PlotModel, InverseShadesTailsOrTheCentralInterval) {
  const calculator::Result r = ResultOf({"--inverse", "normal", "0", "1", "0.975"});
  const PlotModel tails = BuildPlotModel(r, InverseShading::Tails);
  ASSERT_EQ(tails.areas.size(), 2u);
  EXPECT_TRUE(tails.areas[1].hatched);  // the tails overlap between the x-values
  EXPECT_EQ(tails.legend[0].text, QStringLiteral("P(X<1.959964)=0.975000"));
  const PlotModel central = BuildPlotModel(r, InverseShading::Central);
  ASSERT_EQ(central.areas.size(), 1u);
  EXPECT_EQ(central.legend[0].text, QStringLiteral("P(-1.959964<X<1.959964)=0.950000"));
  EXPECT_NEAR(central.areas[0].to - central.areas[0].from,
              2 * 1.959964 / static_cast<double>(central.x.high - central.x.low), 1e-6);
}

// --- Ticks -------------------------------------------------------------------------

struct TickCase {
  const char* label;
  long double low, high;
  int most;
  bool whole;
  std::vector<const char*> labels;
};

// The shortest text that reads back as `v`.
std::string Shortest(long double v) {
  char text[64];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

void PrintTo(const TickCase& c, std::ostream* os) {
  *os << c.label << ": RoundTicks(" << Shortest(c.low) << ", " << Shortest(c.high) << ", " << c.most
      << ", " << (c.whole ? "whole" : "real") << ')';
}

class Ticks : public testing::TestWithParam<TickCase> {};

TEST_P(Ticks, AreRoundAndLabelledByTheirStep) {
  const TickCase& c = GetParam();
  QStringList labels;
  for (const Tick& t : RoundTicks(c.low, c.high, c.most, c.whole)) {
    labels << t.label;
    EXPECT_TRUE(t.at >= 0 && t.at <= 1);
  }
  QStringList expected;
  for (const char* l : c.labels) expected << QString::fromLatin1(l);
  EXPECT_EQ(labels, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Plot, Ticks,
    testing::Values(
        TickCase{"Unit", 0, 1, 6, false, {"0", "0.2", "0.4", "0.6", "0.8", "1.0"}},
        TickCase{"AcrossZero", -3.7L, 3.7L, 8, false, {"-3", "-2", "-1", "0", "1", "2", "3"}},
        TickCase{"Twenties", 44.2L, 155.8L, 6, false, {"60", "80", "100", "120", "140"}},
        TickCase{"Billions",
                 1.07358e9L,
                 1.07390e9L,
                 4,
                 false,
                 {"1.0736e9", "1.0737e9", "1.0738e9", "1.0739e9"}},
        TickCase{"Tiny", 0, 4.3e-5L, 5, false, {"0", "0.00001", "0.00002", "0.00003", "0.00004"}},
        TickCase{"Far", 0, 4.2e-2001L, 5, false, {"0", "1e-2001", "2e-2001", "3e-2001", "4e-2001"}},
        TickCase{"WholeOnly", -0.5L, 3.5L, 20, true, {"0", "1", "2", "3"}},
        TickCase{"TwoWhereOneFits", 0, 0.43L, 2, false, {"0", "0.25"}},
        TickCase{"TwoAndAHalf", 0, 4.5L, 2, false, {"0", "2.5"}},
        TickCase{"TwoAtMostOne", 0, 1.08L, 1, false, {"0", "1"}},
        TickCase{"Empty", 1, 1, 5, false, {}},
        TickCase{"BelowPrecision", 1e30L, 1e30L + 1e10L, 5, false, {}}),
    [](const auto& info) { return std::string(info.param.label); });

// --- Files -----------------------------------------------------------------------------

TEST(PlotFile, SvgIsValidXmlWithTheTitle) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("plot.svg"));
  const PlotModel m = BuildPlotModel(ResultOf({"binomial", "0.3", "20", "5"}));
  ASSERT_EQ(WritePlotFile(path, kSize, m), QString());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QStringList elements;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement) elements << xml.name().toString();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  ASSERT_FALSE(elements.isEmpty());
  EXPECT_EQ(elements.first(), QStringLiteral("svg"));
  EXPECT_TRUE(elements.contains(QStringLiteral("text")));
}

TEST(PlotFile, RefusesOtherTypesAndUnwritablePlaces) {
  const PlotModel m = BuildPlotModel(ResultOf({"normal", "0", "1", "0"}));
  EXPECT_FALSE(WritePlotFile(QStringLiteral("/tmp/plot.jpg"), kSize, m).isEmpty());
  EXPECT_FALSE(WritePlotFile(QStringLiteral("/nonexistent/plot.png"), kSize, m).isEmpty());
  EXPECT_FALSE(WritePlotFile(QStringLiteral("/nonexistent/plot.svg"), kSize, m).isEmpty());
}

// A device in the picture's place (/dev/full: every write fails) is refused
// with a reason, never reported as written; the node stays a device.
TEST(PlotFile, NeverReportsAFailedWriteAsDone) {
  QTemporaryDir dir;
  const PlotModel m = BuildPlotModel(ResultOf({"normal", "0", "1", "0"}));
  for (const char* name : {"full.png", "full.svg"}) {
    const QString path = dir.filePath(QLatin1String(name));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/full"), path));
    EXPECT_TRUE(WritePlotFile(path, kSize, m).endsWith(QStringLiteral("Not a regular file.")))
        << name;
    EXPECT_TRUE(QFileInfo(path).isSymLink()) << name;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
