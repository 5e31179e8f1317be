#include "net/web_request.h"

#include <gtest/gtest.h>

#include <ostream>

#include "site_fixture.h"
#include "text/text_ops.h"

namespace quorvane::test_support {
namespace {

constexpr const char* kDefaultAccept =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
constexpr const char* kForm = "application/x-www-form-urlencoded";

using WebRequestTest = SiteTest;

// Header lines the request carried apart from the ones libcurl always adds itself.
std::vector<std::pair<std::string, std::string>> OwnHeaders(const testsite::RecordedRequest& r) {
  std::vector<std::pair<std::string, std::string>> own;
  for (const auto& header : r.headers) {
    if (header.first != "Host" && header.first != "User-Agent") own.push_back(header);
  }
  return own;
}

struct HeaderCase {
  const char* name;
  const char* method;         // nullptr: omitted
  const char* callerHeaders;  // nullptr: omitted
  std::string body;
  // What the site must see and what the caller's variables must hold afterwards.
  const char* wireMethod;
  const char* settledMethod;
  std::vector<std::pair<std::string, std::string>> wireHeaders;
  std::string wireBody;
};

// Test names in CTest show the case name instead of the bytes of the case.
void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

class HeaderBlockTest : public SiteTest, public testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderBlockTest, SendsTheCompletedBlockAndWritesItBack) {
  const HeaderCase& c = GetParam();
  site.Route("GET", "/form", Body("got it"));
  site.Route("POST", "/form", Body("got it"));
  Text url = Http("/form");
  Text method(c.method ? c.method : "");
  Text headers(c.callerHeaders ? c.callerHeaders : "");

  Text answer = WebRequest(url, c.method ? &method : nullptr, nullptr,
                           c.callerHeaders ? &headers : nullptr, Text(c.body));

