// The two small account handlers: loading the captcha image and ending the login.
#include "account/account.h"
#include "net/fetch_url.h"
#include "text/text_ops.h"

namespace quorvane {

void FetchCaptcha(Controls& controls, const Endpoints& endpoints, CaptchaTrigger trigger) {
  controls.AppendLog(trigger == CaptchaTrigger::CaptchaBoxFocused
                         ? Local("登录信息:获取验证码中…\r\n")
                         : Local("登录信息:再次获取验证码中…\r\n"));
  // Written unchecked: a failed fetch gives empty bytes, which clear the box, so a stale image
  // never stays next to a captcha the site no longer expects. The cookies of this answer are
  // what ties the image to the next login.
  controls.WritePicture(PictureBox::图片框2, FetchUrl(endpoints.Captcha()));
}

void Logout(Controls& controls, const Endpoints& endpoints) {
  // Only the request and the cookies it carries matter; the answer is dropped unread, and a
  // failure is not told apart from success.
  FetchUrl(endpoints.Logout());
  // The caption stays as the last login left it.
  controls.WriteDisabled(Button::按钮1, false);
  controls.AppendLog(Local("登录信息:账号已注销\r\n"));
}

}  // namespace quorvane
