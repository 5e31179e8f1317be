// One cookie store for both routines, as the captcha → login → logout road needs.
#include <gtest/gtest.h>

#include "net/fetch_url.h"
#include "net/web_request.h"
#include "site_fixture.h"

namespace quorvane::test_support {
namespace {

using CookieStoreTest = SiteTest;

TEST_F(CookieStoreTest, CookiesTravelBetweenFetchAndRequestBothWays) {
  testsite::Response captcha = Body("image");
  captcha.headers = {{"Set-Cookie", "captchaKey=c1; Path=/"}};
  site.Route("GET", "/captcha", captcha);
  testsite::Response login = Body("ok");
  login.headers = {{"Set-Cookie", "session=s1; Path=/"}};
  site.Route("POST", "/login", login);
  site.Route("GET", "/login", Body("bye"));

  // Captcha over https, login over https, logout with act=exit: the account road.
  ASSERT_EQ(FetchUrl(Https("/captcha")).str(), "image");
  Text method("POST");
  ASSERT_EQ(WebRequest(Https("/login"), &method, nullptr, nullptr, Text("vdcode=1")).str(), "ok");
  ASSERT_EQ(FetchUrl(Https("/login?act=exit")).str(), "bye");

  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[1].Cookie("captchaKey"), "c1");  // set by a FetchUrl answer
  EXPECT_EQ(requests[2].Cookie("captchaKey"), "c1");
  EXPECT_EQ(requests[2].Cookie("session"), "s1");  // set by the WebRequest answer
}

TEST_F(CookieStoreTest, PlainAndSecureRequestsToTheHostShareCookies) {
  testsite::Response setter = Body("set");
  setter.headers = {{"Set-Cookie", "plain=p1; Path=/"}};
  site.Route("GET", "/set", setter);
  site.Route("GET", "/see", Body("seen"));
  ASSERT_EQ(WebRequest(Http("/set")).str(), "set");
  ASSERT_EQ(FetchUrl(Https("/see")).str(), "seen");
  EXPECT_EQ(site.Requests().back().Cookie("plain"), "p1");
}

}  // namespace
}  // namespace quorvane::test_support