  EXPECT_EQ(answer.str(), "got it");
  auto request = OnlyRequest();
  EXPECT_EQ(request.method, c.wireMethod);
  EXPECT_EQ(request.version, "HTTP/1.1");
  EXPECT_EQ(request.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  auto expected = c.wireHeaders;
  for (auto& [name, value] : expected) {
    if (value == "<url>") value = url.str();
  }
  EXPECT_EQ(OwnHeaders(request), expected);
  EXPECT_EQ(request.body, c.wireBody);
  if (c.method) EXPECT_EQ(method.str(), c.settledMethod);
  if (c.callerHeaders) {
    // The block written back is the caller's text followed by the lines that were added.
    std::string block = c.callerHeaders;
    size_t callerLines = 0;
    for (size_t at = block.find("\r\n"); at != std::string::npos; at = block.find("\r\n", at + 2)) {
      ++callerLines;
    }
    for (size_t i = callerLines; i < expected.size(); ++i) {
      block += expected[i].first + ": " + expected[i].second + "\r\n";
    }
    EXPECT_EQ(headers.str(), block);
  }
}

const std::string kGbkBody = Local("userid=测试&pwd=1").str();  // 2 two-byte characters

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderBlockTest,
    testing::Values(
        HeaderCase{"OmittedMethodIsGetWithDefaults",
                   nullptr,
                   nullptr,
                   "ignored=1",
                   "GET",
                   "",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"PutBecomesGetAndSendsNoBody",
                   "PUT",
                   "",
                   "a=1",
                   "GET",
                   "GET",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"EmptyMethodBecomesGet",
                   "",
                   "",
                   "",
                   "GET",
                   "GET",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"PostWithBodyGetsContentPair",
                   "POST",
                   "",
                   "a=1&b=2",
                   "POST",
                   "POST",
                   {{"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", "7"}},
                   "a=1&b=2"},
        HeaderCase{"LowerCasePostIsSentAsWritten",
                   "post",
                   "",
                   "a=1",
                   "post",
                   "post",
                   {{"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", "3"}},
                   "a=1"},
        HeaderCase{"PostWithEmptyBodyHasNoContentLines",
                   "POST",
                   "",
                   "",
                   "POST",
                   "POST",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"ContentLengthCountsBytesOfLocalText",
                   "POST",
                   "",
                   kGbkBody,
                   "POST",
                   "POST",
                   {{"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", std::to_string(kGbkBody.size())}},
                   kGbkBody},
        HeaderCase{"LowerCaseAcceptSuppressesDefaultAccept",
                   "GET",
                   "accept: text/html\r\n",
                   "",
                   "GET",
                   "GET",
                   {{"accept", "text/html"}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"AcceptLanguageOnlySuppressesLanguageLine",
                   "GET",
                   "Accept-Language: en\r\n",
                   "",
                   "GET",
                   "GET",
                   {{"Accept-Language", "en"}, {"Accept", kDefaultAccept}, {"Referer", "<url>"}},
                   ""},
        HeaderCase{"RefererWithoutSpaceIsNotRecognised",
                   "GET",
                   "Referer:http://a/\r\n",
                   "",
                   "GET",
                   "GET",
                   {{"Referer", "http://a/"},
                    {"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"CallersContentPairIsKeptAndOursAdded",
                   "POST",
                   "Content-Type: text/plain\r\nContent-Length: 3\r\n",
                   "x=1",
                   "POST",
                   "POST",
                   {{"Content-Type", "text/plain"},
                    {"Content-Length", "3"},
                    {"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", "3"}},
                   "x=1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::test_support

namespace quorvane::test_support {
namespace {

TEST_F(WebRequestTest, HttpsGoesSecureWithVerifiedCertificate) {
  site.Route("POST", "/login", Body("welcome"));
  Text method("POST");
  EXPECT_EQ(WebRequest(Https("/login"), &method, nullptr, nullptr, Text("pwd=secret")).str(),
            "welcome");
  auto request = OnlyRequest();
  EXPECT_TRUE(request.secure);
  EXPECT_EQ(request.body, "pwd=secret");
  EXPECT_EQ(request.Header("Referer"), Https("/login").str());

  TrustOnlyCertificateForTesting("");
  EXPECT_TRUE(WebRequest(Https("/login"), &method, nullptr, nullptr, Text("pwd=secret")).empty());
  EXPECT_EQ(site.Requests().size(), 1u);
}

TEST_F(WebRequestTest, BodyIsCutAtItsFirstZeroByte) {
  site.Route("GET", "/z", Body(std::string("text\0hidden", 11)));
  EXPECT_EQ(WebRequest(Http("/z")).str(), "text");
}

TEST_F(WebRequestTest, ErrorPagesComeBackLikeAnyBody) {
  testsite::Response failed = Body("try later");
  failed.status = 500;
  site.Route("GET", "/busy", failed);
  EXPECT_EQ(WebRequest(Http("/busy")).str(), "try later");
  EXPECT_EQ(WebRequest(Http("/nowhere")).str(), "Not Found");
}

TEST_F(WebRequestTest, PrefixlessUrlGoesToHostAndPort) {
  site.Route("GET", "/p", Body("plain"));
  Text url(site.HttpHost() + "/p?k=v");
  EXPECT_EQ(WebRequest(url).str(), "plain");
  EXPECT_EQ(OnlyRequest().target, "/p?k=v");
}

TEST_F(WebRequestTest, HostAloneRequestsRoot) {
  site.Route("GET", "/", Body("root"));
  EXPECT_EQ(WebRequest(Text("HTTP://" + site.HttpHost())).str(), "root");
  EXPECT_EQ(WebRequest(Text("http://" + site.HttpHost() + "/")).str(), "root");
}

TEST_F(WebRequestTest, RawResponseHeadersWhenTheyFit) {
  testsite::Response response = Body("b");
  response.headers = {{"X-Small", "1"}};
  site.Route("GET", "/small", response);
  testsite::Response bloated = Body("b");
  bloated.headers = {{"X-Big", std::string(1100, 'h')}};
  site.Route("GET", "/bloated", bloated);

  Text raw("stale");
  EXPECT_EQ(WebRequest(Http("/small"), nullptr, nullptr, nullptr, {}, &raw).str(), "b");
  EXPECT_EQ(raw.view().substr(0, 17), "HTTP/1.1 200 OK\r\n");
  EXPECT_NE(raw.str().find("X-Small: 1\r\n"), std::string::npos);
  EXPECT_EQ(raw.view().substr(raw.view().size() - 4), "\r\n\r\n");

  // Too long for the 1024-byte buffer: the answer still comes, the headers are empty.
  EXPECT_EQ(WebRequest(Http("/bloated"), nullptr, nullptr, nullptr, {}, &raw).str(), "b");
  EXPECT_TRUE(raw.empty());
  // A failed request leaves no stale headers behind either.
  raw = Text("stale");
  EXPECT_TRUE(WebRequest(Text("http://127.0.0.1:1/"), nullptr, nullptr, nullptr, {}, &raw).empty());
  EXPECT_TRUE(raw.empty());
}

TEST_F(WebRequestTest, RedirectAfterPostGetsWithoutBodyOrContentLines) {
  testsite::Response seeOther;
  seeOther.status = 302;
  seeOther.headers = {{"Location", "/home"}};
  site.Route("POST", "/login", seeOther);
  site.Route("GET", "/home", Body("logged in"));
  Text method("POST");
  EXPECT_EQ(WebRequest(Http("/login"), &method, nullptr, nullptr, Text("a=1")).str(), "logged in");

  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "a=1");
  EXPECT_EQ(requests[1].method, "GET");
  EXPECT_EQ(requests[1].path, "/home");
  EXPECT_TRUE(requests[1].HeaderValues("Content-Length").empty());
  EXPECT_TRUE(requests[1].HeaderValues("Content-Type").empty());
  EXPECT_EQ(requests[1].Header("Accept-Language"), "zh-cn");
}

TEST_F(WebRequestTest, TemporaryRedirectRepeatsThePost) {
  testsite::Response again;
  again.status = 307;
  again.headers = {{"Location", "/login2"}};
  site.Route("POST", "/login", again);
  site.Route("POST", "/login2", Body("second"));
  Text method("POST");
  EXPECT_EQ(WebRequest(Http("/login"), &method, nullptr, nullptr, Text("a=1")).str(), "second");
  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].body, "a=1");
  EXPECT_EQ(requests[1].HeaderValues("Content-Length"), std::vector<std::string>{"3"});
}

// The caller's Cookie and Authorization lines are meant for the address it gave: they go on
// to the same site, not to another host a redirect names; other lines go on to both.
TEST_F(WebRequestTest, CallerCredentialsStayOnTheirSite) {
  testsite::Response sameSite;
  sameSite.status = 302;
  sameSite.headers = {{"Location", "/there"}};
  testsite::Response otherHost = sameSite;
  otherHost.headers = {
      {"Location", "https://localhost:" + std::to_string(site.HttpsPort()) + "/there"}};
  site.Route("GET", "/same", sameSite);
  site.Route("GET", "/other", otherHost);
  site.Route("GET", "/there", Body("there"));
  for (const char* path : {"/same", "/other"}) {
    Text headers("Cookie: mine=1\r\nAuthorization: Basic eDp5\r\nX-Kept: 2\r\n");
    EXPECT_EQ(WebRequest(Https(path), nullptr, nullptr, &headers).str(), "there") << path;
  }
  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 4u);
  for (size_t i : {0, 1, 2}) {
    EXPECT_EQ(requests[i].Header("Authorization"), "Basic eDp5") << i;
    EXPECT_EQ(requests[i].Cookie("mine"), "1") << i;
  }
  EXPECT_EQ(requests[3].Header("Host"), "localhost:" + std::to_string(site.HttpsPort()));
  EXPECT_TRUE(requests[3].HeaderValues("Authorization").empty());
  EXPECT_EQ(requests[3].Cookie("mine"), "");
  EXPECT_EQ(requests[3].Header("X-Kept"), "2");
}

TEST_F(WebRequestTest, RedirectLoopEndsEmptyAtTheCap) {
  testsite::Response loop;
  loop.status = 301;
  loop.headers = {{"Location", "/loop"}};
  site.Route("GET", "/loop", loop);
  EXPECT_TRUE(WebRequest(Http("/loop")).empty());
  EXPECT_EQ(site.Requests().size(), 21u);  // the first request and 20 followed redirects
}

TEST_F(WebRequestTest, GivenProxyCarriesTheRequest) {
  // The site stands in for the proxy: a proxied request names the whole URL on its line.
  Text proxy(site.HttpHost());
  EXPECT_EQ(WebRequest(Text("http://video.example/av1?x=1"), nullptr, &proxy).str(), "Not Found");
  auto request = OnlyRequest();
  EXPECT_EQ(request.target, "http://video.example/av1?x=1");
  EXPECT_EQ(request.Header("Host"), "video.example");
  EXPECT_TRUE(request.HeaderValues("Proxy-Connection").empty());
}

TEST_F(WebRequestTest, EmptyProxyNamesNoProxyAndFails) {
  site.Route("GET", "/p", Body("direct"));
  Text empty;
  EXPECT_TRUE(WebRequest(Http("/p"), nullptr, &empty).empty());
  EXPECT_TRUE(site.Requests().empty());
}

TEST_F(WebRequestTest, WithoutProxyEnvironmentProxiesAreIgnored) {
  site.Route("GET", "/p", Body("direct"));
  // A proxy that cannot be reached: going through it would fail the request.
  setenv("http_proxy", "http://127.0.0.1:1", 1);
  setenv("HTTPS_PROXY", "http://127.0.0.1:1", 1);
  Text answer = WebRequest(Http("/p"));
  Text secure = WebRequest(Https("/p"));
  unsetenv("http_proxy");
  unsetenv("HTTPS_PROXY");
  EXPECT_EQ(answer.str(), "direct");
  EXPECT_EQ(secure.str(), "direct");
}

// The in/out variables may be the very texts given as address or body: writing the settled
// method and the sent header block back changes neither the request line, the Referer nor the
// body that goes out.
TEST_F(WebRequestTest, InOutVariablesPassedAsUrlOrBodyChangeNothingSent) {
  site.Route("GET", "/p", Body("got"));
  site.Route("POST", "/q", Body("posted"));
  Text address = Http("/p");
  const std::string given = address.str();
  EXPECT_EQ(WebRequest(address, &address).str(), "got");
  EXPECT_EQ(address.str(), "GET");
  Text method("POST");
  Text headers("X-A: 1\r\n");
  EXPECT_EQ(WebRequest(Http("/q"), &method, nullptr, &headers, headers).str(), "posted");

  auto requests = site.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, "/p");
  EXPECT_EQ(requests[0].Header("Referer"), given);
  EXPECT_EQ(requests[1].body, "X-A: 1\r\n");
  EXPECT_EQ(requests[1].Header("Content-Length"), "8");
}

TEST_F(WebRequestTest, LargeChunkedBodyArrivesWhole) {
  std::string big(16 << 20, 'y');
  for (size_t i = 0; i < big.size(); i += 1021)
    big[i] = static_cast<char>('A' + i % 26);
  testsite::Response response = Body(big);
  response.headers = {{"Transfer-Encoding", "chunked"}};
  site.Route("GET", "/big", response);
  Text got = WebRequest(Http("/big"));
  EXPECT_EQ(got.str().size(), big.size());
  EXPECT_TRUE(got.str() == big);
}

}  // namespace
}  // namespace quorvane::test_support

namespace quorvane::test_support {
namespace {

// The caller's in/out variables change only at the steps that settle them: a call refused
// before its request is opened leaves them all alone; one refused at the path has settled the
// method only.
struct RefusedCase {
  const char* name;
  std::string url;  // "<http>" stands for the site's http host
  bool withProxy;
  const char* settledMethod;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

class RefusedRequestTest : public SiteTest, public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedRequestTest, ChangesOnlyWhatItsStepsReached) {
  const RefusedCase& c = GetParam();
  std::string url = c.url;
  if (size_t at = url.find("<http>"); at != std::string::npos) url.replace(at, 6, site.HttpHost());
  Text method("put");
  Text headers("X-Mine: 1\r\n");
  Text raw("kept");
  Text proxy("");
  EXPECT_TRUE(
      WebRequest(Text(url), &method, c.withProxy ? &proxy : nullptr, &headers, Text("a=1"), &raw)
          .empty());
  EXPECT_EQ(method.str(), c.settledMethod);
  EXPECT_EQ(headers.str(), "X-Mine: 1\r\n");
  EXPECT_EQ(raw.str(), "kept");
  EXPECT_TRUE(site.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedRequestTest,
    testing::Values(RefusedCase{"ProxyThatNamesNone", "http://<http>/p", true, "put"},
                    RefusedCase{"HostThatIsNotAName", "http://bad host/p", false, "put"},
                    RefusedCase{"PortOutOfRange", "http://127.0.0.1:70000/p", false, "put"},
                    RefusedCase{"ControlByteInThePort", "http://<http>\x01/p", false, "put"},
                    RefusedCase{"ControlByteInThePath", "http://<http>/p\x01q", false, "GET"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quorvane::test_support
