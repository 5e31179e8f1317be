// The site account: captcha, login and logout.
#pragma once

#include "controls/controls.h"
#include "net/endpoints.h"
#include "text/text.h"

namespace quorvane {

enum class CaptchaTrigger { CaptchaBoxFocused, CaptchaPictureClicked };

// The handler of 编辑框5's focus (CaptchaBoxFocused) and of a left press on 图片框2.
void FetchCaptcha(Controls& controls, const Endpoints& endpoints, CaptchaTrigger trigger);
// The handler of 按钮1.
void SubmitLogin(Controls& controls, const Endpoints& endpoints);
// The handler of 按钮3.
void Logout(Controls& controls, const Endpoints& endpoints);

// Percent-encodes every byte except * , - . / 0-9 @ A-Z _ a-z, as two upper-case hex digits.
Text UrlEncodeField(const Text& value);

}  // namespace quorvane
