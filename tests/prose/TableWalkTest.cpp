// A walk over the table of functions: besides its entry, each function has
// its model (a distribution), its help fragment, a command in the golden
// batch files and rows of reference values (a distribution); and the help
// file assembled from the fragments links only to anchors it has and lists
// every anchored heading in its contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "calculator/Functions.h"

namespace calculator {
// A function stands for itself by its command name in the messages.
void PrintTo(const FunctionAbout& about, std::ostream* os) {
  *os << about.commandName;
}
}  // namespace calculator

namespace {

namespace fs = std::filesystem;
using calculator::Family;
using calculator::FunctionAbout;

using Words = std::vector<std::string>;

std::vector<Words> Lines(const fs::path& file, char separator) {
  std::vector<Words> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    Words words;
    std::stringstream fields(line);
    for (std::string word; std::getline(fields, word, separator);) words.push_back(word);
    lines.push_back(words);
  }
  return lines;
}

class TableWalk : public testing::TestWithParam<FunctionAbout> {};

TEST_P(TableWalk, DistributionHasItsModel) {
  EXPECT_EQ(static_cast<bool>(GetParam().model), GetParam().family != Family::Counting);
}

TEST_P(TableWalk, HasItsHelpFragment) {
  const fs::path fragment =
      fs::path(PROBEX_HELP_FRAGMENTS) / (GetParam().commandName + std::string(".html"));
  ASSERT_TRUE(fs::is_regular_file(fragment)) << fragment;
  EXPECT_GT(fs::file_size(fragment), 0u) << fragment;
}

TEST_P(TableWalk, HasGoldenCommands) {
  int commands = 0;
  for (const auto& file : fs::directory_iterator(PROBEX_GOLDEN_DIR)) {
    if (file.path().extension() != ".batch") continue;
    for (const Words& words : Lines(file.path(), '\t')) {
      const size_t name = !words.empty() && words[0] == "--inverse" ? 1 : 0;
      commands += name < words.size() && words[name] == GetParam().commandName;
    }
  }
  EXPECT_GT(commands, 0) << "no line of " << PROBEX_GOLDEN_DIR << "/*.batch computes it";
}

// The third column of a row names the distribution.
TEST_P(TableWalk, DistributionHasReferenceRows) {
  int rows = 0;
  for (const Words& row : Lines(PROBEX_DETAILS_REFERENCE, ','))
    rows += row.size() > 2 && row[2] == GetParam().commandName;
  EXPECT_EQ(rows > 0, GetParam().family != Family::Counting) << rows << " rows";
}

INSTANTIATE_TEST_SUITE_P(Functions, TableWalk,
                         testing::ValuesIn(calculator::Functions().begin(),
                                           calculator::Functions().end()),
                         [](const auto& info) { return std::string(info.param.commandName); });

#ifdef PROBEX_HELP_FILE
TEST(HelpFile, LinksOnlyToItsAnchors) {
  std::ifstream in(PROBEX_HELP_FILE);
  std::stringstream text;
  text << in.rdbuf();
  const std::string help = text.str();
  ASSERT_FALSE(help.empty());
  int links = 0;
  const std::regex link(R"re(href="#([^"]+)")re");
  for (std::sregex_iterator l(help.begin(), help.end(), link), end; l != end; ++l, ++links)
    EXPECT_NE(help.find("<a name=\"" + (*l)[1].str() + "\""), std::string::npos) << (*l)[0];
  EXPECT_GT(links, 0);
}

// Every section and every topic with an anchor is listed in the contents,
// the topics of the window among them.
TEST(HelpFile, ContentsListsEveryAnchoredHeading) {
  std::ifstream in(PROBEX_HELP_FILE);
  std::stringstream text;
  text << in.rdbuf();
  const std::string help = text.str();
  const size_t start = help.find("<table class=\"toc\"");
  const std::string contents = help.substr(start, help.find("</table>", start) - start);
  std::vector<std::string> anchors;
  const std::regex heading(R"re(<h[23]><a name="([^"]+)")re");
  for (std::sregex_iterator h(help.begin(), help.end(), heading), end; h != end; ++h)
    anchors.push_back((*h)[1]);
  for (const char* topic : {"chooser", "inverse", "between", "quantile", "sd", "realdf", "details",
                            "plot", "saveplot", "table", "printing", "settings", "keys"})
    EXPECT_NE(std::find(anchors.begin(), anchors.end(), topic), anchors.end()) << topic;
  for (const std::string& anchor : anchors)
    EXPECT_NE(contents.find("href=\"#" + anchor + "\""), std::string::npos) << anchor;
}
#endif

}  // namespace
