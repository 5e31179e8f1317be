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

// A cookie set by a redirect's answer, whose page is dropped, is stored all the same: the next
// request of the chain carries it, and so do later calls of the other routine.
TEST_F(CookieStoreTest, CookiesSetByARedirectTravelOnwardAndAcross) {
  testsite::Response movedLogin;
  movedLogin.status = 302;
  movedLogin.body = "moved";
  movedLogin.headers = {{"Location", "/home"}, {"Set-Cookie", "hopSession=h1; Path=/"}};
  site.Route("POST", "/login", movedLogin);
  site.Route("GET", "/home", Body("home"));
  testsite::Response movedFetch = movedLogin;
  movedFetch.headers = {{"Location", "/image"}, {"Set-Cookie", "hopCaptcha=c2; Path=/"}};
  site.Route("GET", "/captcha", movedFetch);
  site.Route("GET", "/image", Body("image"));

  Text method("POST");
  ASSERT_EQ(WebRequest(Https("/login"), &method, nullptr, nullptr, Text("a=1")).str(), "home");
  ASSERT_EQ(FetchUrl(Https("/captcha")).str(), "image");
  method = Text("POST");
  ASSERT_EQ(WebRequest(Https("/login"), &method, nullptr, nullptr, Text("a=1")).str(), "home");

  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 6u);
  EXPECT_EQ(requests[1].Cookie("hopSession"), "h1");  // the next request of the same chain
  EXPECT_EQ(requests[2].Cookie("hopSession"), "h1");  // a FetchUrl after the WebRequest
  EXPECT_EQ(requests[3].Cookie("hopCaptcha"), "c2");
  EXPECT_EQ(requests[4].Cookie("hopCaptcha"), "c2");  // a WebRequest after the FetchUrl
}

}  // namespace
}  // namespace quorvane::test_support
