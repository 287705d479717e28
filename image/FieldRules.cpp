#include "image/FieldRules.h"

#include "image/FieldCatalogue.h"
#include "image/FieldReading.h"
#include "image/Messages.h"
#include "image/VembaData.h"

#include <algorithm>
#include <map>

namespace {

constexpr int MaxLimitCount = 65535;
constexpr int MaxLimitMinutes = 65535;
constexpr int MinutesPerHour = 60;

// Typed maximum lengths of the limit in each unit.
constexpr int HoursMaxLength = 4;
constexpr int MinutesMaxLength = 5;

double fieldNumber(Field field, const QString& text, const QLocale& locale) {
  if (KeyFilterOf(field) == KeyFilterKind::Decimal) return ReadDecimal(text, locale).value_or(0.0);
  return ReadInteger(text);
}

// Written so that a value that is not a number at all (NaN) is outside too.
bool isOutside(double value, double minimum, double maximum) {
  return !(value >= minimum && value <= maximum);
}

RuleVerdict refuse(Msg::Id message, const char* putBack) {
  return Refusal{message, QString::fromLatin1(putBack)};
}

// The rule that judges every change of the field's text, none for a field bound only by its typed
// digits.
std::optional<FieldRangeRule> changeRuleOf(Field field) {
  const std::optional<FieldRangeRule>& rule = CatalogueEntry(field).range;
  if (!rule || rule->putBack == nullptr) return std::nullopt;
  return rule;
}

}  // namespace

RuleVerdict CheckRange(Field field, const QString& text, const QLocale& locale) {
  const std::optional<FieldRangeRule> rule = changeRuleOf(field);
  if (!rule || text.isEmpty()) return std::nullopt;
  // A pasted negative number is refused too: the transmitter's bytes are unsigned.
  if (!isOutside(fieldNumber(field, text, locale), rule->minimum, rule->maximum)) {
    return std::nullopt;
  }
  return refuse(rule->message, rule->putBack);
}

std::optional<FieldRange> FieldRangeOf(Field field, InactivityLimitModeKind limitMode,
                                       int selectedUnit) {
  if (field == Field::edtInactivityLimit) {
    if (limitMode == LimitAsCount) return FieldRange{1, MaxLimitCount};
    if (selectedUnit == UnitMinutes) return FieldRange{1, MaxLimitMinutes};
    if (selectedUnit == UnitHours) return FieldRange{1, MaxLimitHours};
    return std::nullopt;
  }
  if (const std::optional<FieldRangeRule>& rule = CatalogueEntry(field).range) {
    return FieldRange{rule->minimum, rule->maximum};
  }
  return std::nullopt;
}

RuleVerdict CheckInactivityLimit(const QString& text, InactivityLimitModeKind limitMode,
                                 int selectedUnit) {
  if (text.isEmpty()) return std::nullopt;
  const int value = ReadInteger(text);
  if (limitMode == LimitAsCount) {
    if (isOutside(value, 1, MaxLimitCount)) return refuse(Msg::InactivityLimitCountRange, "65535");
    return std::nullopt;
  }
  if (selectedUnit == UnitMinutes && isOutside(value, 1, MaxLimitMinutes)) {
    return refuse(Msg::InactivityLimitMinutesRange, "1");
  }
  // Text Msg::InactivityLimitHoursRange names 999 hours; the transmitter takes every whole hour up
  // to 65535 minutes.
  if (selectedUnit == UnitHours && isOutside(value, 1, MaxLimitHours))
    return refuse(Msg::InactivityLimitHoursRange, "1");
  return std::nullopt;
}

RuleVerdict CheckRadioCode(const QString& text) {
  if (IsReservedRadioCode(text)) return Refusal{Msg::ReservedRadioCode, std::nullopt};
  return std::nullopt;
}

bool IsReservedRadioCode(const QString& code) {
  return code == QStringLiteral("0000") || code.toUpper() == QStringLiteral("FFFF");
}

bool IsFourHexDigits(const QString& code) {
  // Not the key test: that also passes the editing keys, and a pasted control character must
  // never reach the OPU inside a code block.
  return code.size() == 4 && std::all_of(code.begin(), code.end(), VembaData::IsHexDigit);
}

QString RadioCodeAsSent(const QString& code) {
  return code.toUpper();
}

