// The login: the form read from the window, posted over HTTPS, and the answer judged by the
// phrases the site puts in its page.
#include <array>
#include <string_view>

#include "account/account.h"
#include "net/web_request.h"
#include "text/encoding.h"
#include "text/text_ops.h"

using namespace std::string_view_literals;

namespace quorvane {
namespace {

// A rejection the site names in its answer. The order matters: an answer holding both the
// captcha phrase and the password phrase is a captcha error.
struct Rejection {
  const char* phrase;
  const char* logLine;
  const char* caption;
};

constexpr std::array<Rejection, 3> kRejections = {{
    {"验证码错误", "登录信息:验证码错误\r\n", "登录失败"},
    {"密码错误", "登录信息:密码错误\r\n", "密码错误"},
    {"用户名不存在", "登录信息:用户名不存在\r\n", "用户不存在"},
}};

// Stops the login before anything is sent when a field is empty. Only the exactly empty text
// counts: a field of spaces is filled.
bool ReportEmptyField(Controls& controls, const Text& account, const Text& password,
                      const Text& captcha) {
  if (account.empty()) {
    controls.AppendLog(Local("登录信息:账号未填!!\r\n"));
    return true;
  }
  if (password.empty()) {
    controls.AppendLog(Local("登录信息:密码未填写\r\n"));
    return true;
  }
  if (captcha.empty()) {
    controls.AppendLog(Local("登录信息:验证码未填写\r\n"));
    return true;
  }
  return false;
}

// The form exactly as the site reads it. The return address is already encoded, and the
// captcha goes as typed because the site compares it byte for byte.
Text LoginForm(const Endpoints& endpoints, const Text& account, const Text& password,
               const Text& captcha) {
  return Text("gourl="sv) + endpoints.GameReturnAddress() + Text("&userid="sv) +
         UrlEncodeField(account) + Text("&pwd="sv) + UrlEncodeField(password) + Text("&vdcode="sv) +
         captcha;
}

void JudgeAnswer(Controls& controls, const Text& answer) {
  for (const Rejection& rejection : kRejections) {
    if (FindText(answer, Local(rejection.phrase)) != -1) {
      controls.AppendLog(Local(rejection.logLine));
      controls.WriteDisabled(Button::按钮1, false);
      controls.WriteCaption(Button::按钮1, Local(rejection.caption));
      return;
    }
  }
  // Nothing came back (the site was unreachable or sent no body): the outcome is unknown, so
  // the button stays disabled until a logout makes it usable again.
  if (answer.empty()) return;
  controls.WriteDisabled(Button::按钮1, true);
  controls.WriteCaption(Button::按钮1, Local("登录成功"));
  controls.AppendLog(Local("登录信息:登录成功\r\n"));
}

}  // namespace

void SubmitLogin(Controls& controls, const Endpoints& endpoints) {
  // Every attempt uses up the captcha shown, whether or not it gets as far as the site.
  controls.WritePicture(PictureBox::图片框2, Bytes());

  // Copies: the window keeps running handlers while the answer is read below, and any of them
  // may change these boxes.
  const Text account = controls.ReadContent(EditBox::编辑框3);
  const Text password = controls.ReadContent(EditBox::编辑框4);
  const Text captcha = controls.ReadContent(EditBox::编辑框5);
  if (ReportEmptyField(controls, account, password, captcha)) return;

  const Text form = LoginForm(endpoints, account, password, captcha);
  // The address is copied too: nothing of the window is held across the request.
  const Text address = endpoints.Login();
  controls.WriteContent(EditBox::编辑框4, Text());
  controls.WriteContent(EditBox::编辑框5, Text());

  // Disabled so that no second login starts while this one waits; a nested logout may enable
  // it again, and then a nested login runs to its end before this one goes on.
  controls.WriteDisabled(Button::按钮1, true);
  controls.AppendLog(Local("登录信息:正在登录...\r\n"));

  Text method("POST"sv);
  const Text answer = WebRequest(address, &method, nullptr, nullptr, form, nullptr);
  JudgeAnswer(controls, Utf8ToGbk(Bytes(answer.view())));
}

}  // namespace quorvane
