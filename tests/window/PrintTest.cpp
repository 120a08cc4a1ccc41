// Printing the results log: the measuring loop, the scale, the printed font,
// character-wise breaking, pages with their title and number, margins and
// jobs, and the plot's page after the log's, checked in PDF files with
// poppler's pdftotext, pdfinfo, pdffonts and pdftoppm.
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

#include "FormFixture.h"
#include "window/LogPrinting.h"
#include "window/PlotPane.h"

using window::BreakCharacterWise;
using window::MeasuringFont;
using window::MeasuringSize;
using window::PrintFont;
using window::PrintScale;

namespace {

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return "<" + program + " failed>";
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF file (or of one of its pages), one printed line each.
QStringList PdfLines(const QString& file, int page = 0) {
  QStringList arguments;
  if (page > 0) arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
  // -layout: one text line per printed line, and no joining of a line that
  // ends in "-" with the next.
  QStringList lines = Run("pdftotext", arguments << "-layout" << file << "-").split('\n');
  // pdftotext ends each page with a form feed and the text with a line end.
  for (QString& line : lines) line.remove('\f');
  while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

int PdfPages(const QString& file) {
  const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(Run("pdfinfo", {file}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// pdftotext writes runs of blanks as it measures them; compare words only.
QString Words(const QString& text) {
  return text.simplified();
}

// The log's lines on a page, without the title line (Probex, date and time)
// it opens with, the page number it closes with and blank lines.
QStringList PageBody(const QString& file, int page, int pages) {
  QStringList lines = PdfLines(file, page);
  const QRegularExpression title("^Probex, \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d$");
  if (lines.size() < 2 || !title.match(lines.first()).hasMatch() ||
      Words(lines.last()) != QStringLiteral("Page %1 of %2").arg(page).arg(pages))
    return {"<no title or page number>"};
  QStringList body;
  for (const QString& line : lines.mid(1, lines.size() - 2))
    if (!line.isEmpty()) body << line;
  return body;
}

void ToPdf(QPrinter& printer, const QString& file) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
}

// A form whose printer writes `file` as an A4 PDF, set through Print Setup.
void SetUpPdf(TFormFixture& f, const QString& file) {
  f.platform.printerSetupAnswers.push_back([file](QPrinter& printer) { ToPdf(printer, file); });
  f.Item("PrintSetupItem")->trigger();
}

void Print(TFormFixture& f, std::optional<int> copies) {
  f.platform.printAnswers.push_back({copies, {}});
  f.Item("PrintItem")->trigger();
}

}  // namespace

class TPrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void measuringSizeFillsPageWidth_data();
  void measuringSizeFillsPageWidth();
  void printScale_data();
  void printScale();
  void printFont_data();
  void printFont();
  void printFontOutOfRange();
  void breakCharacterWise_data();
  void breakCharacterWise();
  void printsLogToPdf();
  void manyLinesMakePages();
  void longLineBreaksBetweenCharacters();
  void twoCopiesMakeTwoJobs();
  void emptyLogTwoCopies();
  void noCopies_data();
  void noCopies();
  void printerThatCannotStart();
  void noPrinterAtAll();
  void blackTextOnWhitePaper();
  void printUsesLogFont();
  void printSetupServesPrinting();
  void plotPageIsNumberedWithTheLog();

 private:
  QTemporaryDir dir_;
};

void TPrintTest::initTestCase() {
  SilencePlatformNoise();
  QVERIFY(dir_.isValid());
  for (const char* tool : {"pdftotext", "pdfinfo", "pdffonts", "pdftoppm"})
    QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
             qPrintable(QString(tool) + " (poppler-utils) is needed"));
}

void TPrintTest::measuringSizeFillsPageWidth_data() {
  QTest::addColumn<QPageSize::PageSizeId>("paper");
  QTest::addColumn<QPageLayout::Orientation>("orientation");
  QTest::newRow("A4 portrait") << QPageSize::A4 << QPageLayout::Portrait;
  QTest::newRow("A4 landscape") << QPageSize::A4 << QPageLayout::Landscape;
  QTest::newRow("A6 portrait") << QPageSize::A6 << QPageLayout::Portrait;
}

void TPrintTest::measuringSizeFillsPageWidth() {
  QFETCH(QPageSize::PageSizeId, paper);
  QFETCH(QPageLayout::Orientation, orientation);
  QPrinter printer(QPrinter::HighResolution);
  ToPdf(printer, dir_.filePath("unused.pdf"));
  printer.setPageSize(QPageSize(paper));
  printer.setPageOrientation(orientation);
  const int size = MeasuringSize(printer);
  const QString text = QString::fromLatin1(window::kMeasuringText);
  QCOMPARE(text.size(), 72);
  const auto width = [&](int points) {
    return QFontMetricsF(MeasuringFont(points), &printer).horizontalAdvance(text);
  };
  // The first size at which the text is at least as wide as the page.
  QVERIFY2(width(size) >= printer.width(), qPrintable(QString::number(size)));
  if (size > 1) QVERIFY2(width(size - 1) < printer.width(), qPrintable(QString::number(size)));
  QVERIFY(size > 5 && size < 60);
}

void TPrintTest::printScale_data() {
  QTest::addColumn<int>("measuringSize");
  QTest::addColumn<int>("base");  // F = base / 10
  QTest::newRow("S = 1") << 1 << 1;
  QTest::newRow("S = 2") << 2 << 1;
  QTest::newRow("S = 3") << 3 << 1;
  QTest::newRow("S = 4") << 4 << 2;
  QTest::newRow("S = 12") << 12 << 10;
  QTest::newRow("S = 19") << 19 << 17;
}

void TPrintTest::printScale() {
  QFETCH(int, measuringSize);
  QFETCH(int, base);
  QVERIFY(PrintScale(measuringSize) == static_cast<long double>(base) / 10);
}

void TPrintTest::printFont_data() {
  QTest::addColumn<QFont>("logFont");
  QTest::addColumn<int>("base");
  QTest::addColumn<int>("printed");
  QFont pixels13;  // the log's default: 13 pixels count as 10 points
  pixels13.setPixelSize(13);
  QFont bold("DejaVu Serif", 15);
  bold.setBold(true);
  bold.setItalic(true);
  QTest::newRow("13 pixels, B = 17") << pixels13 << 17 << 17;
  QTest::newRow("10 points, B = 8") << QFont("DejaVu Sans", 10) << 8 << 8;
  QTest::newRow("15 points x 0.5: tie to 8") << bold << 5 << 8;
  QTest::newRow("5 points x 0.5: tie to 2") << QFont("DejaVu Sans", 5) << 5 << 2;
  QTest::newRow("10.5 points x 1: tie to 10") << [] {
    QFont font("DejaVu Sans");
    font.setPointSizeF(10.5);
    return font;
  }() << 10 << 10;
  QTest::newRow("rounds to 0: printed at 1 point") << QFont("DejaVu Sans", 1) << 1 << 1;
}

void TPrintTest::printFont() {
  QFETCH(QFont, logFont);
  QFETCH(int, base);
  QFETCH(int, printed);
  const QFont font = PrintFont(logFont, static_cast<long double>(base) / 10);
  QCOMPARE(font.pointSize(), printed);
  QCOMPARE(font.family(), logFont.family());
  QCOMPARE(font.bold(), logFont.bold());
  QCOMPARE(font.italic(), logFont.italic());
}

void TPrintTest::printFontOutOfRange() {
  QFont huge("DejaVu Sans");
  huge.setPointSizeF(3e8);
  QVERIFY_THROWS_EXCEPTION(window::EWindowError, PrintFont(huge, 10));
}

void TPrintTest::breakCharacterWise_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<int>("fit");  // the width: this many "0" characters
  QTest::addColumn<QStringList>("pieces");
  QTest::newRow("empty line") << "" << 10 << QStringList{""};
  QTest::newRow("fits exactly") << "0123456789" << 10 << QStringList{"0123456789"};
  QTest::newRow("between characters, not words")
      << "abc defghijklmn opq rstuvwxy" << 10
      << QStringList{"abc defghi", "jklmn opq ", "rstuvwxy"};
  QTest::newRow("one character per piece") << "abc" << 1 << QStringList{"a", "b", "c"};
  QTest::newRow("too narrow for one: one each") << "ab" << 0 << QStringList{"a", "b"};
  QTest::newRow("combining mark stays with its letter")
      << QString::fromUtf8(
             "abcde\xcc\x81"
             "fgh")
      << 5 << QStringList{QString::fromUtf8("abcde\xcc\x81"), "fgh"};
}

