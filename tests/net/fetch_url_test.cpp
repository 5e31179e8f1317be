#include "net/fetch_url.h"

#include <gtest/gtest.h>

#include "raw_server.h"
#include "site_fixture.h"

namespace quorvane::test_support {
namespace {

using FetchUrlTest = SiteTest;

TEST_F(FetchUrlTest, SendsOneHttp10GetWithOnlyAcceptOfItsOwn) {
  site.Route("GET", "/page", Body("hello"));
  EXPECT_EQ(FetchUrl(Http("/page?x=1")).str(), "hello");

  auto request = OnlyRequest();
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, "/page?x=1");
  EXPECT_EQ(request.version, "HTTP/1.0");
  std::vector<std::string> names;
  for (const auto& [name, value] : request.headers)
    names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Host", "User-Agent", "Accept"}));
  EXPECT_EQ(request.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(request.HeaderValues("Accept"), std::vector<std::string>{"*/*"});
  EXPECT_EQ(request.Header("Host"), site.HttpHost());
  EXPECT_TRUE(request.body.empty());
}

}  // namespace
}  // namespace quorvane::test_support

namespace quorvane::test_support {
namespace {

TEST_F(FetchUrlTest, EmptyAddressTouchesNoNetwork) {
  EXPECT_TRUE(FetchUrl(Text()).empty());
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(FetchUrlTest, FragmentIsCutAndQueryKept) {
  site.Route("GET", "/a/b", Body("ok"));
  EXPECT_EQ(FetchUrl(Http("/a/b?q=1&r=2#part?x=9")).str(), "ok");
  EXPECT_EQ(OnlyRequest().target, "/a/b?q=1&r=2");
}

TEST_F(FetchUrlTest, StatusIsNotLookedAtAndBodyBytesComeUnchanged) {
  struct Case {
    const char* path;
    int status;
    std::string body;
  };
  const Case cases[] = {
      {"/missing", 404, "<h1>no such page</h1>"},
      {"/broken", 500, "server trouble"},
      {"/zero", 200, std::string("before\0after", 12)},  // a buffer keeps every byte
      {"/empty", 200, ""},
  };
  for (const Case& c : cases) {
    testsite::Response response = Body(c.body);
    response.status = c.status;
    site.Route("GET", c.path, response);
    EXPECT_EQ(FetchUrl(Http(c.path)).str(), c.body) << c.path;
  }
}

TEST_F(FetchUrlTest, HttpsIsVerifiedAgainstTheTrustedCertificate) {
  site.Route("GET", "/captcha", Body("png bytes"));
  EXPECT_EQ(FetchUrl(Https("/captcha")).str(), "png bytes");
  auto request = OnlyRequest();
  EXPECT_TRUE(request.secure);
  EXPECT_EQ(request.version, "HTTP/1.0");

  // Back to the system's store, which has never heard of the site's self-made certificate.
  TrustOnlyCertificateForTesting("");
  EXPECT_TRUE(FetchUrl(Https("/captcha")).empty());
  // The handshake failed, so no request ever reached the site.
  EXPECT_EQ(site.Requests().size(), 1u);
}

TEST_F(FetchUrlTest, LocalhostMatchesTheCertificatesDnsName) {
  site.Route("GET", "/c", Body("by name"));
  EXPECT_EQ(FetchUrl(Text("https://localhost:" + std::to_string(site.HttpsPort()) + "/c")).str(),
            "by name");
}

TEST_F(FetchUrlTest, RedirectsAreFollowedWithinACap) {
  testsite::Response moved;
  moved.status = 302;
  moved.headers = {{"Location", "/final"}};
  site.Route("GET", "/start", moved);
  site.Route("GET", "/final", Body("arrived"));
  EXPECT_EQ(FetchUrl(Http("/start")).str(), "arrived");

  testsite::Response loop;
  loop.status = 302;
  loop.headers = {{"Location", "/loop"}};
  site.Route("GET", "/loop", loop);
  site.ClearRequests();
  EXPECT_TRUE(FetchUrl(Http("/loop")).empty());
  EXPECT_LE(site.Requests().size(), 21u);
}

TEST_F(FetchUrlTest, OtherSchemesAndSchemelessAddressesAreRefused) {
  site.Route("GET", "/p", Body("x"));
  for (std::string address : {"ftp://" + site.HttpHost() + "/p", site.HttpHost() + "/p",
                              std::string("file:///etc/hostname")}) {
    EXPECT_TRUE(FetchUrl(Text(address)).empty()) << address;
  }
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(FetchUrlTest, LargeChunkedBodyArrivesWhole) {
  std::string big(24 << 20, 'x');
  for (size_t i = 0; i < big.size(); i += 4093)
    big[i] = static_cast<char>('a' + i % 26);
  testsite::Response response = Body(big);
  response.headers = {{"Transfer-Encoding", "chunked"}};
  response.pieceSize = 100000;
  site.Route("GET", "/big", response);
  Bytes got = FetchUrl(Http("/big"));
  EXPECT_EQ(got.size(), big.size());
  EXPECT_TRUE(got.str() == big);
}

// What the caller keeps (the play-address XML stays until the next query) costs about what it
// holds, whatever the answer claimed about its length.
TEST_F(FetchUrlTest, BufferHandedBackHoldsLittleBeyondItsBytes) {
  RawServer liar([](RawConnection& c) {
    c.ReadHead();
    c.Send("HTTP/1.1 200 OK\r\nContent-Length: 268435456\r\n\r\n0123456789abcdef");
  });
  Bytes lied = FetchUrl(Text(liar.Url("/cover")));
  EXPECT_EQ(lied.str(), "0123456789abcdef");
  EXPECT_LT(lied.mutable_str().capacity(), size_t{4096});

  // A truthful large length, and no length at all (the buffer grows by doubling).
  std::string big(size_t{6} << 20, 'x');
  site.Route("GET", "/stated", Body(big));
  testsite::Response chunked = Body(big);
  chunked.headers = {{"Transfer-Encoding", "chunked"}};
  site.Route("GET", "/chunked", chunked);
  for (const char* path : {"/stated", "/chunked"}) {
    Bytes got = FetchUrl(Http(path));
    EXPECT_EQ(got.size(), big.size()) << path;
    EXPECT_LE(got.mutable_str().capacity(), big.size() + big.size() / 8 + 4096) << path;
  }
}

}  // namespace
}  // namespace quorvane::test_support
