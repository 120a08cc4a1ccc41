// probex-calc's batch lines: bounded reading and splitting, so that a huge
// line costs neither memory nor time before it is refused.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/Command.h"

namespace {

TEST(ReadBatchLine, LinesEndsAndOversizedLines) {
  const std::string huge(cli::kMaxBatchLineBytes + 1, '\t');
  std::istringstream in("normal\t1\r\n" + huge + "\nlast");
  std::string line;
  EXPECT_EQ(cli::ReadBatchLine(in, line), cli::LineRead::Line);
  EXPECT_EQ(line, "normal\t1\r");
  EXPECT_EQ(cli::ReadBatchLine(in, line), cli::LineRead::LineTooLong);
  EXPECT_EQ(line.size(), cli::kMaxBatchLineBytes);  // kept no more than the limit
  EXPECT_EQ(cli::ReadBatchLine(in, line), cli::LineRead::Line);  // the next line is whole
  EXPECT_EQ(line, "last");
  EXPECT_EQ(cli::ReadBatchLine(in, line), cli::LineRead::End);
}

TEST(ReadBatchLine, ALineOfExactlyTheLimitIsKept) {
  std::istringstream in(std::string(cli::kMaxBatchLineBytes, 'x') + "\n");
  std::string line;
  EXPECT_EQ(cli::ReadBatchLine(in, line), cli::LineRead::Line);
  EXPECT_EQ(line.size(), cli::kMaxBatchLineBytes);
}

TEST(SplitBatchLine, ManyWordsAreRefusedWithoutBuildingThem) {
  const std::string line = "normal" + std::string(100000, '\t');
  const auto words = cli::SplitBatchLine(line);
  EXPECT_EQ(words.size(), cli::kMaxCommandWords + 1);
  EXPECT_EQ(cli::Run(words).message, "too many fields");
  // The most words a command can have still run.
  const auto inverse = cli::SplitBatchLine("--inverse\tnormal\t0\t1\t0.5");
  EXPECT_EQ(cli::Run(inverse).kind, cli::Outcome::Kind::Lines);
}

}  // namespace
