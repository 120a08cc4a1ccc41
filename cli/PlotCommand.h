// probex-calc --plot: the picture of one result as a PNG or SVG file.
//
//   probex-calc --plot FILE [--size WxH] [--inverse] FUNCTION [FIELD...]
//
// computes like probex-calc without --plot, prints the two log lines and
// writes the picture that the window's Plot pane shows (black on white, as
// Save Plot As writes it) to FILE, PNG or SVG by its extension, WxH pixels
// (default 800x500).  No display is needed: this path alone starts Qt, on its
// offscreen platform.  Exit status as without --plot (2: an invalid field,
// 1: a run-time error), 64 for a usage fault and for the factorial and the
// binomial coefficient, which have no picture, and 73 when FILE cannot be
// written.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Whether the command words ask for a picture: the first is --plot.
bool IsPlotCommand(const std::vector<std::string>& words);

// Runs a --plot command; the exit status.
int RunPlotCommand(const std::vector<std::string>& words);

// The usage line of --plot, for --help and the usage faults.
extern const char* const kPlotUsage;

}  // namespace cli