void TPrintTest::breakCharacterWise() {
  QFETCH(QString, line);
  QFETCH(int, fit);
  QFETCH(QStringList, pieces);
  QFont font("DejaVu Sans Mono", 10);
  font.setStyleHint(QFont::TypeWriter);
  const QFontMetrics metrics(font);
  QCOMPARE(metrics.horizontalAdvance("0"), metrics.horizontalAdvance("W"));  // fixed pitch
  const int width = fit == 0 ? 1 : metrics.horizontalAdvance(QString(fit, '0'));
  QCOMPARE(BreakCharacterWise(line, metrics, width), pieces);
}

void TPrintTest::printsLogToPdf() {
  TFormFixture f;
  f.Click(f.Compute());
  f.Click(f.Radio("ChiSquareRadio"));
  f.Type(1, "10");
  f.Type(4, "3.940299");
  f.Click(f.Compute());
  const QString file = dir_.filePath("log.pdf");
  SetUpPdf(f, file);
  Print(f, 1);
  QVERIFY(f.platform.errors.isEmpty());
  QCOMPARE(f.platform.jobsBegun, 1);
  QCOMPARE(f.platform.jobsEnded, 1);
  QCOMPARE(PdfPages(file), 1);
  QStringList expected;
  for (const QString& line : f.form->LogLines()) expected << Words(line);
  QStringList printed;
  for (const QString& line : PageBody(file, 1, 1)) printed << Words(line);
  QCOMPARE(printed, expected);
}

