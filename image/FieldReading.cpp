#include "image/FieldReading.h"

#include <cmath>

int ReadInteger(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok, 10);
  return ok ? value : 0;
}

// Only the decimal separator follows the user's locale; the digits are always 0 to 9, the ones
// the key filter takes, whatever digits the locale would show (Arabic locales have their own).
std::optional<double> ReadDecimal(const QString& text, const QLocale& locale) {
  const QString separator = locale.decimalPoint();
  // The point below stands for the separator; a point of the user's own is no separator.
  if (separator != QStringLiteral(".") && text.contains(u'.')) return std::nullopt;
  QString plain = text;
  plain.replace(separator, QStringLiteral("."));
  // Group separators are refused, so "1,000" is not read as a thousand.
  QLocale digits = QLocale::c();
  digits.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = digits.toDouble(plain, &ok);
  if (!ok) return std::nullopt;
  return value;
}

QString FormatTenths(int tenths, const QLocale& locale) {
  return QLocale::c()
      .toString(tenths / 10.0, 'f', 1)
      .replace(QStringLiteral("."), locale.decimalPoint());
}

long long RoundHalfUp(double value) {
  return static_cast<long long>(std::floor(value + 0.5));
}
