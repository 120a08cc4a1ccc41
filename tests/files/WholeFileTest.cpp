// Files written whole or not at all: a write that meets a full disk leaves
// the old file as it was, devices and FIFOs are neither replaced nor waited
// on.  A full disk is stood in for by a file size limit (RLIMIT_FSIZE), which
// fails writes past it with EFBIG as a full disk fails them with ENOSPC.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "files/WholeFile.h"

namespace {

QByteArray ReadAll(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Files may grow to `bytes` while it lives.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST(WriteWhole, ANearlyFullDiskLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("log.txt"));
  ASSERT_EQ(files::WriteWhole(name, "old text\n"), QString());
  // Under the 16 KiB a buffered write would hold until the commit.
  const QByteArray text(10000, 'x');
  {
    const FileSizeLimit limit(4096);
    EXPECT_NE(files::WriteWhole(name, text), QString());
  }
  EXPECT_EQ(ReadAll(name), "old text\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("log.txt")});
  EXPECT_EQ(files::WriteWhole(name, text), QString());
  EXPECT_EQ(ReadAll(name), text);
}

TEST(WriteWhole, RefusesDevicesAndFifosAndLeavesThemAlone) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(QStringLiteral("fifo"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString device = dir.filePath(QStringLiteral("null-link"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));
  for (const QString& name : {fifo, device}) {
    EXPECT_EQ(files::WriteWhole(name, "text"), QStringLiteral("Not a regular file."))
        << name.toStdString();
    const files::ReadResult read = files::ReadWhole(name, 100);  // returns: no wait for a writer
    EXPECT_EQ(read.status, files::ReadResult::Status::Refused) << name.toStdString();
  }
  struct stat status {};
  ASSERT_EQ(lstat(QFile::encodeName(fifo).constData(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST(ReadWhole, TellsMissingFromRefused) {
  QTemporaryDir dir;
  const QString name = dir.filePath(QStringLiteral("log.txt"));
  EXPECT_EQ(files::ReadWhole(name, 100).status, files::ReadResult::Status::Missing);
  ASSERT_EQ(files::WriteWhole(name, QByteArray(101, 'x')), QString());
  EXPECT_EQ(files::ReadWhole(name, 100).status, files::ReadResult::Status::Refused);
  const files::ReadResult read = files::ReadWhole(name, 101);
  EXPECT_EQ(read.status, files::ReadResult::Status::Read);
  EXPECT_EQ(read.bytes.size(), 101);
  EXPECT_EQ(files::ReadWhole(dir.path(), 100).status, files::ReadResult::Status::Refused);
}

TEST(DecodeText, WritesBackExactlyOrSaysItDoesNot) {
  const struct {
    QByteArray bytes;
    QString text;
    bool faithful;
  } cases[] = {
      {"a\nb\n", "a\nb\n", true},
      {"caf\xc3\xa9\n", QString::fromUtf8("caf\xc3\xa9\n"), true},
      {"a\r\nb\r\n", "a\nb\n", false},
      {"a\rb", "a\nb", false},
      {"lin\r\r\n", "lin\n\n", false},  // found by the fuzzer: no CR LF left behind
      {"caf\xe9\n", QString::fromUtf8("caf\xef\xbf\xbd\n"), false},
  };
  for (const auto& c : cases) {
    const files::DecodedText decoded = files::DecodeText(c.bytes);
    EXPECT_EQ(decoded.text, c.text) << c.bytes.toStdString();
    EXPECT_EQ(decoded.faithful, c.faithful) << c.bytes.toStdString();
  }
}

}  // namespace
