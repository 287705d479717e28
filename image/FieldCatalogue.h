#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"

#include <QString>

#include <optional>
#include <span>

// The one table of the main window's fields: what each field is, where its bytes lie in the image
// and how the codec shows and builds them, the range rule that refuses its text, the check box
// that enables it, its caption, group, key filter and unit, and whether a write that switches it
// off or raises it is asked about. The parameter map, the rules, the write review, the comparison,
// the configuration sheet, the field help and the window's form all read this table, so a field
// is added here (its row), in the Field enumeration and in the text table.

// The four group boxes of the main window, top left to bottom right.
enum class FieldGroup { RadioParameters, TechnicalAlarms, UserAlarms, ProductInformation };

// Which characters an edit field takes from the keyboard.
enum class KeyFilterKind { None, Numeric, Decimal, RadioCode };

// How the codec shows a field's bytes and builds them back from the window.
enum class FieldEncoding {
  None,             // not in the image (the new radio code, which the write sends on its own)
  RadioCode,        // two bytes as four hex digits, empty when both are 0
  Nibbles,          // part 0 the high nibble, part 1 the low nibble
  Decimal,          // one or two bytes (big-endian) as a decimal number
  CheckBit0,        // a check box following bit 0; built as the whole byte 1 or 0
  ButtonDelay,      // tenths of a second, shown with one decimal place
  InactivityLimit,  // 16-bit count of samples, shown as a count or as a time
  FirmwareVersion,  // major.minor in the two nibbles
  ProductionDate,   // three bytes YYMMDD as hex pairs
  ProductType,      // 7 is this transmitter
  ConfigBits,       // one check box per bit; part is the bit
};

// Where a field's bytes lie and in which step of the parameter map the codec handles them. Fields
// that share their bytes (the nibbles, the configuration bits) share the address and the step.
// Steps run in the order in which a read shows the fields; a row that cannot be shown reports its
// address, the last one wins.
struct FieldBytes {
  FieldEncoding encoding = FieldEncoding::None;
  int address = 0;
  int width = 0;
  int part = 0;
  int step = 0;
};

// The inclusive bounds of a field's value in the unit it is shown in, the message that refuses a
// text outside them and the text put back. Without a put-back text only the typed digits bound the
// field: a change is never refused, but text the keys could not have typed names the message.
struct FieldRangeRule {
  double minimum;
  double maximum;
  Msg::Id message;
  const char* putBack = nullptr;
};

// What a write is asked about when it changes the field against the transmitter's last known
// configuration: switching its alarm off (a check box cleared, a battery interval of 0), or
// raising it by more than half.
enum class GuardKind { None, SwitchedOff, RaisedByHalf };

struct FieldGuard {
  GuardKind kind = GuardKind::None;
  // The order in which the write asks about the guarded fields, from 1.
  int order = 0;
  // Asked about, when switched off, even when nothing is known of the transmitter.
  bool askedWhenUnknown = false;
};

// The field's row on the window's form as designed: its label's name and design caption (the German
// caption replaces it when the window is created), the text or state its control starts with, how
// many characters may be typed (0: no limit) and whether it starts enabled. The row's place is its
// order in its group.
struct FieldFormRow {
  const char* labelName = "";
  const char* designCaption = "";
  const char* initialText = "";
  int maxLength = 0;
  bool enabled = true;
  bool checked = false;
};

struct FieldEntry {
  Field field;
  // The field's stable name, for documents and the command line; never a control's name.
  const char* key;
  // The window's control; also the name a guarded field has in Values.ini, which must not change.
  const char* controlName;
  FieldGroup group;
  // The caption of the field's row; the inactivity limit's in LimitAsTime (see FieldCaptionText).
  Msg::Id caption;
  // The radio code's two fields share one row caption; each has its own label beside it.
  std::optional<Msg::Id> partCaption = {};
  bool isCheckBox;
  KeyFilterKind keyFilter;
  // The unit the field's value is shown in, where it has one; the inactivity limit's follows its
  // unit selector (see FieldUnitText).
  std::optional<Msg::Id> unit = {};
  FieldBytes bytes = {};
  // The inactivity limit's rule follows its mode and unit (CheckInactivityLimit) and is not here.
  std::optional<FieldRangeRule> range = {};
  // The check box whose Checked state enables the field's control.
  std::optional<Field> enabledBy = {};
  // A box whose click re-runs the rule of the box it sits beside.
  std::optional<Field> rerunsRuleOf = {};
  FieldGuard guard = {};
  FieldFormRow form = {};
};

// Every field, group by group in the window's order, each group from top to bottom.
[[nodiscard]] std::span<const FieldEntry> FieldCatalogue();
[[nodiscard]] const FieldEntry& CatalogueEntry(Field field);
// The field with this stable name or control name, none for another name.
[[nodiscard]] std::optional<Field> FieldNamed(const QString& name);

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
// The fields the program fills in from the transmitter and the user does not type into; a write
// sends none of them.
[[nodiscard]] bool IsFilledByProgram(Field field);
[[nodiscard]] bool IsCheckBox(Field field);
[[nodiscard]] KeyFilterKind KeyFilterOf(Field field);
