// What a caller's text can and cannot put on the wire. The AV number is typed by the user and
// goes into the video-page address unchanged, so these are user input reaching the network.
#include <gtest/gtest.h>

#include "net/endpoints.h"
#include "net/fetch_url.h"
#include "net/web_request.h"
#include "site_fixture.h"
#include "text/text_ops.h"

namespace quorvane::test_support {
namespace {

using WireSafetyTest = SiteTest;

Endpoints SiteEndpoints(const testsite::StandInSite& site) {
  Endpoints endpoints = Endpoints::Default();
  endpoints.videoHost = site.HttpHost();
  return endpoints;
}

TEST_F(WireSafetyTest, ControlBytesInAnAddressSendNothing) {
  site.Route("GET", "/video/av1", Body("page"));
  const char* const avNumbers[] = {
      "1 HTTP/1.1\r\nX-Injected: yes\r\n\r\nGET /video/av1",
      "1\r\nX-Injected: yes",
      "1\nX-Injected: yes",
      "1\rX",
      "1\tX",
      "1\x7f",
  };
  Endpoints endpoints = SiteEndpoints(site);
  for (const char* av : avNumbers) {
    Text address = endpoints.VideoPage(Text(av));
    EXPECT_TRUE(FetchUrl(address).empty()) << av;
    EXPECT_TRUE(WebRequest(address).empty()) << av;
  }
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(WireSafetyTest, SpacesAndHighBytesArePercentEncoded) {
  site.Route("GET", "/video/av1%202", Body("page"));
  Text av = Text("1 2");
  EXPECT_EQ(FetchUrl(SiteEndpoints(site).VideoPage(av)).str(), "page");
  EXPECT_EQ(WebRequest(SiteEndpoints(site).VideoPage(av)).str(), "page");
  Text local = Local("视频");
  FetchUrl(Http("/q?name=" + local.str() + " x"));
  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const auto& request : requests)
    EXPECT_TRUE(request.Header("X-Injected").empty());
  EXPECT_EQ(requests[0].target, "/video/av1%202");
  EXPECT_EQ(requests[1].target, "/video/av1%202");
  EXPECT_EQ(requests[2].target, "/q?name=%CA%D3%C6%B5%20x");
  // The Referer names the URL as the caller gave it; only the request line is encoded.
  EXPECT_EQ(requests[1].Header("Referer"), SiteEndpoints(site).VideoPage(av).str());
}

TEST_F(WireSafetyTest, HostsThatAreNotPlainNamesSendNothing) {
  for (std::string address :
       {"http://127.0.0.1 :" + std::to_string(site.HttpPort()) + "/",
        "http://" + Local("网站").str() + "/", std::string("http:///p"),
        std::string("http://127.0.0.1:99999/"), std::string("http://127.0.0.1:-5/"),
        // Forms where libcurl and a reader of the address may see different hosts.
        "http://user:pw@127.0.0.1:" + std::to_string(site.HttpPort()) + "/",
        "http://[::1]:" + std::to_string(site.HttpPort()) + "/",
        "http://127.0.0.1%3a" + std::to_string(site.HttpPort()) + "/",
        "http://h\\@127.0.0.1:" + std::to_string(site.HttpPort()) + "/",
        std::string("http://127.0.0.1:/"), std::string("http://127.0.0.1:8o/")}) {
    EXPECT_TRUE(WebRequest(Text(address)).empty()) << address;
    EXPECT_TRUE(FetchUrl(Text(address)).empty()) << address;
  }
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(WireSafetyTest, HeaderLinesWithControlBytesSendNothing) {
  site.Route("GET", "/h", Body("ok"));
  const char* const blocks[] = {
      "X-A: 1\nX-Injected: yes\r\n",
      "X-A: 1\rX-Injected: yes\r\n",
      "X-A: \x01\r\n",
      "X-A: 1\r\n\n",
  };
  for (const char* block : blocks) {
    Text headers(block);
    EXPECT_TRUE(WebRequest(Http("/h"), nullptr, nullptr, &headers).empty());
  }
  EXPECT_TRUE(site.Requests().empty());

  // A tab inside a value is ordinary header text; an empty line in the block is skipped
  // rather than ending the head early.
  Text headers("X-Tab: a\tb\r\n\r\nX-After: 1\r\n");
  EXPECT_EQ(WebRequest(Http("/h"), nullptr, nullptr, &headers).str(), "ok");
  auto request = OnlyRequest();
  EXPECT_EQ(request.Header("X-Tab"), "a\tb");
  EXPECT_EQ(request.Header("X-After"), "1");
}

TEST_F(WireSafetyTest, CallersEmptyHeaderValueIsSentEmpty) {
  site.Route("GET", "/h", Body("ok"));
  Text headers("X-Empty:\r\n");
  EXPECT_EQ(WebRequest(Http("/h"), nullptr, nullptr, &headers).str(), "ok");
  auto values = OnlyRequest().HeaderValues("X-Empty");
  EXPECT_EQ(values, std::vector<std::string>{""});
}

}  // namespace
}  // namespace quorvane::test_support
