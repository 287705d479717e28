#include "ui/Texts.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Every number a window sets as a caption, a label, a menu item or a title part.
const std::vector<int> kCaptionNumbers = {
    10000, 10101, 10102, 10103, 10104, 10105, 10106, 10107, 10108, 10109, 10110, 10111,
    10112, 10113, 10122, 10123, 10124, 10125, 10126, 10127, 10141, 10142, 10143, 10144,
    10145, 10146, 10147, 10148, 10149, 10150, 10151, 10161, 10162, 10163, 10164, 10165,
    10166, 10167, 10168, 10169, 10170, 10171, 10181, 10182, 10183, 10184, 10191, 10192,
    10251, 10252, 10301, 10401, 10402, 10403, 10501, 10502, 10503, 10601, 10602, 10621,
    10622, 10623, 10624, 10628, 10702, 10819, 10872, 10891, 10892};

}  // namespace

TEST(TextTable, ControlCharactersAndTrailingSpacesAreKept) {
  const QString warning = Text(10864);
  EXPECT_EQ(warning,
            QString::fromUtf8(
                "Bei den gewählten Einstellungen der Zeitschranke für Inaktivität (%s) und des "
                "Abtastintervalls (%s Minuten) erfolgt eine Alarmierung bereits nach %s "
                "identischen Lagemessungen. Empfohlen wird die Alarmierung nach 12 identischen "
                "Messungen.\n\r\n\rBitte verlängern Sie die Zeitschranke für Inaktivität oder "
                "verkürzen Sie das Abtastintervall um Fehlalarme möglichst zu vermeiden.\n\r\n\r"
                "Drücken Sie OK um fortzufahren oder Abbrechen um die Einstellungen zu ändern."));
  EXPECT_EQ(warning.count(u"\n\r\n\r"), 2);

  EXPECT_EQ(Text(10170), QString::fromUtf8("Sendewiederholungen bei Inaktivität "));
  EXPECT_EQ(Text(10812),
            QString::fromUtf8(
                "Die Konfiguration konnte nicht gespeichert werden. \nDer angegebene Name muss "
                "ein gültiger Windows Dateiname sein. Es dürfen keine Sonderzeichen verwendet "
                "werden wie: [^:*?<>|]"));

  const QString instructions = Text(10622);
  EXPECT_EQ(instructions,
            QString::fromUtf8(
                "Anweisung zum Ändern der werkseingestellten Funkkennung:\n\n1. Die neue "
                "4-stellige Kennnummer im unteren Feld eintragen\n2. Schaltfäche 'Ändern...' "
                "anklicken\n3. U-KOVA Taste drücken\n4. Zum Bestätigen Ja ancklicken\n5. U-KOVA "
                "Taste erneut drücken.\n6. Fertig"));
  EXPECT_EQ(instructions.count(u'\n'), 7);
  EXPECT_FALSE(instructions.contains(u'\r'));
}

TEST(TextTable, FolderNameKeepsItsBackslashes) {
  EXPECT_EQ(Text(19999), QString::fromUtf8("\\ORVEL\\U-KOVA Programmer (DE)\\"));
}

TEST(TextTable, AcceleratorsAndGermanLetters) {
  EXPECT_EQ(Text(10103), QString::fromUtf8("Ö&ffnen..."));
  EXPECT_EQ(Text(10111), QString::fromUtf8("&Kennnummer ändern..."));
  EXPECT_EQ(Text(10702), QString::fromUtf8("&Suchen..."));
  EXPECT_EQ(Text(10822), QString::fromUtf8("Fehlerhafte Dateigröße!"));
  EXPECT_EQ(Text(10804),
            QString::fromUtf8("Das Auslesen der U-KOVA Kennummer wurde vom Anwender abgebrochen"));
}

TEST(TextTable, MissingNumberGivesEmptyText) {
  EXPECT_TRUE(Text(9999).isEmpty());
  EXPECT_TRUE(Text(10803).isEmpty());
  EXPECT_TRUE(Text(20000).isEmpty());
  EXPECT_TRUE(FormatText(10803, {QStringLiteral("x")}).isEmpty());
}

TEST(TextTable, EveryCaptionHasItsText) {
  for (const int number : kCaptionNumbers) {
    const QString text = Text(number);
    EXPECT_FALSE(text.isEmpty()) << number;
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << number;
  }
}

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText(10817, {QStringLiteral("255"), QStringLiteral("52")}),
            QString::fromUtf8("Fehler bei der Datenkonvertierung!\nWert 255, Adresse 52.\n"
                              "Bitte kontaktieren Sie die Orvel GmbH"));
  EXPECT_EQ(FormatText(10809, {QStringLiteral("Haus 3.ukova")}),
            QString::fromUtf8("Konfigurationsdatei 'Haus 3.ukova' geöffnet"));

  const QString warning =
      FormatText(10864, {QStringLiteral("30 Minuten"), QStringLiteral("5"), QStringLiteral("6")});
  EXPECT_TRUE(warning.startsWith(
      u"Bei den gewählten Einstellungen der Zeitschranke für Inaktivität (30 Minuten) und des "
      u"Abtastintervalls (5 Minuten) erfolgt eine Alarmierung bereits nach 6 identischen"));
  EXPECT_FALSE(warning.contains(u"%s"));
  EXPECT_EQ(warning.count(u"\n\r\n\r"), 2);
}

TEST(FormatText, ArgumentsAreNotFormattedAgain) {
  EXPECT_EQ(FormatText(10871, {QStringLiteral("%s"), QStringLiteral("1A2B")}),
            QString::fromUtf8("Möchten Sie die Funkkennung von %s auf 1A2B ändern?"));
  EXPECT_EQ(FormatText(10625, {QStringLiteral("50%")}),
            QString::fromUtf8("Änderung nicht notwendig!\nU-KOVA Funkkennung ist bereits 50%."));
}

TEST(FormatText, FewerOrMoreArgumentsThanPlaceholders) {
  EXPECT_EQ(FormatText(10817, {QStringLiteral("7")}),
            QString::fromUtf8("Fehler bei der Datenkonvertierung!\nWert 7, Adresse .\n"
                              "Bitte kontaktieren Sie die Orvel GmbH"));
  EXPECT_EQ(FormatText(10871, {}),
            QString::fromUtf8("Möchten Sie die Funkkennung von  auf  ändern?"));
  EXPECT_EQ(FormatText(10823, {QStringLiteral("52"), QStringLiteral("surplus")}),
            QString::fromUtf8("Fehler beim Konvertieren der Daten(Adresse 52)\n"
                              "Bitte kontaktieren Sie die Orvel GmbH"));
  EXPECT_EQ(FormatText(10170, {QStringLiteral("unused")}), Text(10170));
}
