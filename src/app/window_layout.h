// Where the window and its fifteen controls sit. This is the only place that knows a pixel of
// the layout; MainWindow builds its controls by walking the table.
#pragma once

#include <array>
#include <string_view>

class QPoint;
class QSize;

namespace quorvane {

enum class ControlKind { LogBox, LineEdit, Button, PictureBox, Label };

struct ControlPlace {
  std::string_view name;  // the control's name, also its Qt object name (UTF-8)
  ControlKind kind;
  int x, y, width, height;   // relative to the window's client area
  std::string_view caption;  // caption, label text or initial content (UTF-8); may be empty
  // What a screen reader announces, where the caption does not say it: for an edit box the text
  // of the label beside it, for the log and the pictures what they hold.
  std::string_view accessibleName = {};
};

// The window's outer size, frame and title bar included, and the client size that gives it
// with a Windows-like frame: 3 pixels at the left, the right and the bottom, and a 25-pixel
// title bar on top of the 3-pixel frame. The log box then ends exactly at the client's bottom
// (208 + 392 = 600); its 752-pixel width passes the 744-pixel client, so its right edge is cut.
inline constexpr int kOuterWidth = 750;
inline constexpr int kOuterHeight = 628;
inline constexpr int kClientWidth = 744;
inline constexpr int kClientHeight = 600;

inline constexpr std::string_view kWindowTitle = "QuorvaneV1.5";

// The controls in the order they are created, which is also the order Tab walks the focus:
// query first, then the login fields, the login buttons and the log box last. 编辑框5 comes
// after the other login fields on purpose: every focus it gains fetches a captcha, so it must
// never be the control that gets the focus when the window is activated or when the focused
// button is disabled.
inline constexpr std::array<ControlPlace, 15> kControlPlaces = {{
    {"编辑框2", ControlKind::LineEdit, 376, 8, 120, 32, "1219760", "AV号"},
    {"按钮2", ControlKind::Button, 512, 8, 88, 32, "查询"},
    {"清空内容", ControlKind::Button, 632, 8, 88, 32, "清空内容"},
    {"编辑框3", ControlKind::LineEdit, 376, 62, 120, 32, "", "账号"},
    {"编辑框4", ControlKind::LineEdit, 376, 104, 120, 32, "", "密码"},
    {"编辑框5", ControlKind::LineEdit, 376, 144, 56, 32, "", "验证码"},
    {"按钮1", ControlKind::Button, 568, 144, 80, 40, "登录"},
    {"按钮3", ControlKind::Button, 664, 144, 72, 40, "注销账号"},
    {"编辑框1", ControlKind::LogBox, 0, 208, 752, 392, "", "日志"},
    {"图片框1", ControlKind::PictureBox, 4, 16, 320, 180, "", "视频封面"},
    {"图片框2", ControlKind::PictureBox, 440, 144, 112, 40, "", "验证码图片"},
    {"标签1", ControlKind::Label, 336, 64, 40, 24, "账号:"},
    {"标签2", ControlKind::Label, 334, 16, 40, 24, "AV号:"},
    {"标签3", ControlKind::Label, 337, 110, 39, 24, "密码:"},
    {"标签4", ControlKind::Label, 328, 152, 48, 24, "验证码:"},
}};

// The outer frame's top-left corner that centres the window on a screen of this size:
// ((width − 750) / 2, (height − 628) / 2) with integer division. On a screen smaller than the
// window a coordinate is kept at 0, so that the title bar stays on the screen and the window
// can still be moved.
QPoint CentredTopLeft(const QSize& screen);

}  // namespace quorvane
