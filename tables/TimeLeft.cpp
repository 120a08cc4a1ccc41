// The time left of a long table, for a progress line: the rows still to do
// at the rate of the rows done so far.  A table's rows cost about the same
// (a range's cells are a few tails each), so the plain rate is as good a
// guide as any; the estimate is rounded to what a reader can use: whole
// seconds, then minutes, then hours.
#include <algorithm>
#include <cmath>

#include "tables/Tables.h"

namespace tables {

namespace {

constexpr double kSecondsPerMinute = 60;
constexpr double kSecondsPerHour = 3600;
// An estimate up to this many of a unit is told in that unit (90 s, not
// 2 min; 90 min, not 2 h).
constexpr double kMostOfAUnit = 90;
// Beyond this many hours the count is told as this many (a rate of no rows
// to speak of).
constexpr double kMostHours = 1e6;

std::string About(double count, const char* unit) {
  return "about " + std::to_string(static_cast<long long>(count)) + " " + unit + " left";
}

}  // namespace

std::string TimeLeftText(double elapsedSeconds, std::size_t done, std::size_t total) {
  if (!(elapsedSeconds >= kFirstEstimateSeconds) || done == 0 || done >= total) return "";
  const double left =
      elapsedSeconds / static_cast<double>(done) * static_cast<double>(total - done);
  if (left <= kMostOfAUnit) return About(std::max(std::ceil(left), 1.0), "s");
  if (left <= kMostOfAUnit * kSecondsPerMinute)
    return About(std::round(left / kSecondsPerMinute), "min");
  return About(std::min(std::round(left / kSecondsPerHour), kMostHours), "h");
}

}  // namespace tables
