#include "ui/FieldHelp.h"

#include "image/FieldCatalogue.h"

#include <gtest/gtest.h>

namespace {

ShownValue shown(Field field, const char* text, int unit = NoUnit) {
  return ShownValue{field, QString::fromUtf8(text), false, unit, 0};
}

TEST(FieldHelp, TellsRangeUnitAndFactoryValueFromTheCatalogue) {
  const CodecContext time{LimitAsTime, QLocale(QLocale::German)};
  const CodecContext count{LimitAsCount, QLocale(QLocale::German)};
  ShownValue on{Field::cbConfig_D3, {}, true};
  const struct {
    Field field;
    CodecContext context;
    int unit;
    std::optional<ShownValue> factory;
    const char* description;
    const char* toolTip;
  } rows[] = {
      {Field::edtBatteryTestInterval, time, NoUnit, shown(Field::edtBatteryTestInterval, "24"),
       "Bereich 0 bis 255 Stunden", "Bereich 0 bis 255 Stunden\nWerkseinstellung: 24 Stunden"},
      {Field::edtNoShortTx, time, NoUnit, std::nullopt, "Bereich 0 bis 15", "Bereich 0 bis 15"},
      {Field::edtButtonActivationDelay, time, NoUnit, shown(Field::edtButtonActivationDelay, "0,1"),
       "Bereich 0 bis 25 Sekunden", "Bereich 0 bis 25 Sekunden\nWerkseinstellung: 0,1 Sekunden"},
      {Field::edtInactivitySampleInterval, time, NoUnit, std::nullopt, "Bereich 1 bis 255 Minuten",
       "Bereich 1 bis 255 Minuten"},
      {Field::edtInactivityRetransmissionAttempts, time, NoUnit, std::nullopt, "Bereich 0 bis 99",
       "Bereich 0 bis 99"},
      // The limit follows the unit in force; its factory value keeps its own unit.
      {Field::edtInactivityLimit, time, UnitHours,
       shown(Field::edtInactivityLimit, "720", UnitMinutes), "Bereich 1 bis 1092 Stunden",
       "Bereich 1 bis 1092 Stunden\nWerkseinstellung: 720 Minuten"},
      {Field::edtInactivityLimit, time, UnitMinutes, std::nullopt, "Bereich 1 bis 65535 Minuten",
       "Bereich 1 bis 65535 Minuten"},
      {Field::edtInactivityLimit, count, NoUnit, shown(Field::edtInactivityLimit, "144"),
       "Bereich 1 bis 65535", "Bereich 1 bis 65535\nWerkseinstellung: 144"},
      {Field::edtInactivityLimit, time, NoUnit, std::nullopt, "", ""},
      {Field::cbConfig_D3, time, NoUnit, on, "", "Werkseinstellung: ein"},
      {Field::edtRadioCodeNew, time, NoUnit, shown(Field::edtRadioCodeNew, ""),
       "Vier Hex-Ziffern (0 bis 9, A bis F), nicht 0000 und nicht FFFF",
       "Vier Hex-Ziffern (0 bis 9, A bis F), nicht 0000 und nicht FFFF"},
      // What the program fills in has no factory value to tell.
      {Field::edtTotalTxCounter, time, NoUnit, shown(Field::edtTotalTxCounter, "0"),
       "Nur zur Anzeige, nicht änderbar", "Nur zur Anzeige, nicht änderbar"},
      {Field::edtRadioCodeOld, time, NoUnit, std::nullopt, "Nur zur Anzeige, nicht änderbar",
       "Nur zur Anzeige, nicht änderbar"},
  };
  for (const auto& row : rows) {
    const FieldHelpTexts help = FieldHelp(row.field, row.context, row.unit, row.factory);
    EXPECT_EQ(help.description, QString::fromUtf8(row.description)) << row.description;
    EXPECT_EQ(help.toolTip, QString::fromUtf8(row.toolTip)) << row.toolTip;
  }
}

}  // namespace
