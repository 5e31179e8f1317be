#include <gtest/gtest.h>

#include <ostream>

#include "net/endpoints.h"
#include "net/url_split.h"
#include "text/text_ops.h"

namespace quorvane::test_support {
namespace {

struct SplitCase {
  const char* name;
  std::string url;
  std::string host;
  int32_t port;
  std::string path;
};

// Test names in CTest show the case name instead of the bytes of the case.
void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class UrlSplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(UrlSplitTest, SplitsHostPortAndPath) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(HostFromUrl(Text(c.url)).str(), c.host);
  EXPECT_EQ(PortFromUrl(Text(c.url)), c.port);
  EXPECT_EQ(PathFromUrl(Text(c.url)).str(), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlSplitTest,
    testing::Values(
        SplitCase{"HostAlone", "http://example.com", "example.com", 80, "/"},
        SplitCase{"HostWithSlash", "http://example.com/", "example.com", 80, "/"},
        SplitCase{"CapitalPrefixMixedHostPortAndPath", "HTTP://WwW.Example.COM:8080/a/B?x=1",
                  "www.example.com", 8080, "/a/B?x=1"},
        SplitCase{"NoPrefix", "host:81/p", "host", 81, "/p"},
        SplitCase{"NoPrefixNoSlash", "host", "host", 80, "/"},
        SplitCase{"EmptyPortReadsZero", "http://host:/p", "host", 0, "/p"},
        SplitCase{"PortWithLettersReadsItsDigits", "http://host:12ab/p", "host", 12, "/p"},
        SplitCase{"HttpsDefaultsTo443", "https://secure.example/login", "secure.example", 443,
                  "/login"},
        SplitCase{"HttpsCapitalPrefixWithPort", "HTTPS://Secure.Example:8443/x?y", "secure.example",
                  8443, "/x?y"},
        SplitCase{"HttpsHostAlone", "https://h", "h", 443, "/"},
        SplitCase{"QueryWithoutPathIsLost", "http://host?x=1", "host?x=1", 80, "/"},
        SplitCase{"FragmentStaysInThePath", "http://h/p#f", "h", 80, "/p#f"},
        SplitCase{"OtherSchemeIsPartOfTheAuthority", "ftp://h/p", "ftp", 0, "//h/p"},
        // 0xB2 0x2F is one two-byte character: its trail byte is not a "/".
        // 0xB2 0x41 is one two-byte character: its trail byte is not an "A" to lower.
        SplitCase{"TrailByteIsNotLowered",
                  "http://X\xB2"
                  "AB/p",
                  "x\xB2"
                  "Ab",
                  80, "/p"},
        SplitCase{"TrailByteIsNotASlash", "http://a\xB2/b/c", "a\xB2/b", 80, "/c"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EndpointsTest, BuildsTheSixAddresses) {
  Endpoints endpoints{"v.test:81", "p.test", "c.test", "acct.test:8443", "g.test"};
  EXPECT_EQ(endpoints.VideoPage(Text("170001")).str(), "http://v.test:81/video/av170001");
  EXPECT_EQ(endpoints.PlayUrl(Text("279786")).str(),
            "http://p.test/playurl?quality=2&sign=d2c95a0e7b13f4a8c60e5b9d27a3f1c4&cid=279786");
  EXPECT_EQ(endpoints.Captcha().str(), "https://c.test/captcha");
  EXPECT_EQ(endpoints.Login().str(), "https://acct.test:8443/login");
  EXPECT_EQ(endpoints.Logout().str(), "https://acct.test:8443/login?act=exit");
  EXPECT_EQ(endpoints.GameReturnAddress().str(), "http%3A%2F%2Fg.test%2Findex.html");
  // The number goes in as typed; the network layer is what keeps it off the wire.
  EXPECT_EQ(endpoints.VideoPage(Text("1 2")).str(), "http://v.test:81/video/av1 2");
}

TEST(EndpointsTest, DefaultHoldsTheBuildsHosts) {
  Endpoints endpoints = Endpoints::Default();
  EXPECT_EQ(endpoints.videoHost, QUORVANE_TEST_VIDEO_HOST);
  EXPECT_EQ(endpoints.playUrlHost, QUORVANE_TEST_PLAYURL_HOST);
  EXPECT_EQ(endpoints.captchaHost, QUORVANE_TEST_CAPTCHA_HOST);
  EXPECT_EQ(endpoints.accountHost, QUORVANE_TEST_ACCOUNT_HOST);
  EXPECT_EQ(endpoints.gameHost, QUORVANE_TEST_GAME_HOST);
}

}  // namespace
}  // namespace quorvane::test_support