void TPrintTest::manyLinesMakePages() {
  TFormFixture f;
  QStringList log;
  for (int i = 1; i <= 300; ++i)
    log << QStringLiteral("line %1 of the log").arg(i, 3, 10, QChar('0'));
  f.Memo()->setPlainText(log.join('\n'));
  const QString file = dir_.filePath("pages.pdf");
  SetUpPdf(f, file);
  Print(f, 1);
  QVERIFY(f.platform.errors.isEmpty());

  // Lines per page by the page-break rule: after k lines of height h (text
  // height + 2) the position k h lies below the body's height less 2 h; the
  // title and the page number take two lines each of the page between the
  // 20 mm margins.
  QPrinter printer(QPrinter::HighResolution);
  ToPdf(printer, dir_.filePath("unused.pdf"));
  printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  const QFont font = PrintFont(f.Memo()->font(), PrintScale(MeasuringSize(printer)));
  const int h = QFontMetrics(font, &printer).height() + 2;
  int perPage = 1;
  while (perPage * h <= printer.height() - 4 * h - 2 * h) ++perPage;
  const int pages = (300 + perPage - 1) / perPage;
  QVERIFY(pages >= 3);
  QCOMPARE(PdfPages(file), pages);

  QStringList printed;
  for (int page = 1; page <= pages; ++page) {
    const QStringList onPage = PageBody(file, page, pages);
    QCOMPARE(onPage.size(), page < pages ? perPage : 300 - (pages - 1) * perPage);
    printed << onPage;
  }
  QCOMPARE(printed, log);
}

void TPrintTest::longLineBreaksBetweenCharacters() {
  TFormFixture f;
  QString line;
  for (int i = 0; i < 40; ++i)
    line += QStringLiteral("%1-").arg(i * 7919 % 100000, 5, 10, QChar('0'));
  f.Memo()->setPlainText("before\n" + line + "\nafter");
  const QString file = dir_.filePath("long.pdf");
  SetUpPdf(f, file);
  Print(f, 1);
  const QStringList printed = PageBody(file, 1, 1);
  QVERIFY2(printed.size() >= 4, qPrintable(printed.join('|')));
  QCOMPARE(printed.first(), QString("before"));
  QCOMPARE(printed.last(), QString("after"));
  const QStringList pieces = printed.mid(1, printed.size() - 2);
  QCOMPARE(pieces.join(""), line);
  // The breaks fall where the page ends, inside the numbers, not at the "-".
  QVERIFY(std::any_of(pieces.begin(), pieces.end() - 1,
                      [](const QString& piece) { return !piece.endsWith('-'); }));
}

