// The chunked body: the size line by its grammar, one named fault each, the
// body cap, and the trailers that keep a kept connection in step.
#include <gtest/gtest.h>

#include <limits>

#include "ClientHelpers.h"
#include "ParseHelpers.h"
#include "http/ChunkDecoder.h"
#include "http/Errors.h"

namespace {

using http::THttpFault;
using http_test::FaultOf;
using http_test::Parse;

const std::string kChunkedHead = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// RFC 9112 section 7.1.1: the size, optional blanks, then extensions or the
// line end.
TEST(ChunkSize, HexDigitsThenBlanksThenExtensionsOrLineEnd) {
  const struct {
    const char* Line;
    std::uint64_t Size;
  } rows[] = {
      {"7", 7},
      {"7 ;a=b", 7},
      {"21;ext=x", 0x21},
      {"1a\t;x", 0x1a},
      {"7 \t", 7},
      {"7 ; a = b ;c", 7},
      {"7;a=\"q; \\\"x\\\\\"", 7},
      {"FfFf", 0xffff},
      {"0", 0},
      {"000", 0},
      {"0000000000000000000001", 1},  // leading zeros never overflow
      {"ffffffffffffffff", std::numeric_limits<std::uint64_t>::max()},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Line);
    EXPECT_EQ(http::ParseChunkSize(row.Line), row.Size);
  }
}

TEST(ChunkSize, EachFaultHasItsError) {
  const struct {
    const char* Line;
    THttpFault Fault;
  } rows[] = {
      {"", THttpFault::ChunkIllegalHex},
      {"nothex", THttpFault::ChunkIllegalHex},
      {"-2", THttpFault::ChunkIllegalHex},
      {"+4", THttpFault::ChunkIllegalHex},
      {" 7", THttpFault::ChunkIllegalHex},
      {"7x", THttpFault::ChunkIllegalHex},
      {"0x7", THttpFault::ChunkIllegalHex},
      {"7 x", THttpFault::ChunkIllegalHex},
      {"7;", THttpFault::ChunkBadExtension},
      {"7;=b", THttpFault::ChunkBadExtension},
      {"7;a=", THttpFault::ChunkBadExtension},
      {"7;a b", THttpFault::ChunkBadExtension},
      {"7;a=\"open", THttpFault::ChunkBadExtension},
      {"7;a=\"\x01\"", THttpFault::ChunkBadExtension},
      {"12345678123456789", THttpFault::ChunkTooLongHex},
      {"1ffffffffffffffff", THttpFault::ChunkTooLongHex},
      {"10000000000000000", THttpFault::ChunkTooLongHex},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Line);
    EXPECT_EQ(FaultOf([&] { http::ParseChunkSize(row.Line); }), row.Fault);
  }
}

// Chunk-size lines with extensions after a blank and after ";".
TEST(ChunkedBody, ChunksWithExtensionsAreJoined) {
  const http_test::TParsed parsed = Parse(kChunkedHead + "7 ;a=b\r\n1.0.0.1\r\n21;ext=x\r\n" +
                                          std::string(0x21, 'z') + "\r\n0\r\n\r\n");
  EXPECT_EQ(parsed.Body, "1.0.0.1" + std::string(0x21, 'z'));
  EXPECT_EQ(parsed.Left, 0u);
}

// Trailer lines are read up to the empty line, so the next
// response on the connection starts right after them.
TEST(ChunkedBody, TrailersAreReadToTheEmptyLine) {
  const http_test::TParsed parsed =
      Parse(kChunkedHead + "3\r\nabc\r\n0;last\r\nX-Sum: 1\r\nX-More: 2\r\n\r\n");
  EXPECT_EQ(parsed.Body, "abc");
  EXPECT_EQ(parsed.Left, 0u);
}

TEST(ChunkedBody, EndOfStreamAmongTheTrailersEndsThem) {
  EXPECT_EQ(Parse(kChunkedHead + "3\r\nabc\r\n0\r\n").Body, "abc");
  EXPECT_EQ(Parse(kChunkedHead + "3\r\nabc\r\n0\r\nX-T: 1\r\n").Body, "abc");
}

TEST(ChunkedBody, TrailersCountAgainstTheHeaderCap) {
  std::string trailers;
  for (int i = 0; i < 100; ++i) trailers += "T: x\r\n";
  // Transfer-Encoding is the one header line; 99 trailers fit, 100 do not.
  EXPECT_EQ(Parse(kChunkedHead + "1\r\na\r\n0\r\n" + trailers.substr(6) + "\r\n").Body, "a");
  EXPECT_FAULT(Parse(kChunkedHead + "1\r\na\r\n0\r\n" + trailers + "\r\n"), TooManyHeaderLines);
}

// The connection closes in the middle of a chunk.
TEST(ChunkedBody, EndOfStreamInsideAChunkIsAnError) {
  for (const std::string& rest :
       {std::string("5\r\nab"), std::string("5\r\nabcde"), std::string("5\r\nabcde\r\n"),
        std::string("5"), std::string("")}) {
    SCOPED_TRACE(rest);
    EXPECT_FAULT(Parse(kChunkedHead + rest), BodyCutShort);
  }
}

// A chunk size that is no hexadecimal number.
TEST(ChunkedBody, IllegalSizeIsAnError) {
  for (const char* size : {"nothex", "-2", "+4"}) {
    SCOPED_TRACE(size);
    EXPECT_FAULT(Parse(kChunkedHead + size + "\r\nabcd\r\n0\r\n\r\n"), ChunkIllegalHex);
  }
}

// Sizes beyond 64 bits, and a size beyond the body cap: refused
// before anything is reserved or read.
TEST(ChunkedBody, HugeSizesAreRefused) {
  for (const char* size : {"12345678123456789", "1ffffffffffffffff"}) {
    SCOPED_TRACE(size);
    EXPECT_FAULT(Parse(kChunkedHead + size + "\r\nabc"), ChunkTooLongHex);
  }
  EXPECT_FAULT(Parse(kChunkedHead + "ffffffffffffffff\r\nabc"), BodyTooLarge);
  EXPECT_FAULT(Parse(kChunkedHead + "80000\r\n" + std::string(0x80000, 'a') + "\r\n80001\r\n"),
               BodyTooLarge);
}

TEST(ChunkedBody, DataLongerThanItsSizeIsAnError) {
  EXPECT_FAULT(Parse(kChunkedHead + "3\r\nabcdef\r\n0\r\n\r\n"), ChunkMissingDataEnd);
}

// A chunked body that never ends stops at the body cap.
TEST(ChunkedBody, EndlessBodyStopsAtTheCap) {
  http_test::TEndlessSource source(kChunkedHead, "400\r\n" + std::string(0x400, 'c') + "\r\n",
                                   100 << 20);
  const http::THttpLimits limits;
  http::TResponseReader reader(source, limits);
  http::TResponseHead head = http::ReadHead(reader);
  std::string body;
  EXPECT_FAULT(http::ReadBody(reader, head, body), BodyTooLarge);
  EXPECT_LE(body.size(), http::kMaxBodyBytes);
  EXPECT_LT(source.Served(), (2u << 20));
}

}  // namespace
