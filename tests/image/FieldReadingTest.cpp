#include "image/FieldReading.h"

#include "image/VembaData.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(ButtonDelayDigits, OnlyTheSeparatorFollowsTheLocaleAndReadingTakesWhatIsShown) {
  struct Case {
    QLocale locale;
    QString shown;         // 25 tenths
    QString nativeDigits;  // what the locale's own digits would show
  };
  const Case cases[] = {
      {QLocale(QLocale::German, QLocale::Germany), "2,5", "2,5"},
      {QLocale(QLocale::English, QLocale::UnitedStates), "2.5", "2.5"},
      {QLocale(QLocale::Arabic, QLocale::Egypt), QStringLiteral("2\u066b5"),
       QStringLiteral("\u0662\u066b\u0665")},
      {QLocale(QLocale::Persian, QLocale::Iran), QStringLiteral("2\u066b5"),
       QStringLiteral("\u06f2\u066b\u06f5")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.locale.name().toStdString());
    EXPECT_EQ(FormatTenths(25, c.locale), c.shown);
    EXPECT_EQ(ReadDecimal(c.shown, c.locale), 2.5);
    // The key filter takes every character that is shown.
    const QChar separator = c.locale.decimalPoint().at(0);
    for (const QChar character : c.shown) {
      EXPECT_TRUE(VembaData::IsDecimalKey(character, separator)) << int(character.unicode());
    }
    if (c.nativeDigits != c.shown) {
      EXPECT_EQ(ReadDecimal(c.nativeDigits, c.locale), std::nullopt);
    }
  }
  // A point is no separator where the locale has a comma, nor a comma where it has a point.
  EXPECT_EQ(ReadDecimal("1.5", QLocale(QLocale::German, QLocale::Germany)), std::nullopt);
  EXPECT_EQ(ReadDecimal("1,5", QLocale(QLocale::English, QLocale::UnitedStates)), std::nullopt);
}
