// The response parser fed from memory: status lines, header blocks, line
// lengths, the caps of the head, Content-Length and the body framings, and
// the same bytes split at every offset.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "ClientHelpers.h"
#include "ParseHelpers.h"
#include "http/Errors.h"
#include "http/Limits.h"
#include "http/ResponseParser.h"

namespace {

using namespace std::string_literals;
using http_test::Outcome;
using http_test::Parse;
using http_test::TEndlessSource;

// The status code is exactly three digits (RFC 9112 section 4).
TEST(StatusLine, CodeIsThreeDigitsBetweenTheFirstTwoBlanks) {
  const struct {
    const char* Line;
    int Code;
  } rows[] = {
      {"HTTP/1.1 200 OK", 200},
      {"HTTP/1.0 404 Not Found", 404},
      {"HTTP/1.1 204", 204},
      {"HTTP/1.1 2 OK", -1},
      {"HTTP/1.1 20 OK", -1},
      {"HTTP/1.1 0200 OK", -1},
      {"HTTP/1.1 099 Odd", 99},
      {"HTTP/1.1 -12 OK", -1},
      {"HTTP/1.1 +12 OK", -1},
      {"HTTP/1.1 2OO OK", -1},
      {"HTTP/1.1  200 OK", -1},  // two blanks: the text between them is empty
      {"HTTP/1.1 999999999 OK", -1},
      {"HTTP/1", -1},
      {"HTTP/1.1", -1},
      {"HTTP/1.1 ", -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Line);
    EXPECT_EQ(http::ParseStatusCode(row.Line), row.Code);
  }
  EXPECT_EQ(http::ParseStatusCode("HTTP/1.1 " + std::string(100, '9') + " OK"), -1);
}

TEST(StatusLine, VersionIsTheSixthToEighthCharacter) {
  EXPECT_EQ(Parse("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n").Head.Version, "1.0");
  EXPECT_EQ(Parse("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n").Head.Version, "1.1");
  // A status line shorter than eight characters has no version, and no byte
  // past its end is read.
  EXPECT_EQ(Parse("HTTP/1\r\n\r\n").Head.Version, "");
}

TEST(StatusLine, LineThatIsNotHttpIsAnError) {
  for (const char* bytes : {"o\r\n\r\n", "HTTPr\r\n\r\n", "\r\n", "http/1.1 200 OK\r\n\r\n",
                            " HTTP/1.1 200 OK\r\n\r\n", "SSH-2.0-OpenSSH_9.2\r\n"}) {
    SCOPED_TRACE(bytes);
    EXPECT_FAULT(Parse(bytes), BadStatusLine);
  }
}

TEST(StatusLine, EndOfStreamBeforeTheStatusLineIsAnError) {
  EXPECT_FAULT(Parse(""), ConnectionClosed);
}

TEST(Headers, ValuesTrimmedNamesWithoutCaseFoldedLinesJoined) {
  const http_test::TParsed parsed = Parse(
      "HTTP/1.1 200 OK\r\n"
      "content-TYPE:   text/plain  \r\n"
      "X-Folded: first\r\n"
      "   second\r\n"
      "no colon here\r\n"
      "Set-Cookie: a=1\r\n"
      "Set-Cookie: b=2\r\n"
      "Content-Length: 2\r\n"
      "\r\n"
      "ok");
  EXPECT_EQ(parsed.Head.Value("Content-Type"), "text/plain");
  EXPECT_EQ(parsed.Head.Value("x-folded"), "first second");
  EXPECT_EQ(parsed.Head.Values("SET-COOKIE"), (std::vector<std::string>{"a=1", "b=2"}));
  EXPECT_EQ(parsed.Head.RawHeaders.size(), 7u);
  EXPECT_EQ(parsed.Head.Value("Absent"), "");
  EXPECT_EQ(parsed.Body, "ok");
}

TEST(Headers, LinesEndedByLineFeedAloneAreAccepted) {
  EXPECT_EQ(Outcome("HTTP/1.1 200 OK\nContent-Length: 3\n\nabc"), "200 abc");
}

// The window sets the program's locale.  Under a Turkish single-byte one the
// C library lowers "I" to a dotless i, which must not keep
// "TRANSFER-ENCODING" from naming Transfer-Encoding.  The locale is built
// into a folder of the test's own.
TEST(Headers, NamesMatchUnderATurkishLocale) {
  char folder[] = "/tmp/probex-locale-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string build = "localedef -i tr_TR -f ISO-8859-9 "s + folder + "/tr >/dev/null 2>&1";
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  setenv("LOCPATH", folder, 1);
  const bool turkish = std::system(build.c_str()) == 0 && std::setlocale(LC_ALL, "tr") != nullptr;
  const std::string outcome =
      Outcome("HTTP/1.1 200 OK\r\nTRANSFER-ENCODING: CHUNKED\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
  std::setlocale(LC_ALL, saved.c_str());
  unsetenv("LOCPATH");
  std::filesystem::remove_all(folder);
  if (!turkish) GTEST_SKIP() << "localedef cannot build tr_TR (Debian package locales)";
  EXPECT_EQ(outcome, "200 abc");
}

TEST(Headers, EndOfStreamInsideTheHeaderBlockEndsIt) {
  const http_test::TParsed parsed = Parse("HTTP/1.1 200 OK\r\nServer: x\r\nX-Cut: par");
  EXPECT_EQ(parsed.Head.Value("Server"), "x");
  EXPECT_EQ(parsed.Head.Value("X-Cut"), "par");
  EXPECT_EQ(parsed.Body, "");
}

// A header line of 16384 characters is taken, 16385 is too long,
// and a line that never ends stops at the limit instead of filling memory.
TEST(LineLength, LongestLineIsTheLimit) {
  const std::string prefix = "X-Long: ";
  const auto withLine = [&](std::size_t length, const char* end) {
    return "HTTP/1.1 200 OK\r\n" + prefix + std::string(length - prefix.size(), 'a') + end +
           "Content-Length: 2\r\n\r\nok";
  };
  EXPECT_EQ(Outcome(withLine(16384, "\r\n")), "200 ok");
  EXPECT_EQ(Outcome(withLine(16384, "\n")), "200 ok");
  EXPECT_EQ(Outcome(withLine(16385, "\r\n")), "error: Max line length exceeded.");
  EXPECT_EQ(Outcome(withLine(16385, "\n")), "error: Max line length exceeded.");
  EXPECT_EQ(Outcome("HTTP/1.1 200 " + std::string(16372, 'K') + "\r\n\r\n"),
            "error: Max line length exceeded.");
}

TEST(LineLength, EndlessLineStopsAtTheLimit) {
  TEndlessSource source("HTTP/1.1 200 OK\r\nX-Endless: ", "a", 100'000'000);
  const http::THttpLimits limits;
  http::TResponseReader reader(source, limits);
  EXPECT_FAULT(http::ReadHead(reader), LineTooLong);
  EXPECT_LT(source.Served(), 3 * http::kMaxLineLength);
}

// 1750 short header lines, and a header block larger than 64 KiB.
TEST(HeaderCaps, TooManyLines) {
  std::string many = "HTTP/1.1 200 OK\r\n";
  for (int i = 0; i < 1750; ++i) many += "X-" + std::to_string(i) + ": y\r\n";
  EXPECT_FAULT(Parse(many + "\r\n"), TooManyHeaderLines);

  std::string hundred = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n";
  for (int i = 1; i < 100; ++i) hundred += "X: y\r\n";
  EXPECT_EQ(Outcome(hundred + "\r\n"), "200 ");
  EXPECT_EQ(Outcome(hundred + "X: y\r\n\r\n"), "error: Response header exceeds 100 lines.");
}

TEST(HeaderCaps, TooManyBytes) {
  // The status line (17 bytes with its line end) and four lines of
  // 16384 + 2 bytes make 65561; the last line is shortened to land on the cap.
  const std::string status = "HTTP/1.1 200 OK\r\n";
  const auto block = [&](std::size_t lastLine) {
    std::string head = status;
    for (int i = 0; i < 3; ++i) head += "X: " + std::string(16381, 'v') + "\r\n";
    head += "Y: " + std::string(lastLine - 3, 'v') + "\r\n";
    return head + "\r\n";
  };
  const std::size_t exact = 65536 - status.size() - 3 * 16386 - 2;
  EXPECT_EQ(Outcome(block(exact)), "200 ");
  EXPECT_EQ(Outcome(block(exact + 1)), "error: Response header exceeds 65536 bytes.");
}

TEST(ContentLength, PlainDecimalOrAbsent) {
  const struct {
    const char* Value;
    std::optional<std::uint64_t> Length;
  } rows[] = {
      {"7", 7},
      {"  7 \t", 7},
      {"0", 0},
      {"007", 7},
      {"999999999999999999", 999999999999999999ull},
      {"1000000000000000000", std::nullopt},  // 19 digits
      {"-6", std::nullopt},
      {"+6", std::nullopt},
      {"crap", std::nullopt},
      {"0 0", std::nullopt},
      {"6, 6", std::nullopt},
      {"", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Value);
    EXPECT_EQ(http::ParseContentLength(row.Value), row.Length);
  }
}

// A Content-Length that is not a number counts as absent, and the
// body runs to the end of the stream.
TEST(ContentLength, UnusableLengthReadsToTheEnd) {
  for (const char* value : {"-6", "crap", "0 0", "12345678901234567890"}) {
    SCOPED_TRACE(value);
    EXPECT_EQ(
        Outcome(std::string("HTTP/1.1 200 OK\r\nContent-Length: ") + value + "\r\n\r\nthe rest"),
        "200 the rest");
  }
}

TEST(ContentLength, ExactlyThatManyBytes) {
  const http_test::TParsed parsed =
      Parse("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n1.0.0.1EXTRA");
  EXPECT_EQ(parsed.Body, "1.0.0.1");
  EXPECT_EQ(parsed.Left, 5u);
  EXPECT_EQ(Outcome("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\nignored"), "200 ");
}

TEST(ContentLength, BodyCutShortIsAnError) {
  EXPECT_FAULT(Parse("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"), BodyCutShort);
}

// A claimed length of 20 GB with three bytes sent: nothing is
// reserved for it, the cap refuses it at once.
TEST(ContentLength, LengthBeyondTheBodyCapIsRefused) {
  EXPECT_FAULT(Parse("HTTP/1.1 200 OK\r\nContent-Length: 20000000000\r\n\r\nabc"), BodyTooLarge);
  EXPECT_FAULT(Parse("HTTP/1.1 200 OK\r\nContent-Length: 1048577\r\n\r\n"), BodyTooLarge);
  EXPECT_EQ(Parse("HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n" + std::string(1048576, 'b'))
                .Body.size(),
            1048576u);
}

TEST(ContentLength, TwoDifferentValuesAreAnError) {
  EXPECT_FAULT(Parse("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd"),
               ContentLengthConflict);
  EXPECT_EQ(Outcome("HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 3\r\n\r\nabc"),
            "200 abc");
}

// Only "chunked" as the final transfer coding frames the body in chunks;
// another coding last leaves the body to the end of the stream, and any
// coding overrides Content-Length (RFC 9112 section 6.3).
TEST(TransferEncoding, ChunkedOnlyAsTheFinalCoding) {
  const std::string chunks = "3\r\nabc\r\n0\r\n\r\n";
  const struct {
    const char* Label;
    std::string Headers;
    std::string Outcome;
  } rows[] = {
      {"gzip, then chunked", "Transfer-Encoding: gzip, chunked\r\n", "200 abc"},
      {"capitals, empty elements", "Transfer-Encoding: GZIP ,, Chunked ,\r\n", "200 abc"},
      {"chunked in the last line", "Transfer-Encoding: gzip\r\nTransfer-Encoding: chunked\r\n",
       "200 abc"},
      {"chunked, then gzip", "Transfer-Encoding: chunked, gzip\r\n", "200 " + chunks},
      {"chunked within a name", "Transfer-Encoding: notchunked\r\n", "200 " + chunks},
      {"a later line ends otherwise", "Transfer-Encoding: chunked\r\nTransfer-Encoding: br\r\n",
       "200 " + chunks},
      {"coding overrides the length", "Transfer-Encoding: gzip\r\nContent-Length: 3\r\n",
       "200 " + chunks},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    EXPECT_EQ(Outcome("HTTP/1.1 200 OK\r\n" + row.Headers + "\r\n" + chunks), row.Outcome);
  }
}

// Chunked framing wins over a Content-Length sent with it.
TEST(ContentLength, ChunkedWinsOverContentLength) {
  const http_test::TParsed parsed = Parse(
      "HTTP/1.1 200 OK\r\nContent-Length: 123456\r\nTransfer-Encoding: chunked\r\n\r\n"
      "5\r\nhello\r\n0\r\n\r\n");
  EXPECT_EQ(parsed.Body, "hello");
  EXPECT_EQ(parsed.Left, 0u);
}

TEST(Body, ReadToTheEndUpToTheCap) {
  const std::string head = "HTTP/1.1 200 OK\r\n\r\n";
  EXPECT_EQ(Parse(head + std::string(1048576, 'x')).Body.size(), 1048576u);
  EXPECT_FAULT(Parse(head + std::string(1048577, 'x')), BodyTooLarge);
}

// 10 MiB without a length: the reading stops at the cap.
TEST(Body, EndlessBodyStopsAtTheCap) {
  TEndlessSource source("HTTP/1.1 200 OK\r\n\r\n", "0123456789", 10 << 20);
  const http::THttpLimits limits;
  http::TResponseReader reader(source, limits);
  http::TResponseHead head = http::ReadHead(reader);
  std::string body;
  EXPECT_FAULT(http::ReadBody(reader, head, body), BodyTooLarge);
  EXPECT_LT(source.Served(), (1u << 20) + 2 * http::kReceiveBufferSize);
}

// NUL bytes in a header and in the body.
TEST(Body, NulBytesKeptExactly) {
  const std::string body = "a\0b\0\0c"s;
  const http_test::TParsed parsed =
      Parse("HTTP/1.1 200 OK\r\nX-Nul: a\0b\r\nContent-Length: 6\r\n\r\n"s + body);
  EXPECT_EQ(parsed.Head.Value("X-Nul"), "a\0b"s);
  EXPECT_EQ(parsed.Body, body);
}

// Interim responses.
TEST(Continue, HundredThenTwoHundred) {
  const std::string bytes =
      "HTTP/1.1 100 Continue\r\nSet-Cookie: early=1\r\n\r\n"
      "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n1.0.0.1";
  const http::THttpLimits limits;
  http::TMemorySource source(bytes);
  http::TResponseReader reader(source, limits);
  std::vector<int> seen;
  const http::TResponseHead head = http::ReadFinalHead(
      reader, [&](const http::TResponseHead& h) { seen.push_back(h.StatusCode); });
  EXPECT_EQ(head.StatusCode, 200);
  EXPECT_EQ(seen, (std::vector<int>{100, 200}));
  EXPECT_EQ(Outcome(bytes), "200 1.0.0.1");
}

TEST(Continue, OtherInterimCodeIsTheFinalHead) {
  EXPECT_EQ(Parse("HTTP/1.1 103 Early Hints\r\nContent-Length: 0\r\n\r\n"
                  "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")
                .Head.StatusCode,
            103);
}

TEST(Continue, HundredThenEndOfStreamIsAnError) {
  EXPECT_FAULT(Parse("HTTP/1.1 100 Continue\r\n\r\n"), ConnectionClosed);
}

TEST(Continue, AtMostTenInARow) {
  std::string continues;
  for (int i = 0; i < 10; ++i) continues += "HTTP/1.1 100 Continue\r\n\r\n";
  const std::string ok = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
  EXPECT_EQ(Outcome(continues + ok), "200 ok");
  EXPECT_FAULT(Parse(continues + "HTTP/1.1 100 Continue\r\n\r\n" + ok), TooManyContinues);
}

// The byte-level rows again, split at every offset and handed out one byte
// per read: the outcome must not depend on how the bytes arrive.
TEST(SplitReads, EveryOffsetGivesTheSameOutcome) {
  const std::string rows[] = {
      "HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n1.0.0.1",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7 ;a=b\r\n1.0.0.1\r\n"
      "21;ext=x\r\n" +
          std::string(33, 'z') + "\r\n0\r\nX-Trailer: t\r\n\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nnothex\r\n",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1ffffffffffffffff\r\n",
      "HTTP/1.1 200 OK\r\nContent-Length: -6\r\n\r\nto the end",
      "HTTP/1.1 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd",
      "HTTP/1.1 200 OK\r\nContent-Length: 123456\r\nTransfer-Encoding: chunked\r\n\r\n"
      "3\r\nabc\r\n0\r\n\r\n",
      "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
      "HTTP/1.1 200 OK\r\nConnection:   CLOSE \r\nContent-Length: 1\r\n\r\nx",
      "HTTPr\r\n\r\n",
      "HTTP/1\r\n\r\nbody",
      "HTTP/1.1 200 OK\r\nX: \0\r\nContent-Length: 3\r\n\r\n\0\0\0"s,
      "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc",
      "HTTP/1.1 204 No Content\r\nTransfer-Encoding: chunked\r\n\r\n",
  };
  for (const std::string& bytes : rows) {
    SCOPED_TRACE(bytes);
    const std::string whole = Outcome(bytes);
    EXPECT_EQ(Outcome(bytes, 1, 1), whole);
    for (std::size_t offset = 1; offset < bytes.size(); ++offset) {
      ASSERT_EQ(Outcome(bytes, offset), whole) << "split at " << offset;
    }
  }
}

TEST(Fuzzing, EntryPointTakesAnyBytes) {
  // Mutations of a valid chunked response with cookies; the entry point must
  // neither crash nor let an exception out.
  const std::string seed =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=b; Path=/; Max-Age=9\r\nSet-Cookie2: c=d, e=f\r\n"
      "Transfer-Encoding: chunked\r\n\r\n4;x\r\nbody\r\n0\r\nT: 1\r\n\r\n";
  std::mt19937 random(12345);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes = seed;
    for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
      bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
    }
    bytes.resize(random() % (bytes.size() + 1));
    ASSERT_EQ(http::ParseResponseForFuzzing(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            bytes.size()),
              0);
  }
}

}  // namespace
