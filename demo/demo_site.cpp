#include "demo/demo_site.h"

#include <map>
#include <random>

#include "demo/demo_pictures.h"
#include "demo/sample_videos.h"
#include "demo/site_pages.h"

namespace quorvane::demo {
namespace {

using testsite::RecordedRequest;
using testsite::Response;

constexpr size_t kCaptchaPoolSize = 8;
// Letters and digits that cannot be taken for one another on a small noisy picture.
constexpr std::string_view kCaptchaAlphabet = "ABCDEFGHJKLMNPQRSTUVWXYZ23456789";
constexpr int kCaptchaLength = 4;

Response Page(std::string body) {
  Response response;
  response.body = std::move(body);
  return response;
}

Response Data(std::string contentType, std::string body) {
  Response response;
  response.contentType = std::move(contentType);
  response.body = std::move(body);
  return response;
}

std::string CookieHeader(std::string_view name, std::string_view value) {
  return std::string(name) + "=" + std::string(value) + "; Path=/";
}

std::string ExpiredCookieHeader(std::string_view name) {
  return std::string(name) + "=; Path=/; Max-Age=0";
}

// key=value pairs of a query; a key given twice keeps its first value.
std::map<std::string, std::string, std::less<>> QueryValues(std::string_view query) {
  std::map<std::string, std::string, std::less<>> values;
  while (!query.empty()) {
    size_t end = query.find('&');
    std::string_view pair = query.substr(0, end);
    size_t equals = pair.find('=');
    if (equals != std::string_view::npos) {
      values.emplace(std::string(pair.substr(0, equals)), std::string(pair.substr(equals + 1)));
    }
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  return values;
}

}  // namespace

DemoSite::DemoSite(uint64_t seed) : book_(seed), sessionTokens_(seed ^ 0x5e551011u) {
  std::mt19937 codes(static_cast<uint32_t>(seed));
  std::uniform_int_distribution<size_t> letter(0, kCaptchaAlphabet.size() - 1);
  for (size_t i = 0; i < kCaptchaPoolSize; ++i) {
    std::string code;
    for (int k = 0; k < kCaptchaLength; ++k)
      code += kCaptchaAlphabet[letter(codes)];
    std::string picture = DrawCaptcha(code, codes());
    captchas_.push_back({std::move(code), std::move(picture)});
  }
  RouteVideos();
  RouteAccount();
}

Endpoints DemoSite::DemoEndpoints() const {
  Endpoints endpoints;
  endpoints.videoHost = site_.HttpHost();
  endpoints.playUrlHost = site_.HttpHost();
  endpoints.captchaHost = site_.HttpsHost();
  endpoints.accountHost = site_.HttpsHost();
  endpoints.gameHost = std::string(kDemoGameHost);
  return endpoints;
}

const std::string& DemoSite::CertificatePem() const { return site_.CertificatePem(); }

std::string DemoSite::LastCaptcha() const {
  std::lock_guard lock(mutex_);
  return lastCaptcha_;
}

void DemoSite::SetCaptchaListener(std::function<void(const std::string&)> listener) {
  std::lock_guard lock(mutex_);
  captchaListener_ = std::move(listener);
}

void DemoSite::RouteVideos() {
  const std::string host = site_.HttpHost();
  for (const SampleVideo& video : SampleVideos()) {
    site_.Route("GET", "/video/av" + std::string(video.av), Page(VideoPage(video, host)));
    if (video.kind == PageKind::Normal || video.kind == PageKind::WithoutCid) {
      site_.Route(
          "GET", CoverPath(video),
          Data(video.cover == CoverFormat::Png ? "image/png" : "image/jpeg", DrawCover(video)));
    }
    for (int segment = 1; segment <= video.segments; ++segment) {
      for (bool backup : {false, true}) {
        site_.Route(
            "GET", SegmentPath(video, segment, backup),
            Data("text/plain; charset=utf-8", "Quorvane demo: segment " + std::to_string(segment) +
                                                  " of av" + std::string(video.av) + "\n"));
      }
    }
  }
  site_.Route("GET", "/playurl",
              [this](const RecordedRequest& request) { return ServePlayUrl(request); });
}

void DemoSite::RouteAccount() {
  site_.Route("GET", "/captcha", [this](const RecordedRequest&) { return ServeCaptcha(); });
  site_.Route("POST", "/login",
              [this](const RecordedRequest& request) { return ServeLogin(request); });
  site_.Route("GET", "/login", [](const RecordedRequest& request) {
    auto values = QueryValues(request.query);
    if (!values.contains("act") || values.at("act") != "exit") {
      Response refusal = Page("<p>POST the login form here.</p>\n");
      refusal.status = 405;
      return refusal;
    }
    Response response = Page(LogoutPage());
    response.headers.emplace_back("Set-Cookie", ExpiredCookieHeader(kSessionCookie));
    return response;
  });
}

Response DemoSite::ServePlayUrl(const RecordedRequest& request) const {
  auto values = QueryValues(request.query);
  const SampleVideo* video =
      values.contains("cid") ? FindSampleVideoByCid(values.at("cid")) : nullptr;
  bool signedRight = values.contains("sign") && values.at("sign") == kPlayUrlSign;
  bool qualityRight = values.contains("quality") && values.at("quality") == "2";
  std::string body = (video && signedRight && qualityRight)
                         ? PlayUrlAnswer(*video, site_.HttpHost())
                         : PlayUrlRefusal();
  return Data("text/xml; charset=utf-8", std::move(body));
}

Response DemoSite::ServeCaptcha() {
  const Captcha& captcha = captchas_[NextCaptcha()];
  Response response = Data("image/jpeg", captcha.picture);
  response.headers.emplace_back("Set-Cookie",
                                CookieHeader(kCaptchaCookie, book_.Issue(captcha.code)));
  std::lock_guard lock(mutex_);
  lastCaptcha_ = captcha.code;
  // Called under the lock, so that once SetCaptchaListener has replaced a listener, the old
  // one is never called again and whatever it refers to may go.
  if (captchaListener_) captchaListener_(captcha.code);
  return response;
}

size_t DemoSite::NextCaptcha() {
  std::lock_guard lock(mutex_);
  return captchasServed_++ % captchas_.size();
}

std::string DemoSite::NewSessionToken() {
  std::lock_guard lock(mutex_);
  return std::to_string(sessionTokens_());
}

Response DemoSite::ServeLogin(const RecordedRequest& request) {
  std::optional<LoginForm> form = ParseLoginForm(request.body);
  std::string token = request.Cookie(std::string(kCaptchaCookie));
  // The token is spent even when the form is unreadable: one captcha, one attempt.
  bool captchaAccepted = !token.empty() && book_.Redeem(token, form ? form->vdcode : "");
  LoginOutcome outcome = form ? JudgeLogin(*form, captchaAccepted) : LoginOutcome::WrongCaptcha;

  Response response = Page(LoginPage(outcome, form ? form->userid : ""));
  response.headers.emplace_back("Set-Cookie", ExpiredCookieHeader(kCaptchaCookie));
  if (outcome == LoginOutcome::Success) {
    response.headers.emplace_back("Set-Cookie", CookieHeader(kSessionCookie, NewSessionToken()));
  }
  return response;
}

}  // namespace quorvane::demo
