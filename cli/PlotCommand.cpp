// probex-calc --plot: the picture of one result as a PNG or SVG file.
#include "cli/PlotCommand.h"

#include <QGuiApplication>
#include <QSize>
#include <QString>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "cli/Command.h"
#include "plot/PlotFile.h"

namespace cli {

const char* const kPlotUsage =
    "probex-calc --plot FILE [--size WxH] [--inverse | --between] [--sd] FUNCTION [FIELD...]";

namespace {

// sysexits' EX_CANTCREAT; the other statuses are those of Command.h.
constexpr int kExitCannotCreate = 73;
constexpr QSize kDefaultSize(800, 500);
// Larger pictures would take gigabytes.
constexpr int kLargestSide = 8192;

int UsageFault(const std::string& message) {
  std::cerr << "probex-calc: " << message << "\n"
            << "Try 'probex-calc --help'.\n";
  return kExitUsage;
}

// "WxH" with both sides whole numbers from 1 to kLargestSide.
std::optional<QSize> ParseSize(const std::string& text) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  int w = 0, h = 0;
  const char* end = text.data() + text.size();
  const auto width = std::from_chars(text.data(), text.data() + x, w);
  const auto height = std::from_chars(text.data() + x + 1, end, h);
  if (width.ec != std::errc() || width.ptr != text.data() + x || height.ec != std::errc() ||
      height.ptr != end || w < 1 || h < 1 || w > kLargestSide || h > kLargestSide)
    return std::nullopt;
  return QSize(w, h);
}

bool HasPicture(calculator::Function function) {
  return calculator::AboutFunction(function).family != calculator::Family::Counting;
}

// Qt's remarks (such as a missing desktop session directory) are no
// business of the command, which reports its own faults; fatal ones stay.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

// Paints with Qt on its offscreen platform: no display is needed.
QString WriteOffscreen(const QString& path, const QSize& size, const calculator::Result& result) {
  qInstallMessageHandler(QuietQt);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "probex-calc";
  static char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  return plot::WritePlotFile(path, size, plot::BuildPlotModel(result));
}

}  // namespace

bool IsPlotCommand(const std::vector<std::string>& words) {
  return !words.empty() && words[0] == "--plot";
}

int RunPlotCommand(const std::vector<std::string>& words) {
  if (words.size() < 2) return UsageFault(std::string("--plot needs a file name: ") + kPlotUsage);
  const QString path = QString::fromStdString(words[1]);
  if (!plot::FileTypeOf(path))
    return UsageFault("the plot file must end in .png or .svg: " + words[1]);
  std::vector<std::string> rest(words.begin() + 2, words.end());
  QSize size = kDefaultSize;
  if (!rest.empty() && rest[0] == "--size") {
    const std::optional<QSize> asked = rest.size() > 1 ? ParseSize(rest[1]) : std::nullopt;
    if (!asked)
      return UsageFault("--size needs WxH, whole numbers from 1 to " +
                        std::to_string(kLargestSide));
    size = *asked;
    rest.erase(rest.begin(), rest.begin() + 2);
  }
  const ParsedCommand parsed = ParseCommand(rest);
  if (!parsed.command) return UsageFault(parsed.usage);
  const Command& c = *parsed.command;
  if (!HasPicture(c.function))
    return UsageFault(std::string("nothing to plot: ") +
                      calculator::AboutFunction(c.function).commandName +
                      " is a number, not a distribution");

  const calculator::Result result = calculator::Compute(c.function, c.texts, c.mode, c.readings);
  const Outcome outcome = OutcomeOf(result);
  if (outcome.kind != Outcome::Kind::Lines) {
    // The same message and status as without --plot.
    std::cerr << (outcome.kind == Outcome::Kind::InvalidField ? outcome.InvalidFieldText()
                                                              : outcome.message)
              << '\n';
    return outcome.kind == Outcome::Kind::InvalidField ? kExitInvalidField : kExitRunTimeError;
  }
  for (const auto& line : outcome.lines) std::cout << line << '\n';
  std::cout.flush();
  const QString error = WriteOffscreen(path, size, result);
  if (!error.isEmpty()) {
    std::cerr << "probex-calc: " << error.toStdString() << '\n';
    return kExitCannotCreate;
  }
  return 0;
}

}  // namespace cli
