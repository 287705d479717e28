#include "ui/ThemeColours.h"

namespace {

constexpr int DarkBelow = 128;  // lightness of a dark theme's backgrounds
constexpr double TintShare = 0.28;

int hueOf(Tint tint) {
  switch (tint) {
    case Tint::Passed:
      return 125;
    case Tint::Failed:
      return 0;
    case Tint::Running:
      return 210;
    case Tint::Neutral:
      break;
  }
  return 0;
}

bool isDark(const QColor& background) {
  return background.lightness() < DarkBelow;
}

}  // namespace

QColor TintOnWindow(Tint tint, const QPalette& palette) {
  const bool dark = isDark(palette.color(QPalette::Window));
  if (tint == Tint::Neutral) return palette.color(QPalette::PlaceholderText);
  // Light glyphs on a dark window, deep ones on a light window.
  return dark ? QColor::fromHsl(hueOf(tint), 170, 165) : QColor::fromHsl(hueOf(tint), 200, 75);
}

QColor TintedBase(Tint tint, const QPalette& palette) {
  const QColor base = palette.color(QPalette::Base);
  const QColor mark =
      tint == Tint::Neutral ? palette.color(QPalette::Mid) : QColor::fromHsl(hueOf(tint), 200, 128);
  const auto mix = [](int from, int to) {
    return static_cast<int>(from + (to - from) * TintShare + 0.5);
  };
  return QColor(mix(base.red(), mark.red()), mix(base.green(), mark.green()),
                mix(base.blue(), mark.blue()));
}
