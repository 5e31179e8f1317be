#include "net/web_request.h"

#include <gtest/gtest.h>

#include "site_fixture.h"
#include "text/text_ops.h"

namespace quorvane::testing {
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
  const char* method;        // nullptr: omitted
  const char* callerHeaders;  // nullptr: omitted
  std::string body;
  // What the site must see and what the caller's variables must hold afterwards.
  const char* wireMethod;
  const char* settledMethod;
  std::vector<std::pair<std::string, std::string>> wireHeaders;
  std::string wireBody;
};

class HeaderBlockTest : public SiteTest, public ::testing::WithParamInterface<HeaderCase> {};

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
    ::testing::Values(
        HeaderCase{"OmittedMethodIsGetWithDefaults", nullptr, nullptr, "ignored=1", "GET", "",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"PutBecomesGetAndSendsNoBody", "PUT", "", "a=1", "GET", "GET",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"EmptyMethodBecomesGet", "", "", "", "GET", "GET",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"PostWithBodyGetsContentPair", "POST", "", "a=1&b=2", "POST", "POST",
                   {{"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", "7"}},
                   "a=1&b=2"},
        HeaderCase{"LowerCasePostIsSentAsWritten", "post", "", "a=1", "post", "post",
                   {{"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", "3"}},
                   "a=1"},
        HeaderCase{"PostWithEmptyBodyHasNoContentLines", "POST", "", "", "POST", "POST",
                   {{"Accept", kDefaultAccept}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"ContentLengthCountsBytesOfLocalText", "POST", "", kGbkBody, "POST", "POST",
                   {{"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"},
                    {"Content-Type", kForm},
                    {"Content-Length", std::to_string(kGbkBody.size())}},
                   kGbkBody},
        HeaderCase{"LowerCaseAcceptSuppressesDefaultAccept", "GET", "accept: text/html\r\n", "",
                   "GET", "GET",
                   {{"accept", "text/html"}, {"Referer", "<url>"}, {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"AcceptLanguageOnlySuppressesLanguageLine", "GET", "Accept-Language: en\r\n",
                   "", "GET", "GET",
                   {{"Accept-Language", "en"}, {"Accept", kDefaultAccept}, {"Referer", "<url>"}},
                   ""},
        HeaderCase{"RefererWithoutSpaceIsNotRecognised", "GET", "Referer:http://a/\r\n", "",
                   "GET", "GET",
                   {{"Referer", "http://a/"},
                    {"Accept", kDefaultAccept},
                    {"Referer", "<url>"},
                    {"Accept-Language", "zh-cn"}},
                   ""},
        HeaderCase{"CallersContentPairIsKeptAndOursAdded", "POST",
                   "Content-Type: text/plain\r\nContent-Length: 3\r\n", "x=1", "POST", "POST",
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
}  // namespace quorvane::testing
