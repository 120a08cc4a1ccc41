#include "http/ResponseParser.h"

#include <algorithm>
#include <utility>

#include "http/Ascii.h"
#include "http/ChunkDecoder.h"
#include "http/Cookies.h"
#include "http/Errors.h"

namespace http {

namespace {

// The digits of a status code (RFC 9112 section 4: status-code = 3DIGIT).
constexpr std::size_t kStatusCodeDigits = 3;

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// The last element of the comma-separated lists in values, blanks around it
// dropped and in lower case; empty elements do not count (RFC 9110 section
// 5.6.1), and neither list nor element means "".
std::string LastListElement(const std::vector<std::string>& values) {
  for (auto value = values.rbegin(); value != values.rend(); ++value) {
    std::string_view list = *value;
    while (!list.empty()) {
      const std::size_t comma = list.rfind(',');
      const std::size_t start = comma == std::string_view::npos ? 0 : comma + 1;
      const std::string_view element = TrimBlanks(list.substr(start));
      if (!element.empty()) return AsciiLower(element);
      list = list.substr(0, comma == std::string_view::npos ? 0 : comma);
    }
  }
  return std::string();
}

// A comma-separated list holds the token (blanks around it dropped, case ignored).
bool HasToken(std::string_view list, std::string_view token) {
  while (true) {
    const std::size_t comma = list.find(',');
    if (EqualNoCase(TrimBlanks(list.substr(0, comma)), token)) return true;
    if (comma == std::string_view::npos) return false;
    list.remove_prefix(comma + 1);
  }
}

}  // namespace

TMemorySource::TMemorySource(std::string data, std::size_t firstPiece, std::size_t piece)
    : data_(std::move(data)), firstPiece_(firstPiece), piece_(piece) {}

std::size_t TMemorySource::Read(char* buffer, std::size_t size) {
  std::size_t count = std::min(size, data_.size() - position_);
  count = std::min(count, position_ == 0 ? firstPiece_ : piece_);
  std::copy_n(data_.data() + position_, count, buffer);
  position_ += count;
  return count;
}

TResponseReader::TResponseReader(TByteSource& source, const THttpLimits& limits)
    : source_(source), limits_(limits) {}

bool TResponseReader::Fill() {
  if (ended_) return false;
  if (start_ > 0) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kReceiveBufferSize);
  std::size_t count = 0;
  try {
    count = source_.Read(buffer_.data() + old, kReceiveBufferSize);
  } catch (...) {
    buffer_.resize(old);
    throw;
  }
  buffer_.resize(old + count);
  if (count == 0) ended_ = true;
  return count > 0;
}

std::optional<std::string> TResponseReader::ReadLine() {
  // Up to MaxLineLength bytes, then possibly a CR, then the LF.
  const std::size_t mostBeforeLf = limits_.MaxLineLength + 1;
  std::size_t searched = 0;
  while (true) {
    const std::size_t lf = buffer_.find('\n', start_ + searched);
    if (lf != std::string::npos) {
      std::size_t end = lf;
      if (end > start_ && buffer_[end - 1] == '\r') --end;
      if (end - start_ > limits_.MaxLineLength) throw EHttpError(THttpFault::LineTooLong);
      std::string line = buffer_.substr(start_, end - start_);
      start_ = lf + 1;
      return line;
    }
    searched = Buffered();
    if (searched > mostBeforeLf) throw EHttpError(THttpFault::LineTooLong);
    if (!Fill()) {
      if (Buffered() == 0) return std::nullopt;
      std::string line = buffer_.substr(start_);
      if (line.back() == '\r') line.pop_back();
      if (line.size() > limits_.MaxLineLength) throw EHttpError(THttpFault::LineTooLong);
      start_ = buffer_.size();
      return line;
    }
    // Fill moved the unread bytes to the front of the buffer; searched still
    // counts the bytes already looked at.
  }
}

std::uint64_t TResponseReader::ReadInto(std::string& out, std::uint64_t count) {
  std::uint64_t done = 0;
  while (done < count) {
    if (Buffered() == 0 && !Fill()) break;
    const std::size_t take =
        static_cast<std::size_t>(std::min<std::uint64_t>(Buffered(), count - done));
    out.append(buffer_, start_, take);
    start_ += take;
    done += take;
  }
  return done;
}

void THeaderBudget::Count(std::string_view line, bool isHeaderLine, const THttpLimits& limits) {
  Bytes += line.size() + 2;
  if (Bytes > limits.MaxHeaderBytes)
    throw EHttpError(THttpFault::HeaderTooLarge, limits.MaxHeaderBytes);
  if (isHeaderLine && ++Lines > limits.MaxHeaderLines) {
    throw EHttpError(THttpFault::TooManyHeaderLines, limits.MaxHeaderLines);
  }
}

std::string TResponseHead::Value(std::string_view name) const {
  for (const THeaderField& field : Fields) {
    if (EqualNoCase(field.Name, name)) return field.Value;
  }
  return std::string();
}

std::vector<std::string> TResponseHead::Values(std::string_view name) const {
  std::vector<std::string> values;
  for (const THeaderField& field : Fields) {
    if (EqualNoCase(field.Name, name)) values.push_back(field.Value);
  }
  return values;
}

bool TResponseHead::Chunked() const {
  return FinalCoding == "chunked";
}

bool TResponseHead::AllowsKeepAlive() const {
  for (const char* name : {"Connection", "Proxy-Connection"}) {
    for (const std::string& value : Values(name)) {
      if (HasToken(value, "close")) return false;
    }
  }
  return true;
}

