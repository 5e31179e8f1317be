// The site's six addresses, built from host values. A host may carry ":port", which is how the
// program is pointed at a stand-in site. Default() holds the hosts fixed at build time.
#pragma once

#include <string>

#include "text/text.h"

namespace quorvane {

struct Endpoints {
  std::string videoHost;
  std::string playUrlHost;
  std::string captchaHost;
  std::string accountHost;
  std::string gameHost;

  // The hosts given to the build (QUORVANE_*_HOST cache variables).
  static Endpoints Default();

  // "http://" + video host + "/video/av" + av, the number put in as it is.
  Text VideoPage(const Text& av) const;
  // "http://" + play-address host + "/playurl?quality=2&sign=" + sign value + "&cid=" + cid.
  Text PlayUrl(const Text& cid) const;
  // "https://" + captcha host + "/captcha".
  Text Captcha() const;
  // "https://" + account host + "/login". The password goes in this form, so never clear text.
  Text Login() const;
  // "https://" + account host + "/login?act=exit".
  Text Logout() const;
  // The login form's return address, stored percent-encoded:
  // "http%3A%2F%2F" + game host + "%2Findex.html".
  Text GameReturnAddress() const;
};

}  // namespace quorvane
