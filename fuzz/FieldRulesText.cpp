// The field rules, the unit conversion and the key tests on arbitrary text, in either decimal
// separator: nothing crashes or overflows, and a text a rule puts back is one it accepts.

#include "fuzz/FuzzInput.h"
#include "image/FieldReading.h"
#include "image/FieldRules.h"
#include "image/VembaData.h"
#include "ui/KeyFilter.h"

#include <QLocale>

#include <cstdint>

namespace {

// Text from UTF-8, or raw UTF-16 with unpaired surrogates as a paste may bring.
QString Text(FuzzInput& input, bool rawUtf16) {
  const QByteArray bytes = input.Rest();
  if (!rawUtf16) return QString::fromUtf8(bytes);
  return QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint8_t choice = input.Byte();
  const auto field = static_cast<Field>(input.Byte() % FieldCount);
  const int key = input.Byte() | input.Byte() << 8 | input.Byte() << 16 | input.Byte() << 24;
  const auto modifiers = Qt::KeyboardModifiers::fromInt(input.Byte() << 24);
  const QLocale locale((choice & 1) != 0 ? QLocale::German : QLocale::English,
                       (choice & 1) != 0 ? QLocale::Germany : QLocale::UnitedStates);
  const InactivityLimitModeKind limitMode = (choice & 2) != 0 ? LimitAsCount : LimitAsTime;
  const int unit = (choice >> 2) % 3 - 1;
  const QString text = Text(input, (choice & 0x20) != 0);

  if (const RuleVerdict verdict = CheckRange(field, text, locale); verdict && verdict->putBack)
    FUZZ_CHECK(!CheckRange(field, *verdict->putBack, locale), text);
  if (const RuleVerdict verdict = CheckInactivityLimit(text, limitMode, unit);
      verdict && verdict->putBack)
    FUZZ_CHECK(!CheckInactivityLimit(*verdict->putBack, limitMode, unit), text);
  (void)CheckRadioCode(text);
  (void)ConvertLimitUnit(text, unit, (choice >> 4) % 3 - 1);
  (void)ReadInteger(text);
  (void)ReadDecimal(text, locale);
  (void)KeyPressCharacter(key, modifiers, text);
  for (const QChar character : text) {
    (void)VembaData::IsDigitKey(character);
    (void)VembaData::IsHexDigitKey(character);
    (void)VembaData::IsDecimalKey(character, locale.decimalPoint().front());
  }
  return 0;
}
