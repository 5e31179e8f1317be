// The order in which the account workflows touch the controls, against a recording stand-in
// for the window. The window tests see only end states; these see the sequence itself.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "account/account.h"
#include "net/network_options.h"
#include "support/fake_controls.h"
#include "testsite/stand_in_site.h"
#include "text/text_ops.h"

namespace quorvane {
namespace {

using test_support::FakeControls;
using testsite::Response;
using testsite::StandInSite;
using Calls = std::vector<std::string>;

std::string L(const char* utf8) { return Local(utf8).str(); }

// Nothing on this port listens, so every request fails at once.
Endpoints UnreachableEndpoints() {
  return Endpoints{"127.0.0.1:1", "127.0.0.1:1", "127.0.0.1:1", "127.0.0.1:1", "game.example.test"};
}

Endpoints SiteEndpoints(const StandInSite& site) {
  return Endpoints{site.HttpHost(), site.HttpHost(), site.HttpsHost(), site.HttpsHost(),
                   "game.example.test"};
}

void FillLoginFields(FakeControls& controls, const char* account, const char* password,
                     const char* captcha) {
  controls.contents[EditBox::编辑框3] = Text(std::string_view(account));
  controls.contents[EditBox::编辑框4] = Text(std::string_view(password));
  controls.contents[EditBox::编辑框5] = Text(std::string_view(captcha));
}

struct EmptyFieldCase {
  const char* name;
  const char* account;
  const char* password;
  const char* captcha;
  const char* logLine;
};

void PrintTo(const EmptyFieldCase& c, std::ostream* os) { *os << c.name; }

class EmptyFieldStop : public testing::TestWithParam<EmptyFieldCase> {};

// The captcha is used up before the tests, and a stop touches nothing else: no request, the
// fields keep their text, the button stays as it was.
TEST_P(EmptyFieldStop, ClearsTheCaptchaThenLogsOnlyTheFirstMissingField) {
  FakeControls controls;
  FillLoginFields(controls, GetParam().account, GetParam().password, GetParam().captcha);
  SubmitLogin(controls, UnreachableEndpoints());
  EXPECT_EQ(controls.calls, (Calls{"picture picture2 ", "log " + L(GetParam().logLine)}));
}

INSTANTIATE_TEST_SUITE_P(
    Account, EmptyFieldStop,
    testing::Values(EmptyFieldCase{"AllEmpty", "", "", "", "登录信息:账号未填!!\r\n"},
                    EmptyFieldCase{"AccountEmptyOthersFilled", "", "pw", "abcd",
                                   "登录信息:账号未填!!\r\n"},
                    EmptyFieldCase{"PasswordEmpty", "user", "", "abcd", "登录信息:密码未填写\r\n"},
                    EmptyFieldCase{"CaptchaEmpty", "user", "pw", "", "登录信息:验证码未填写\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The part every login that passes the tests shares: captcha cleared, the two secret fields
// emptied, the button disabled, then the one progress line.
const Calls kSentLogin = {"picture picture2 ", "content box4 ", "content box5 ",
                          "disabled button1 true", "log " + L("登录信息:正在登录...\r\n")};

struct JudgedCase {
  const char* name;
  const char* answer;  // UTF-8, as the site sends it
  Calls afterAnswer;
};

void PrintTo(const JudgedCase& c, std::ostream* os) { *os << c.name; }

class LoginSequence : public testing::TestWithParam<JudgedCase> {};

// A rejection reports and then frees the button; success marks the button and then reports.
TEST_P(LoginSequence, JudgesTheAnswerInItsFixedOrder) {
  StandInSite site;
  TrustOnlyCertificateForTesting(site.CertificatePem());
  Response answer;
  answer.body = GetParam().answer;
  site.Route("POST", "/login", answer);

  FakeControls controls;
  FillLoginFields(controls, "user", "pw", "abcd");
  SubmitLogin(controls, SiteEndpoints(site));

  Calls expected = kSentLogin;
  expected.insert(expected.end(), GetParam().afterAnswer.begin(), GetParam().afterAnswer.end());
  EXPECT_EQ(controls.calls, expected);
  ASSERT_EQ(site.Requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Account, LoginSequence,
    testing::Values(JudgedCase{"Rejected",
                               "<p>用户名不存在</p>",
                               {"log " + L("登录信息:用户名不存在\r\n"), "disabled button1 false",
                                "caption button1 " + L("用户不存在")}},
                    JudgedCase{"Accepted",
                               "<p>welcome</p>",
                               {"disabled button1 true", "caption button1 " + L("登录成功"),
                                "log " + L("登录信息:登录成功\r\n")}},
                    JudgedCase{"EmptyAnswer", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A failed fetch still writes the (empty) picture, so a stale captcha never stays on show.
TEST(AccountFetchCaptchaSequence, LogsTheTriggersLineThenWritesWhateverCameBack) {
  FakeControls focused;
  FetchCaptcha(focused, UnreachableEndpoints(), CaptchaTrigger::CaptchaBoxFocused);
  EXPECT_EQ(focused.calls, (Calls{"log " + L("登录信息:获取验证码中…\r\n"), "picture picture2 "}));

  StandInSite site;
  TrustOnlyCertificateForTesting(site.CertificatePem());
  Response image;
  image.contentType = "image/png";
  image.body = "not really a png";
  site.Route("GET", "/captcha", image);
  FakeControls clicked;
  FetchCaptcha(clicked, SiteEndpoints(site), CaptchaTrigger::CaptchaPictureClicked);
  EXPECT_EQ(clicked.calls, (Calls{"log " + L("登录信息:再次获取验证码中…\r\n"),
                                  "picture picture2 not really a png"}));
}

TEST(AccountLogoutSequence, EnablesTheButtonWithoutTouchingItsCaptionThenLogs) {
  FakeControls controls;
  Logout(controls, UnreachableEndpoints());
  EXPECT_EQ(controls.calls,
            (Calls{"disabled button1 false", "log " + L("登录信息:账号已注销\r\n")}));
}

}  // namespace
}  // namespace quorvane
