// Where the window and its fifteen controls sit. This is the only place that knows a pixel of
// the layout; MainWindow builds its controls by walking the table.
#pragma once

// moc cannot read identifiers spelled outside ASCII and needs nothing from here (see
// controls/controls.h).
#ifndef Q_MOC_RUN

#include <array>
#include <string_view>

#include "controls/controls.h"

class QPoint;
class QSize;

namespace quorvane {

// The labels beside the edit boxes; only the window knows them.
enum class Label { 标签1, 标签2, 标签3, 标签4 };

enum class ControlKind { LogBox, LineEdit, Button, PictureBox, Label };

// A control as its enum value: the kind of widget follows from which enum it belongs to, and
// the value is where the window keeps the widget.
struct ControlId {
  constexpr ControlId(EditBox box)
      : kind(box == EditBox::编辑框1 ? ControlKind::LogBox : ControlKind::LineEdit),
        slot(static_cast<int>(box)) {}
  constexpr ControlId(Button button) : kind(ControlKind::Button), slot(static_cast<int>(button)) {}
  constexpr ControlId(PictureBox box)
      : kind(ControlKind::PictureBox), slot(static_cast<int>(box)) {}
  constexpr ControlId(Label label) : kind(ControlKind::Label), slot(static_cast<int>(label)) {}

  ControlKind kind;
  int slot;
};

struct ControlPlace {
  std::string_view name;  // the control's name, also its Qt object name (UTF-8)
  ControlId id;
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
    {"编辑框2", EditBox::编辑框2, 376, 8, 120, 32, "1219760", "AV号"},
    {"按钮2", Button::按钮2, 512, 8, 88, 32, "查询"},
    {"清空内容", Button::清空内容, 632, 8, 88, 32, "清空内容"},
    {"编辑框3", EditBox::编辑框3, 376, 62, 120, 32, "", "账号"},
    {"编辑框4", EditBox::编辑框4, 376, 104, 120, 32, "", "密码"},
    {"编辑框5", EditBox::编辑框5, 376, 144, 56, 32, "", "验证码"},
    {"按钮1", Button::按钮1, 568, 144, 80, 40, "登录"},
    {"按钮3", Button::按钮3, 664, 144, 72, 40, "注销账号"},
    {"编辑框1", EditBox::编辑框1, 0, 208, 752, 392, "", "日志"},
    {"图片框1", PictureBox::图片框1, 4, 16, 320, 180, "", "视频封面"},
    {"图片框2", PictureBox::图片框2, 440, 144, 112, 40, "", "验证码图片"},
    {"标签1", Label::标签1, 336, 64, 40, 24, "账号:"},
    {"标签2", Label::标签2, 334, 16, 40, 24, "AV号:"},
    {"标签3", Label::标签3, 337, 110, 39, 24, "密码:"},
    {"标签4", Label::标签4, 328, 152, 48, 24, "验证码:"},
}};

// The outer frame's top-left corner that centres the window on a screen of this size:
// ((width − 750) / 2, (height − 628) / 2) with integer division. On a screen smaller than the
// window a coordinate is kept at 0, so that the title bar stays on the screen and the window
// can still be moved.
QPoint CentredTopLeft(const QSize& screen);

}  // namespace quorvane

#endif  // Q_MOC_RUN
