#include "app/window_layout.h"

#include <QPoint>
#include <QSize>
#include <algorithm>

namespace quorvane {
namespace {

// Each row's name spells its enum value, so that the widget a test or the tour finds by name is
// the one the workflows write to through that value.
constexpr bool NameSpellsId(const ControlPlace& place) {
  constexpr std::string_view kStems[] = {"编辑框", "编辑框", "按钮", "图片框", "标签"};
  if (place.id.kind == ControlKind::Button && place.id.slot == static_cast<int>(Button::清空内容)) {
    return place.name == "清空内容";
  }
  const std::string_view stem = kStems[static_cast<int>(place.id.kind)];
  return place.name.size() == stem.size() + 1 && place.name.substr(0, stem.size()) == stem &&
         place.name.back() == '1' + place.id.slot;
}

constexpr bool EveryNameSpellsItsId() {
  for (const ControlPlace& place : kControlPlaces) {
    if (!NameSpellsId(place)) return false;
  }
  return true;
}
static_assert(EveryNameSpellsItsId());

}  // namespace

QPoint CentredTopLeft(const QSize& screen) {
  const int left = (screen.width() - kOuterWidth) / 2;
  const int top = (screen.height() - kOuterHeight) / 2;
  return QPoint(std::max(left, 0), std::max(top, 0));
}

}  // namespace quorvane