void TPrintTest::twoCopiesMakeTwoJobs() {
  TFormFixture f;
  f.Click(f.Compute());
  SetUpPdf(f, dir_.filePath("unused.pdf"));
  f.platform.jobFiles = [this](int job) {
    return dir_.filePath(QStringLiteral("copy%1.pdf").arg(job));
  };
  Print(f, 2);
  QCOMPARE(f.platform.jobsBegun, 2);
  QCOMPARE(f.platform.jobsEnded, 2);
  for (int job = 1; job <= 2; ++job) {
    const QString file = dir_.filePath(QStringLiteral("copy%1.pdf").arg(job));
    QCOMPARE(PdfPages(file), 1);
    QCOMPARE(Words(PageBody(file, 1, 1).join(' ')), Words(f.form->LogLines().join(' ')));
  }
}

void TPrintTest::emptyLogTwoCopies() {
  TFormFixture f;
  SetUpPdf(f, dir_.filePath("unused.pdf"));
  f.platform.jobFiles = [this](int job) {
    return dir_.filePath(QStringLiteral("empty%1.pdf").arg(job));
  };
  Print(f, 2);
  QCOMPARE(f.platform.jobsBegun, 2);
  QCOMPARE(f.platform.jobsEnded, 2);
  for (int job = 1; job <= 2; ++job) {
    const QString file = dir_.filePath(QStringLiteral("empty%1.pdf").arg(job));
    QCOMPARE(PdfPages(file), 1);
    QCOMPARE(PageBody(file, 1, 1), QStringList{});
  }
}

void TPrintTest::noCopies_data() {
  QTest::addColumn<std::optional<int>>("copies");
  QTest::newRow("dialog cancelled") << std::optional<int>();
  QTest::newRow("0 copies") << std::optional<int>(0);
  QTest::newRow("-1 copies") << std::optional<int>(-1);
}

void TPrintTest::noCopies() {
  QFETCH(std::optional<int>, copies);
  TFormFixture f;
  f.Click(f.Compute());
  const QString file = dir_.filePath(QStringLiteral("none%1.pdf").arg(copies.value_or(99)));
  SetUpPdf(f, file);
  Print(f, copies);
  QCOMPARE(f.platform.printDialogs, 1);
  QCOMPARE(f.platform.jobsBegun, 0);
  QVERIFY(f.platform.errors.isEmpty());
  QVERIFY(!QFile::exists(file));
}

void TPrintTest::printerThatCannotStart() {
  TFormFixture f;
  f.Click(f.Compute());
  SetUpPdf(f, dir_.filePath("unused.pdf"));
  f.platform.printerFails = true;
  Print(f, 3);
  QCOMPARE(f.platform.jobsBegun, 1);  // the first failure ends the command
  QCOMPARE(f.platform.jobsEnded, 0);
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].title, QString("Probex"));
  QCOMPARE(f.platform.errors[0].text, QString("Printer selected is not valid."));
  QCOMPARE(f.form->LogLines().size(), 2);
}

// A machine without printers: Qt's printer writes PDF and has no file.
void TPrintTest::noPrinterAtAll() {
  TFormFixture f;
  f.Click(f.Compute());
  f.platform.printerSetupAnswers.push_back([](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPrinterName(QString());
    printer.setOutputFileName(QString());
  });
  f.Item("PrintSetupItem")->trigger();
  Print(f, 1);
  QCOMPARE(f.platform.jobsBegun, 1);
  QCOMPARE(f.platform.jobsEnded, 0);
  QCOMPARE(f.platform.errors.size(), 1);
  QCOMPARE(f.platform.errors[0].text, QString("There is no default printer currently selected."));
}

// A dark screen palette stays on the screen: the paper gets black text on
// white.
void TPrintTest::blackTextOnWhitePaper() {
  TFormFixture f;
  QPalette dark = f.Memo()->palette();
  dark.setColor(QPalette::Base, Qt::black);
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::WindowText, Qt::white);
  f.form->setPalette(dark);
  f.Memo()->setPalette(dark);
  f.Memo()->setPlainText(QString(40, QChar(0x2588)) + "\nMMMMMMMMMMMMMMMMMMMM");
  const QString file = dir_.filePath("dark.pdf");
  SetUpPdf(f, file);
  Print(f, 1);
  const QString prefix = dir_.filePath("dark");
  QCOMPARE(Run("pdftoppm", {"-r", "30", "-png", "-singlefile", file, prefix}), QString());
  QImage page;
  QVERIFY(page.load(prefix + ".png"));
  int black = 0, white = 0;
  QPoint topLeft(page.width(), page.height());
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const int grey = qGray(page.pixel(x, y));
      black += grey < 40;
      white += grey > 240;
      if (grey < 128) topLeft = QPoint(std::min(topLeft.x(), x), std::min(topLeft.y(), y));
    }
  QVERIFY2(black > 50, qPrintable(QString::number(black)));
  // Nothing is drawn in the default margins of 20 mm (23.6 pixels at 30 dpi).
  QVERIFY2(topLeft.x() >= 23 && topLeft.y() >= 23,
           qPrintable(QStringLiteral("%1, %2").arg(topLeft.x()).arg(topLeft.y())));
  QVERIFY(white > page.width() * page.height() * 9 / 10);
  QCOMPARE(qGray(page.pixel(page.width() - 1, page.height() - 1)), 255);
}

