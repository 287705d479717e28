#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// How the window's texts are read as numbers. Text that is not a number counts as 0 for the
// integer reading; the decimal reading tells the caller that it was not a number.
[[nodiscard]] int ReadInteger(const QString& text);
[[nodiscard]] std::optional<double> ReadDecimal(const QString& text, const QLocale& locale);
// One decimal place with the locale's separator ("0,1" for tenths on a comma locale) and the
// digits 0 to 9 in every locale; the decimal reading takes exactly what this shows.
[[nodiscard]] QString FormatTenths(int tenths, const QLocale& locale);
// Whole number, a half rounding up (2.5 gives 3).
[[nodiscard]] long long RoundHalfUp(double value);
