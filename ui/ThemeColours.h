#pragma once

#include <QColor>
#include <QPalette>

// The colours that mark a state, worked out from the window's palette so that they read on a
// light desktop theme and on a dark one alike.
enum class Tint { Passed, Failed, Running, Neutral };

// A glyph's colour for `tint`, standing out on the palette's window background.
[[nodiscard]] QColor TintOnWindow(Tint tint, const QPalette& palette);
// A row's background marked with `tint`: the palette's base colour with the tint mixed in, so
// that the palette's own text colour reads on it.
[[nodiscard]] QColor TintedBase(Tint tint, const QPalette& palette);
