#include "net/fetch_url.h"

#include <gtest/gtest.h>

#include "site_fixture.h"

namespace quorvane::testing {
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
  for (const auto& [name, value] : request.headers) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Host", "User-Agent", "Accept"}));
  EXPECT_EQ(request.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(request.HeaderValues("Accept"), std::vector<std::string>{"*/*"});
  EXPECT_EQ(request.Header("Host"), site.HttpHost());
  EXPECT_TRUE(request.body.empty());
}

}  // namespace
}  // namespace quorvane::testing