bool TResponseHead::IsRedirect() const {
  return (StatusCode >= 300 && StatusCode <= 399 && StatusCode != 304) ||
         !Value("Location").empty();
}

int ParseStatusCode(std::string_view statusLine) {
  const std::size_t blank = statusLine.find(' ');
  if (blank == std::string_view::npos) return -1;
  std::string_view code = statusLine.substr(blank + 1);
  code = code.substr(0, code.find(' '));
  // RFC 9112 section 4: status-code = 3DIGIT, so "0200" is no 200.
  if (!AllDigits(code) || code.size() != kStatusCodeDigits) return -1;
  int value = 0;
  for (char c : code) value = value * 10 + (c - '0');
  return value;
}

std::optional<std::uint64_t> ParseContentLength(std::string_view value) {
  value = TrimBlanks(value);
  if (!AllDigits(value) || value.size() > kMaxContentLengthDigits) return std::nullopt;
  std::uint64_t length = 0;
  for (char c : value) length = length * 10 + static_cast<std::uint64_t>(c - '0');
  return length;
}

TResponseHead ReadHead(TResponseReader& reader) {
  const THttpLimits& limits = reader.Limits();
  TResponseHead head;
  std::optional<std::string> status = reader.ReadLine();
  if (!status) throw EHttpError(THttpFault::ConnectionClosed);
  if (status->compare(0, 5, "HTTP/") != 0) throw EHttpError(THttpFault::BadStatusLine);
  head.StatusLine = std::move(*status);
  head.Budget.Count(head.StatusLine, false, limits);
  head.StatusCode = ParseStatusCode(head.StatusLine);
  if (head.StatusLine.size() >= 8) head.Version = head.StatusLine.substr(5, 3);

  while (std::optional<std::string> line = reader.ReadLine()) {
    if (line->empty()) break;
    head.Budget.Count(*line, true, limits);
    head.RawHeaders.push_back(*line);
    if (IsBlank(line->front())) {
      // obs-fold: the line continues the value before it.
      if (!head.Fields.empty()) {
        std::string& value = head.Fields.back().Value;
        const std::string_view more = TrimBlanks(*line);
        if (!more.empty()) value += (value.empty() ? "" : " ") + std::string(more);
      }
      continue;
    }
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos) continue;
    head.Fields.push_back({std::string(TrimBlanks(std::string_view(*line).substr(0, colon))),
                           std::string(TrimBlanks(std::string_view(*line).substr(colon + 1)))});
  }

  const std::vector<std::string> lengths = head.Values("Content-Length");
  for (const std::string& length : lengths) {
    if (length != lengths.front()) throw EHttpError(THttpFault::ContentLengthConflict);
  }
  // RFC 9112 section 6.3, rule 3: a transfer coding overrides Content-Length.
  head.FinalCoding = LastListElement(head.Values("Transfer-Encoding"));
  if (!lengths.empty() && head.FinalCoding.empty()) {
    head.ContentLength = ParseContentLength(lengths.front());
  }
  return head;
}

TResponseHead ReadFinalHead(TResponseReader& reader,
                            const std::function<void(const TResponseHead&)>& onHead) {
  TResponseHead head = ReadHead(reader);
  if (onHead) onHead(head);
  int continues = 0;
  while (head.StatusCode == 100) {
    if (++continues > reader.Limits().MaxContinues) {
      throw EHttpError(THttpFault::TooManyContinues, reader.Limits().MaxContinues);
    }
    head = ReadHead(reader);
    if (onHead) onHead(head);
  }
  return head;
}

void ReadBody(TResponseReader& reader, TResponseHead& head, std::string& body) {
  const std::size_t cap = reader.Limits().MaxBodyBytes;
  if (head.Chunked()) {
    ReadChunkedBody(reader, head.Budget, body);
    return;
  }
  if (head.ContentLength) {
    const std::uint64_t length = *head.ContentLength;
    if (length > cap) throw EHttpError(THttpFault::BodyTooLarge, cap);
    if (reader.ReadInto(body, length) < length) throw EHttpError(THttpFault::BodyCutShort);
    return;
  }
  // No usable length, or a transfer coding other than chunked last (RFC 9112
  // section 6.3, rule 4): the body ends where the connection does.
  reader.ReadInto(body, static_cast<std::uint64_t>(cap) + 1);
  if (body.size() > cap) throw EHttpError(THttpFault::BodyTooLarge, cap);
}

int ParseResponseForFuzzing(const std::uint8_t* data, std::size_t size) {
  const THttpLimits limits;
  TMemorySource source(std::string(reinterpret_cast<const char*>(data), size));
  TResponseReader reader(source, limits);
  TCookieStore cookies(limits.MaxCookies, limits.MaxCookieBytes, limits.MaxCookieHeaderBytes);
  const TCookieTime now = TCookieTime(std::chrono::seconds(1700000000));
  try {
    TResponseHead head = ReadFinalHead(reader, [&](const TResponseHead& each) {
      for (const std::string& value : each.Values("Set-Cookie")) {
        cookies.SetCookie(value, "www.example.com", "/dir/file", now);
      }
      for (const std::string& value : each.Values("Set-Cookie2")) {
        cookies.SetCookie2(value, "www.example.com", "/dir/file", now);
      }
    });
    std::string body;
    if (head.StatusCode != 204) ReadBody(reader, head, body);
    cookies.CookieHeader("www.example.com", "/dir/file", now);
  } catch (const EHttpError&) {
    // Every fault of the input ends as one of the client's errors.
  }
  return 0;
}

}  // namespace http
