#pragma once

#include "image/ImageCodec.h"

#include <QString>

#include <optional>

class QWidget;

// What a field tells about itself: a screen reader's description (its range and unit, or that
// the program fills it in), and a tooltip with the same and the factory value.
struct FieldHelpTexts {
  QString description;
  QString toolTip;
};

// The help for a field as the window shows it (mode and unit decide the inactivity limit's);
// `factory` is the field's value in the factory image, where it is known.
[[nodiscard]] FieldHelpTexts FieldHelp(Field field, const CodecContext& context, int selectedUnit,
                                       const std::optional<ShownValue>& factory);

void ApplyFieldHelp(QWidget* control, const FieldHelpTexts& help);
