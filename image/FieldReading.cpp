#include "image/FieldReading.h"

#include <cmath>

int ReadInteger(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  return ok ? value : 0;
}

std::optional<double> ReadDecimal(const QString& text, const QLocale& locale) {
  // Group separators are refused, so "1.000" is not read as a thousand on a comma locale.
  QLocale strict = locale;
  strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = strict.toDouble(text, &ok);
  if (!ok) return std::nullopt;
  return value;
}

QString FormatTenths(int tenths, const QLocale& locale) {
  QLocale plain = locale;
  plain.setNumberOptions(QLocale::OmitGroupSeparator);
  return plain.toString(tenths / 10.0, 'f', 1);
}

long long RoundHalfUp(double value) {
  return static_cast<long long>(std::floor(value + 0.5));
}