std::optional<Msg::Id> NewRadioCodeRefusal(const QString& code, NewCodeSender sender) {
  if (sender == NewCodeSender::CodeChange) {
    if (!IsFourHexDigits(code)) return Msg::NewCodeNotFourHexDigits;
    if (IsReservedRadioCode(code)) return Msg::ReservedRadioCode;
    return std::nullopt;
  }
  if (code.isEmpty()) return std::nullopt;
  const bool shortZero =
      code == QStringLiteral("0") || code == QStringLiteral("00") || code == QStringLiteral("000");
  if (shortZero || IsReservedRadioCode(code)) return Msg::ReservedRadioCode;
  // Anything else the codec would read as digits of its own choosing (a G as 0, a missing
  // digit as 0), and the transmitter would end with a code nobody asked for.
  if (!IsFourHexDigits(code)) return Msg::NewCodeNotFourHexDigits;
  return std::nullopt;
}

std::optional<LimitConversion> ConvertLimitUnit(const QString& text, int lastUnit, int chosenUnit) {
  if (lastUnit == NoUnit || chosenUnit == lastUnit) return std::nullopt;
  const long long value = ReadInteger(text);
  if (chosenUnit == UnitHours) {
    const double hours = std::max(value / double{MinutesPerHour}, 1.0);
    return LimitConversion{QString::number(RoundHalfUp(hours)), HoursMaxLength};
  }
  return LimitConversion{QString::number(value * MinutesPerHour), MinutesMaxLength};
}

namespace {

// What the field's key filter lets the user type into its text; the editing keys type nothing.
bool typable(KeyFilterKind kind, QChar character, QChar decimalSeparator) {
  if (!character.isPrint()) return false;
  if (kind == KeyFilterKind::Decimal) return VembaData::IsDecimalKey(character, decimalSeparator);
  return VembaData::IsDigitKey(character);
}

// The message the field's rule shows; the limit's depends on how it is shown.
Msg::Id rangeMessageOf(Field field, const CodecContext& context, int selectedUnit) {
  if (field == Field::edtInactivityLimit) {
    if (context.limitMode == LimitAsCount) return Msg::InactivityLimitCountRange;
    return selectedUnit == UnitHours ? Msg::InactivityLimitHoursRange
                                     : Msg::InactivityLimitMinutesRange;
  }
  // Every numeric field has its range; the catalogue's test holds each against it.
  return CatalogueEntry(field).range->message;
}

}  // namespace

std::optional<Msg::Id> UntypedTextRefusal(const FieldValues& fields, const CodecContext& context) {
  const QChar separator = context.locale.decimalPoint().at(0);
  for (const auto& [field, text] : fields.texts) {
    const KeyFilterKind kind = KeyFilterOf(field);
    if (kind != KeyFilterKind::Numeric && kind != KeyFilterKind::Decimal) continue;
    const bool refused = std::any_of(text.begin(), text.end(), [&](QChar character) {
      return !typable(kind, character, separator);
    });
    if (refused) return rangeMessageOf(field, context, fields.selectedUnit);
  }
  return std::nullopt;
}

const std::vector<CheckBoxDependency>& CheckBoxDependencies() {
  // The compatible-alarm-types and ignore-acknowledgement boxes have no dependants of their own;
  // their clicks re-run the rule of the box they sit beside.
  static const std::vector<CheckBoxDependency> dependencies = [] {
    std::vector<CheckBoxDependency> all;
    for (const FieldEntry& box : FieldCatalogue()) {
      CheckBoxDependency dependency{box.field, {box.field}, {}};
      for (const FieldEntry& entry : FieldCatalogue()) {
        if (entry.enabledBy == box.field) dependency.dependants.push_back(entry.field);
        if (entry.rerunsRuleOf == box.field) dependency.triggers.push_back(entry.field);
      }
      if (!dependency.dependants.empty()) all.push_back(dependency);
    }
    return all;
  }();
  return dependencies;
}

std::vector<Msg::Id> ConfigurationRuleBreaks(const ParameterImage& image, ImageOrigin origin,
                                             const CodecContext& context) {
  std::vector<Msg::Id> breaks;
  for (const ShownValue& shown : ShowImageValues(image, origin, context).values) {
    const RuleVerdict verdict =
        shown.field == Field::edtInactivityLimit
            ? CheckInactivityLimit(shown.text, context.limitMode, shown.unit)
            : CheckRange(shown.field, shown.text, context.locale);
    if (verdict) breaks.push_back(verdict->message);
  }
  return breaks;
}
