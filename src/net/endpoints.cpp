#include "net/endpoints.h"

#include "net/endpoint_hosts.h"

namespace quorvane {
namespace {

constexpr const char* kSign = "d2c95a0e7b13f4a8c60e5b9d27a3f1c4";

Text Join(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (std::string_view part : parts)
    joined += part;
  return Text(std::move(joined));
}

}  // namespace

Endpoints Endpoints::Default() {
  return Endpoints{kVideoHost, kPlayUrlHost, kCaptchaHost, kAccountHost, kGameHost};
}

Text Endpoints::VideoPage(const Text& av) const {
  return Join({"http://", videoHost, "/video/av", av.view()});
}

Text Endpoints::PlayUrl(const Text& cid) const {
  return Join({"http://", playUrlHost, "/playurl?quality=2&sign=", kSign, "&cid=", cid.view()});
}

Text Endpoints::Captcha() const { return Join({"https://", captchaHost, "/captcha"}); }

Text Endpoints::Login() const { return Join({"https://", accountHost, "/login"}); }

Text Endpoints::Logout() const { return Join({"https://", accountHost, "/login?act=exit"}); }

Text Endpoints::GameReturnAddress() const {
  return Join({"http%3A%2F%2F", gameHost, "%2Findex.html"});
}

}  // namespace quorvane
