// The cookie store: what is stored, where it is sent, when it expires, and
// its caps.
#include <gtest/gtest.h>

#include "ClientHelpers.h"
#include "http/Cookies.h"
#include "http/Errors.h"
#include "http/Limits.h"

namespace {

using http::TCookieStore;
using http::TCookieTime;
using std::chrono::seconds;

// 2023-11-14 22:13:20 UTC.
const TCookieTime kNow{seconds(1700000000)};

TCookieStore Store() {
  return TCookieStore(http::kMaxCookies, http::kMaxCookieBytes);
}

TEST(Cookies, StoredAndSentBack) {
  TCookieStore store = Store();
  store.SetCookie("sid=abc", "www.example.com", "/pxversion.txt", kNow);
  EXPECT_EQ(store.Size(), 1u);
  EXPECT_EQ(store.CookieHeader("www.example.com", "/pxversion.txt", kNow), "sid=abc");
  EXPECT_EQ(store.CookieHeader("WWW.Example.COM", "/other", kNow), "sid=abc");
}

TEST(Cookies, WhereACookieIsSent) {
  const struct {
    const char* Label;
    const char* SetCookie;
    const char* SetHost;
    const char* SetPath;
    const char* Host;
    const char* Path;
    bool Sent;
  } rows[] = {
      {"host-only, same host", "a=1", "www.example.com", "/", "www.example.com", "/", true},
      {"host-only, subdomain", "a=1", "example.com", "/", "www.example.com", "/", false},
      {"domain, subdomain", "a=1; Domain=example.com", "www.example.com", "/", "a.example.com", "/",
       true},
      {"domain with dot", "a=1; Domain=.example.com", "www.example.com", "/", "example.com", "/",
       true},
      {"domain, other site", "a=1; Domain=example.com", "www.example.com", "/", "example.org", "/",
       false},
      {"domain, suffix but no dot", "a=1; Domain=example.com", "www.example.com", "/",
       "badexample.com", "/", false},
      {"foreign domain ignored", "a=1; Domain=other.com", "www.example.com", "/", "www.other.com",
       "/", false},
      {"top-level domain ignored", "a=1; Domain=com", "www.example.com", "/", "www.example.com",
       "/", false},
      {"IP host, no subdomains", "a=1; Domain=0.0.1", "127.0.0.1", "/", "127.0.0.1", "/", false},
      {"default path, below", "a=1", "h", "/dir/doc.txt", "h", "/dir/x", true},
      {"default path, itself", "a=1", "h", "/dir/doc.txt", "h", "/dir", true},
      {"default path, sibling", "a=1", "h", "/dir/doc.txt", "h", "/directory", false},
      {"default path, root", "a=1", "h", "/dir/doc.txt", "h", "/", false},
      {"path attribute", "a=1; Path=/", "h", "/dir/doc.txt", "h", "/other", true},
      {"path attribute not absolute", "a=1; Path=x", "h", "/dir/doc.txt", "h", "/other", false},
      {"secure never stored", "a=1; Secure", "h", "/", "h", "/", false},
      {"no equals sign", "a", "h", "/", "h", "/", false},
      {"empty name", "=1", "h", "/", "h", "/", false},
      {"bare CR in value", "a=1\rX-Evil: 1", "h", "/", "h", "/", false},
      {"control character in value", "a=1\x01", "h", "/", "h", "/", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Label);
    TCookieStore store = Store();
    store.SetCookie(row.SetCookie, row.SetHost, row.SetPath, kNow);
    EXPECT_EQ(store.CookieHeader(row.Host, row.Path, kNow), row.Sent ? "a=1" : "");
  }
}

TEST(Cookies, ExpiryDeletesAndEnds) {
  TCookieStore store = Store();
  store.SetCookie("keep=1; Max-Age=60", "h", "/", kNow);
  store.SetCookie("date=2; Expires=Wed, 09 Jun 2100 10:18:14 GMT", "h", "/", kNow);
  store.SetCookie("old=3; Expires=Sun, 06 Nov 1994 08:49:37 GMT", "h", "/", kNow);
  store.SetCookie("both=4; Expires=Sun, 06 Nov 1994 08:49:37 GMT; Max-Age=60", "h", "/", kNow);
  EXPECT_EQ(store.CookieHeader("h", "/", kNow), "keep=1; date=2; both=4");
  EXPECT_EQ(store.CookieHeader("h", "/", kNow + seconds(61)), "date=2");

  store.SetCookie("keep=x; Max-Age=0", "h", "/", kNow);
  store.SetCookie("date=x; Max-Age=-1", "h", "/", kNow);
  EXPECT_EQ(store.CookieHeader("h", "/", kNow), "both=4");
  EXPECT_EQ(store.Size(), 1u);
}

TEST(Cookies, ReplacedNotDuplicatedAndOrdered) {
  TCookieStore store = Store();
  store.SetCookie("a=1; Path=/", "h", "/", kNow);
  store.SetCookie("b=2; Path=/dir", "h", "/", kNow);
  store.SetCookie("c=3; Path=/", "h", "/", kNow);
  store.SetCookie("a=4; Path=/", "h", "/", kNow);
  EXPECT_EQ(store.Size(), 3u);
  // Longer paths first, then the order of first setting.
  EXPECT_EQ(store.CookieHeader("h", "/dir/doc", kNow), "b=2; a=4; c=3");
}

TEST(Cookies, SetCookie2ListsSeveral) {
  TCookieStore store = Store();
  store.SetCookie2("x=1; Version=1, y=\"a,b\"; Version=1", "h", "/", kNow);
  EXPECT_EQ(store.CookieHeader("h", "/", kNow), "x=1; y=\"a,b\"");
}

TEST(CookieCaps, CookieOfMoreThan4KiBIsAnError) {
  TCookieStore store = Store();
  store.SetCookie("n=" + std::string(4095, 'v'), "h", "/", kNow);
  EXPECT_FAULT(store.SetCookie("n=" + std::string(4096, 'v'), "h", "/", kNow), CookieTooLarge);
  EXPECT_EQ(store.Size(), 1u);
}

TEST(CookieCaps, FiftyCookiesAtMost) {
  TCookieStore store = Store();
  for (int i = 0; i < 50; ++i) store.SetCookie("c" + std::to_string(i) + "=1", "h", "/", kNow);
  EXPECT_FAULT(store.SetCookie("one-more=1", "h", "/", kNow), TooManyCookies);
  EXPECT_EQ(store.Size(), 50u);
  // Replacing one is no new cookie; an expired one makes room.
  store.SetCookie("c7=2", "h", "/", kNow);
  store.SetCookie("c8=2; Max-Age=5", "h", "/", kNow);
  store.SetCookie("one-more=1", "h", "/", kNow + seconds(6));
  EXPECT_EQ(store.Size(), 50u);
}

// 50 cookies of 4 KiB would send 200 KiB with every request: the Cookie
// header holds 8 KiB, and the oldest cookies are left out first.
TEST(CookieCaps, CookieHeaderHolds8KiB) {
  const std::string v4000(4000, 'v');
  TCookieStore store = Store();
  for (int i = 0; i < 50; ++i)
    store.SetCookie("c" + std::to_string(i) + "=" + v4000, "h", "/", kNow);
  EXPECT_EQ(store.CookieHeader("h", "/", kNow), "c48=" + v4000 + "; c49=" + v4000);
  EXPECT_EQ(store.Size(), 50u);  // left out of the request, not deleted

  // Two pairs of 4095 bytes and "; " make exactly 8192; one byte more drops
  // the older even where its longer path would list it first.
  const std::string v4093(4093, 'v');
  TCookieStore exact = Store();
  exact.SetCookie("a=" + v4093 + "; Path=/dir", "h", "/", kNow);
  exact.SetCookie("b=" + v4093, "h", "/", kNow);
  EXPECT_EQ(exact.CookieHeader("h", "/dir/x", kNow).size(), 8192u);
  exact.SetCookie("b=" + v4093 + "w", "h", "/", kNow);
  EXPECT_EQ(exact.CookieHeader("h", "/dir/x", kNow), "b=" + v4093 + "w");
}

TEST(CookieDate, FormatsInUse) {
  const struct {
    const char* Text;
    std::int64_t Seconds;  // -1: not a date
  } rows[] = {
      {"Sun, 06 Nov 1994 08:49:37 GMT", 784111777},
      {"Sunday, 06-Nov-94 08:49:37 GMT", 784111777},
      {"Sun Nov  6 08:49:37 1994", 784111777},
      {"Wed, 09 Jun 2021 10:18:14 GMT", 1623233894},
      {"09 jun 21 10:18:14", 1623233894},
      {"Thu, 01 Jan 2037 00:00:00 GMT", 2114380800},
      {"Sun, 30 Feb 2020 08:49:37 GMT", -1},
      {"Sun, 31 Apr 2020 08:49:37 GMT", -1},
      {"Sun, 06 Nov 1994 24:00:00 GMT", -1},
      {"Sun, 06 Nov 1600 08:49:37 GMT", -1},
      {"Sun, 06 Nov 1994", -1},
      {"tomorrow", -1},
      {"", -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Text);
    const std::optional<TCookieTime> date = http::ParseCookieDate(row.Text);
    if (row.Seconds < 0) {
      EXPECT_FALSE(date.has_value());
    } else {
      ASSERT_TRUE(date.has_value());
      EXPECT_EQ(date->time_since_epoch().count(), row.Seconds);
    }
  }
}

}  // namespace
