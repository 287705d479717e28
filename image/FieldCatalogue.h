#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"

#include <optional>
#include <span>

// What each field of the main window is, beyond its bytes (those are the parameter map's, in
// ImageCodec): its caption, the group box it sits in, whether it is a check box and which keys it
// takes. The comparison, the configuration sheet, the window's captions and row labels and its
// key filters all read this one table, so a new field is added here, in the parameter map and on
// the form.

// The four group boxes of the main window, top left to bottom right.
enum class FieldGroup { RadioParameters, TechnicalAlarms, UserAlarms, ProductInformation };

// Which characters an edit field takes from the keyboard.
enum class KeyFilterKind { None, Numeric, Decimal, RadioCode };

struct FieldEntry {
  Field field;
  FieldGroup group;
  // The caption of the field's row; the inactivity limit's in LimitAsTime (see FieldCaptionText).
  Msg::Id caption;
  // The radio code's two fields share one row caption; each has its own label beside it.
  std::optional<Msg::Id> partCaption;
  bool isCheckBox;
  KeyFilterKind keyFilter;
  // The unit the field's value is shown in, where it has one; the inactivity limit's follows its
  // unit selector (see FieldUnitText).
  std::optional<Msg::Id> unit = {};
};

// Every field, group by group in the window's order, each group from top to bottom.
[[nodiscard]] std::span<const FieldEntry> FieldCatalogue();
[[nodiscard]] const FieldEntry& CatalogueEntry(Field field);

// The four groups in the window's order, and the caption of each.
inline constexpr FieldGroup FieldGroups[] = {FieldGroup::RadioParameters,
                                             FieldGroup::TechnicalAlarms, FieldGroup::UserAlarms,
                                             FieldGroup::ProductInformation};
[[nodiscard]] Msg::Id GroupCaptionText(FieldGroup group);

// The caption that names a field in the main window (the inactivity limit's caption depends on the
// mode it is shown in).
[[nodiscard]] Msg::Id FieldCaptionText(Field field, InactivityLimitModeKind limitMode);
// The unit a field's value is shown in, none for a value without one.
[[nodiscard]] std::optional<Msg::Id> FieldUnitText(Field field, InactivityLimitModeKind limitMode,
                                                   int selectedUnit);
// The fields the program fills in from the transmitter and the user does not type into.
[[nodiscard]] bool IsFilledByProgram(Field field);
[[nodiscard]] bool IsCheckBox(Field field);
[[nodiscard]] KeyFilterKind KeyFilterOf(Field field);
