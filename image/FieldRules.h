#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"

#include <QChar>
#include <QLocale>
#include <QString>
#include <Qt>

#include <optional>
#include <vector>

// What a field rule says about a text it refuses: the message to show (text number) and the text
// to put back; without a put-back text the refused text stays in the field.
struct Refusal {
  Msg::Id message;
  std::optional<QString> putBack;

  friend bool operator==(const Refusal&, const Refusal&) = default;
};

// No value: the text is accepted.
using RuleVerdict = std::optional<Refusal>;

// Judges a field's text by its range rule; fields without one (the inactivity limit has a rule of
// its own) accept everything. An empty text is always accepted; text that is not a number reads
// as 0. The button delay is read as a decimal number in the given locale.
[[nodiscard]] RuleVerdict CheckRange(Field field, const QString& text, const QLocale& locale);

// The values a field takes, bounds included, in the unit it is shown in.
struct FieldRange {
  double minimum;
  double maximum;

  friend bool operator==(const FieldRange&, const FieldRange&) = default;
};

// None for the fields without a numeric range (check boxes, codes, what the program fills in),
// and for the inactivity limit shown as a time before a unit is chosen.
[[nodiscard]] std::optional<FieldRange> FieldRangeOf(Field field, InactivityLimitModeKind limitMode,
                                                     int selectedUnit);

// Judges the inactivity limit by mode and by the unit selected when the text changes.
[[nodiscard]] RuleVerdict CheckInactivityLimit(const QString& text,
                                               InactivityLimitModeKind limitMode, int selectedUnit);

// Refuses the radio codes no transmitter may have; the refused text stays in the field.
[[nodiscard]] RuleVerdict CheckRadioCode(const QString& text);

// The codes no transmitter may be given: four zeros, or four Fs in any case.
[[nodiscard]] bool IsReservedRadioCode(const QString& code);
// Exactly four hexadecimal digits, in either case.
[[nodiscard]] bool IsFourHexDigits(const QString& code);
// A new radio code as the OPU is given it, and as the question before sending it names it.
[[nodiscard]] QString RadioCodeAsSent(const QString& code);

// What is about to send a new radio code.
enum class NewCodeSender { Write, CodeChange };

// The message that refuses to send a new radio code, or none when it may be sent:
// Msg::ReservedRadioCode for a reserved code, Msg::NewCodeNotFourHexDigits for anything but four
// hexadecimal digits. The write takes an empty code (it then changes no code) and refuses the short
// forms of zero as reserved; the code change asks for four digits first.
[[nodiscard]] std::optional<Msg::Id> NewRadioCodeRefusal(const QString& code, NewCodeSender sender);

// The limit's text and typed maximum length after the user picked another unit.
struct LimitConversion {
  QString text;
  int typedMaxLength;

  friend bool operator==(const LimitConversion&, const LimitConversion&) = default;
};

// None while no unit has been shown yet, or when the chosen unit is already in force.
[[nodiscard]] std::optional<LimitConversion> ConvertLimitUnit(const QString& text, int lastUnit,
                                                              int chosenUnit);

// The range message of the first numeric field whose text holds a character its key filter
// would not take from the keyboard (pasted, an invisible character, the placeholder "?"): such
// text would be read as another number than the one shown, so it never becomes a byte. None when
// every numeric field may be built.
[[nodiscard]] std::optional<Msg::Id> UntypedTextRefusal(const FieldValues& fields,
                                                        const CodecContext& context);

// A check box whose Checked state enables its dependent controls, and the boxes whose clicks run
// the rule. The limit's unit selector belongs to edtInactivityLimit and follows it.
struct CheckBoxDependency {
  Field governingBox;
  std::vector<Field> triggers;
  std::vector<Field> dependants;
};

[[nodiscard]] const std::vector<CheckBoxDependency>& CheckBoxDependencies();

// Every field of a configuration the window would refuse as it shows it: the messages of the
// field rules it breaks, in the order the fields are shown.
[[nodiscard]] std::vector<Msg::Id> ConfigurationRuleBreaks(const ParameterImage& image,
                                                           ImageOrigin origin,
                                                           const CodecContext& context);