void TPrintTest::printUsesLogFont() {
  TFormFixture f;
  f.Click(f.Compute());
  const QString plain = dir_.filePath("plain.pdf");
  SetUpPdf(f, plain);
  Print(f, 1);
  QVERIFY(!Run("pdffonts", {plain}).contains("Bold"));

  QFont bold("DejaVu Sans", 12);
  bold.setBold(true);
  f.platform.fontAnswers.push_back(bold);
  f.Item("FontItem")->trigger();
  const QString boldFile = dir_.filePath("bold.pdf");
  SetUpPdf(f, boldFile);
  Print(f, 1);
  const QString fonts = Run("pdffonts", {boldFile});
  QVERIFY2(fonts.contains("Bold"), qPrintable(fonts));
}

void TPrintTest::printSetupServesPrinting() {
  TFormFixture f;
  f.Click(f.Compute());
  const QString file = dir_.filePath("landscape.pdf");
  f.platform.printerSetupAnswers.push_back([file](QPrinter& printer) {
    ToPdf(printer, file);
    printer.setPageOrientation(QPageLayout::Landscape);
  });
  f.Item("PrintSetupItem")->trigger();
  Print(f, 1);
  QVERIFY2(Run("pdfinfo", {file}).contains("842 x 595 pts"), qPrintable(Run("pdfinfo", {file})));
  QCOMPARE(Words(PageBody(file, 1, 1).join(' ')), Words(f.form->LogLines().join(' ')));
}

// The plot's page counts among the pages and holds the plot as wide as the
// page and wider than tall (from its title to its legend), with words of 9
// points or more: their boxes, ascent to descent, are 1.16 times the size.
void TPrintTest::plotPageIsNumberedWithTheLog() {
  constexpr double kReadable = 10.5;
  constexpr double kPrintableWidth = 595.28 - 2 * 20 / 25.4 * 72;  // A4 in points, 20 mm margins
  constexpr int kLogLines = 150;
  TFormFixture f;
  f.Click(f.Compute());
  f.Memo()->appendPlainText(QStringList(kLogLines, "line").join('\n'));
  const QString file = dir_.filePath("plot.pdf");
  SetUpPdf(f, file);
  f.platform.questionAnswers.push_back(true);
  Print(f, 1);
  const int pages = PdfPages(file);
  QStringList printed;  // PageBody checks each page's "Page n of N"
  for (int page = 1; page < pages; ++page) printed << PageBody(file, page, pages);
  QCOMPARE(printed.size(), kLogLines + 2);
  QVERIFY(PageBody(file, pages, pages).size() > 1);  // the plot's texts between title and number
  const plot::PlotModel& model = f.form->findChild<window::TPlotPane*>()->Model();
  const QString n = QString::number(pages);
  const QString boxes = Run("pdftotext", {"-bbox", "-f", n, "-l", n, file, "-"});
  const auto box = [&](const QString& word) {  // top and bottom
    const auto m = QRegularExpression(R"re(yMin="(\S+)" xMax="\S+" yMax="(\S+)">)re" +
                                      QRegularExpression::escape(word.toHtmlEscaped()) + "<")
                       .match(boxes);
    return std::pair(m.captured(1).toDouble(), m.captured(2).toDouble());
  };
  const auto [legendTop, legendBottom] = box(model.legend[0].text);  // on the last page
  QVERIFY(legendBottom - legendTop >= kReadable);
  const double height = legendBottom - box(model.title.section(' ', 0, 0)).first;
  QVERIFY2(height < kPrintableWidth && height > kPrintableWidth * 0.4,
           qPrintable(QString::number(height)));
}

PROBEX_WINDOW_TEST_MAIN(TPrintTest)
#include "PrintTest.moc"
