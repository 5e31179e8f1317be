// The demo site's account rules, which the README promises: how the posted form is read,
// that a captcha is tied to its cookie and serves one attempt, the order in which an attempt
// is judged, and that each answer page carries exactly the phrase of its outcome.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "demo/login_desk.h"
#include "demo/site_pages.h"

namespace quorvane::demo {
namespace {

using namespace std::string_literals;

struct FormCase {
  const char* name;
  std::string body;
  std::optional<LoginForm> expected;
};

class ParseLoginFormTest : public testing::TestWithParam<FormCase> {};

TEST_P(ParseLoginFormTest, ReadsTheFieldsThatWereSent) {
  const FormCase& c = GetParam();
  std::optional<LoginForm> form = ParseLoginForm(c.body);
  ASSERT_EQ(form.has_value(), c.expected.has_value());
  if (!form) return;
  EXPECT_EQ(form->gourl, c.expected->gourl);
  EXPECT_EQ(form->userid, c.expected->userid);
  EXPECT_EQ(form->pwd, c.expected->pwd);
  EXPECT_EQ(form->vdcode, c.expected->vdcode);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseLoginFormTest,
    testing::Values(
        FormCase{"Plain", "gourl=http%3A%2F%2Fg%2Findex.html&userid=demo&pwd=secret&vdcode=AB12",
                 LoginForm{"http%3A%2F%2Fg%2Findex.html", "demo", "secret", "AB12"}},
        // The program sends a space as %20 and "+" as %2B; a raw "+" means a space in a form.
        FormCase{"EscapesDecoded", "gourl=g&userid=a%20b%2Bc&pwd=x+y&vdcode=C",
                 LoginForm{"g", "a b+c", "x y", "C"}},
        // Both bytes of a code-page-936 character arrive as escapes and stay two bytes.
        FormCase{"LocalCharacter", "gourl=g&userid=%B2%E2&pwd=p&vdcode=C",
                 LoginForm{"g", "\xB2\xE2", "p", "C"}},
        // The captcha travels unescaped, so "&" and "=" after vdcode= belong to it.
        FormCase{"CaptchaWithSeparators", "gourl=g&userid=u&pwd=p&vdcode=A&B=C",
                 LoginForm{"g", "u", "p", "A&B=C"}},
        FormCase{"EmptyCaptcha", "gourl=g&userid=u&pwd=p&vdcode=", LoginForm{"g", "u", "p", ""}},
        FormCase{"ZeroByteInPassword", "gourl=g&userid=u&pwd=a%00b&vdcode=C",
                 LoginForm{"g", "u", "a\0b"s, "C"}},
        FormCase{"Empty", "", std::nullopt},
        FormCase{"CaptchaMissing", "gourl=g&userid=u&pwd=p", std::nullopt},
        FormCase{"OutOfOrder", "gourl=g&pwd=p&userid=u&vdcode=C", std::nullopt},
        FormCase{"NotFromTheStart", "x=1&gourl=g&userid=u&pwd=p&vdcode=C", std::nullopt}),
    [](const testing::TestParamInfo<FormCase>& info) { return info.param.name; });

TEST(DecodeFormField, LeavesBrokenEscapesAsWritten) {
  EXPECT_EQ(DecodeFormField(""), "");
  EXPECT_EQ(DecodeFormField("%"), "%");
  EXPECT_EQ(DecodeFormField("%4"), "%4");
  EXPECT_EQ(DecodeFormField("%zz1"), "%zz1");
  EXPECT_EQ(DecodeFormField("%41%4a%4A"), "AJJ");
}

TEST(CaptchaBook, AcceptsTheShownTextInEitherCaseOnce) {
  CaptchaBook book(7);
  std::string token = book.Issue("AB2C");
  EXPECT_TRUE(book.Redeem(token, "ab2c"));
  // A captcha serves one attempt, even a successful one.
  EXPECT_FALSE(book.Redeem(token, "AB2C"));
}

TEST(CaptchaBook, AWrongGuessUsesTheCaptchaUp) {
  CaptchaBook book(7);
  std::string token = book.Issue("AB2C");
  EXPECT_FALSE(book.Redeem(token, "AB2D"));
  EXPECT_FALSE(book.Redeem(token, "AB2C"));
}

TEST(CaptchaBook, TiesEachTextToItsOwnCookie) {
  CaptchaBook book(7);
  std::string first = book.Issue("AAAA");
  std::string second = book.Issue("BBBB");
  EXPECT_NE(first, second);
  EXPECT_FALSE(book.Redeem(first, "BBBB"));
  EXPECT_TRUE(book.Redeem(second, "BBBB"));
}

TEST(CaptchaBook, RefusesALoginWithoutItsCookie) {
  CaptchaBook book(7);
  book.Issue("AAAA");
  EXPECT_FALSE(book.Redeem("", "AAAA"));
  EXPECT_FALSE(book.Redeem("not-a-token", "AAAA"));
  // Nor does a shorter or longer text match.
  std::string token = book.Issue("AAAA");
  EXPECT_FALSE(book.Redeem(token, "AAA"));
}

struct JudgeCase {
  const char* name;
  std::string account;
  std::string password;
  bool captchaAccepted;
  LoginOutcome expected;
};

class JudgeLoginTest : public testing::TestWithParam<JudgeCase> {};

TEST_P(JudgeLoginTest, ChecksCaptchaThenAccountThenPassword) {
  const JudgeCase& c = GetParam();
  LoginForm form{"g", c.account, c.password, "C"};
  EXPECT_EQ(JudgeLogin(form, c.captchaAccepted), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Attempts, JudgeLoginTest,
    testing::Values(
        JudgeCase{"Success", "demo", "secret", true, LoginOutcome::Success},
        JudgeCase{"WrongPassword", "demo", "wrong", true, LoginOutcome::WrongPassword},
        JudgeCase{"UnknownAccount", "nobody", "secret", true, LoginOutcome::UnknownAccount},
        JudgeCase{"AccountIsCaseSensitive", "Demo", "secret", true, LoginOutcome::UnknownAccount},
        JudgeCase{"UnknownAccountBeforePassword", "nobody", "wrong", true,
                  LoginOutcome::UnknownAccount},
        JudgeCase{"CaptchaBeforeEverything", "nobody", "wrong", false, LoginOutcome::WrongCaptcha},
        JudgeCase{"CaptchaEvenForTheRightAccount", "demo", "secret", false,
                  LoginOutcome::WrongCaptcha}),
    [](const testing::TestParamInfo<JudgeCase>& info) { return info.param.name; });

// The program judges an answer by the first of these phrases it contains, so a page must hold
// its own phrase and none of the others; the success page must hold none at all.
TEST(LoginPage, CarriesExactlyThePhraseOfItsOutcome) {
  const std::string captcha = "验证码错误", password = "密码错误", account = "用户名不存在";
  struct Row {
    LoginOutcome outcome;
    bool hasCaptcha, hasPassword, hasAccount;
  };
  for (Row row : {Row{LoginOutcome::WrongCaptcha, true, false, false},
                  Row{LoginOutcome::WrongPassword, false, true, false},
                  Row{LoginOutcome::UnknownAccount, false, false, true},
                  Row{LoginOutcome::Success, false, false, false}}) {
    std::string page = LoginPage(row.outcome, "demo");
    SCOPED_TRACE(page);
    EXPECT_EQ(page.find(captcha) != std::string::npos, row.hasCaptcha);
    EXPECT_EQ(page.find(password) != std::string::npos, row.hasPassword);
    EXPECT_EQ(page.find(account) != std::string::npos, row.hasAccount);
  }
  EXPECT_FALSE(LogoutPage().empty());
}

// The account name is the one text of a user that the site writes back into a page.
TEST(LoginPage, EscapesTheAccountName) {
  std::string page = LoginPage(LoginOutcome::Success, "<b>\"x\"&");
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("&lt;b&gt;&quot;x&quot;&amp;"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::demo
