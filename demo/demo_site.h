// DemoSite: the stand-in site filled with the demo's content. It serves the sample videos,
// their covers and play addresses over HTTP, and the captcha, login and logout over HTTPS,
// all on 127.0.0.1, so the whole program works without a network.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "demo/login_desk.h"
#include "net/endpoints.h"
#include "testsite/stand_in_site.h"

namespace quorvane::demo {

// The sign value the play-address interface insists on.
inline constexpr std::string_view kPlayUrlSign = "d2c95a0e7b13f4a8c60e5b9d27a3f1c4";
// The login form's return address names this host; the demo never serves it.
inline constexpr std::string_view kDemoGameHost = "game.demo.invalid";

class DemoSite {
 public:
  // Draws the pictures (a QGuiApplication must be running) and starts the servers. `seed`
  // fixes the captcha texts and cookies, so a scripted run sees the same ones every time.
  explicit DemoSite(uint64_t seed);
  DemoSite(const DemoSite&) = delete;
  DemoSite& operator=(const DemoSite&) = delete;

  // The program's endpoints pointed at this site: pages and play addresses over HTTP, the
  // account over HTTPS.
  Endpoints DemoEndpoints() const;
  const std::string& CertificatePem() const;

  // The text of the captcha served last; empty before the first.
  std::string LastCaptcha() const;
  // Runs on one of the site's threads each time a captcha goes out, with its text. It should
  // only post the text on; it runs under the site's lock.
  void SetCaptchaListener(std::function<void(const std::string& code)> listener);

 private:
  struct Captcha {
    std::string code;
    std::string picture;
  };

  void RouteVideos();
  void RouteAccount();
  testsite::Response ServeCaptcha();
  testsite::Response ServeLogin(const testsite::RecordedRequest& request);
  testsite::Response ServePlayUrl(const testsite::RecordedRequest& request) const;
  size_t NextCaptcha();
  std::string NewSessionToken();

  CaptchaBook book_;
  std::vector<Captcha> captchas_;  // served in turn, drawn once at start

  mutable std::mutex mutex_;  // guards what the site's threads change below
  size_t captchasServed_ = 0;
  std::string lastCaptcha_;
  std::mt19937_64 sessionTokens_;
  std::function<void(const std::string&)> captchaListener_;

  // Last, so that it is destroyed first: the servers stop before anything their handlers use.
  testsite::StandInSite site_;
};

}  // namespace quorvane::demo
