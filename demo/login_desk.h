// The demo site's account desk: reading the login form, remembering which captcha went out
// with which cookie, and judging an attempt. Free of HTTP and of any toolkit, so the rules
// the README promises can be checked directly.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "demo/site_pages.h"

namespace quorvane::demo {

// The one account the demo site knows. Any password but kRejectedPassword logs it in.
inline constexpr std::string_view kDemoAccount = "demo";
inline constexpr std::string_view kRejectedPassword = "wrong";
// The cookie that ties a captcha picture to the login that follows it.
inline constexpr std::string_view kCaptchaCookie = "demo_captcha";
inline constexpr std::string_view kSessionCookie = "demo_session";

struct LoginForm {
  std::string gourl;   // as sent, still percent-encoded
  std::string userid;  // decoded bytes
  std::string pwd;     // decoded bytes
  std::string vdcode;  // as sent: the program does not encode it
};

// The form the program posts, fields in the order gourl, userid, pwd, vdcode. The captcha is
// everything after "&vdcode=", because it travels unescaped and may itself hold "&" or "=".
// Nothing when a field is missing or out of order.
std::optional<LoginForm> ParseLoginForm(std::string_view body);

// Form decoding: "%XY" becomes the byte, "+" a space; a "%" without two hex digits stays.
std::string DecodeFormField(std::string_view field);

// Thread-safe, because the site answers on its own threads.
class CaptchaBook {
 public:
  explicit CaptchaBook(uint64_t seed);

  // Remembers the code and answers the token to set as the captcha cookie.
  std::string Issue(std::string code);
  // true when the token names an issued code equal to `typed`, letters in either case. A token
  // serves one attempt: it is forgotten whether the attempt matched or not.
  bool Redeem(std::string_view token, std::string_view typed);

 private:
  std::mutex mutex_;
  std::mt19937_64 tokens_;
  std::map<std::string, std::string, std::less<>> issued_;
};

// The site's rules, checked in this order: the captcha, then the account, then the password.
LoginOutcome JudgeLogin(const LoginForm& form, bool captchaAccepted);

}  // namespace quorvane::demo
