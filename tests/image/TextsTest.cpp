#include "image/Texts.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Every number a window sets as a caption, a label, a menu item or a title part.
const std::vector<Msg::Id> kCaptionNumbers = {Msg::ProgramTitle,
                                              Msg::MenuFile,
                                              Msg::MenuFileNew,
                                              Msg::MenuFileOpen,
                                              Msg::MenuFileSave,
                                              Msg::MenuFileSaveAs,
                                              Msg::MenuFileSelectDefaultFolder,
                                              Msg::MenuFileExit,
                                              Msg::MenuComm,
                                              Msg::MenuCommRead,
                                              Msg::MenuCommWrite,
                                              Msg::MenuCommChangeCode,
                                              Msg::MenuHelp,
                                              Msg::MenuHelpAbout,
                                              Msg::CaptionRadioParameters,
                                              Msg::CaptionRadioCode,
                                              Msg::CaptionCurrent,
                                              Msg::CaptionNew,
                                              Msg::CaptionShortTransmissions,
                                              Msg::CaptionLongTransmissions,
                                              Msg::CaptionTechnicalAlarms,
                                              Msg::CaptionActivityAlarmActive,
                                              Msg::CaptionActivityAlarmInterval,
                                              Msg::CaptionRadioTestAlarmActive,
                                              Msg::CaptionRadioTestAlarmInterval,
                                              Msg::CaptionMissedAckBeforeSleep,
                                              Msg::CaptionBatteryTestInterval,
                                              Msg::CaptionTestAlarmWithButtonCounter,
                                              Msg::CaptionButtonCounter,
                                              Msg::CaptionTotalTxCounter,
                                              Msg::CaptionCompatibleAlarmTypes,
                                              Msg::CaptionUserAlarms,
                                              Msg::CaptionAlarmButtonActive,
                                              Msg::CaptionButtonActivationDelay,
                                              Msg::CaptionDementiaBlockTime,
                                              Msg::CaptionInactivitySenseActive,
                                              Msg::CaptionInactivityLimit,
                                              Msg::CaptionInactivityLimitCount,
                                              Msg::CaptionSampleInterval,
                                              Msg::CaptionTiltThreshold,
                                              Msg::CaptionRetransmissionAttempts,
                                              Msg::CaptionIgnoreRetransmissionAck,
                                              Msg::CaptionProductInformation,
                                              Msg::CaptionFirmwareVersion,
                                              Msg::CaptionProductionDate,
                                              Msg::CaptionFirmwareType,
                                              Msg::UnitMinutes,
                                              Msg::UnitHours,
                                              Msg::ButtonRead,
                                              Msg::ButtonWrite,
                                              Msg::AboutTitle,
                                              Msg::SelectFolderTitle,
                                              Msg::SelectFolderLabel,
                                              Msg::SelectFolderNote,
                                              Msg::ReadTitle,
                                              Msg::PressButtonForCode,
                                              Msg::PressButtonToRead,
                                              Msg::WriteTitle,
                                              Msg::PressButtonToWrite,
                                              Msg::ChangeCodeTitle,
                                              Msg::ChangeCodeInstructions,
                                              Msg::ChangeCodeNewCodeLabel,
                                              Msg::ChangeCodeButton,
                                              Msg::PressButtonToChangeCode,
                                              Msg::SelectFolderBrowse,
                                              Msg::SelectNewDefaultFolder,
                                              Msg::WaitingForPendant,
                                              Msg::TitleReadFromPendant,
                                              Msg::TitleDefault};

}  // namespace

TEST(TextTable, ControlCharactersAndTrailingSpacesAreKept) {
  const QString warning = Text(Msg::FewIdenticalMeasurementsWarning);
  EXPECT_EQ(warning,
            QString::fromUtf8(
                "Bei den gewählten Einstellungen der Zeitschranke für Inaktivität (%s) und des "
                "Abtastintervalls (%s Minuten) erfolgt eine Alarmierung bereits nach %s "
                "identischen Lagemessungen. Empfohlen wird die Alarmierung nach 12 identischen "
                "Messungen.\n\r\n\rBitte verlängern Sie die Zeitschranke für Inaktivität oder "
                "verkürzen Sie das Abtastintervall um Fehlalarme möglichst zu vermeiden.\n\r\n\r"
                "Drücken Sie OK um fortzufahren oder Abbrechen um die Einstellungen zu ändern."));
  EXPECT_EQ(warning.count(u"\n\r\n\r"), 2);

  EXPECT_EQ(Text(Msg::CaptionRetransmissionAttempts),
            QString::fromUtf8("Sendewiederholungen bei Inaktivität "));
  EXPECT_EQ(Text(Msg::ConfigurationNotSaved),
            QString::fromUtf8(
                "Die Konfiguration konnte nicht gespeichert werden. \nDer angegebene Name muss "
                "ein gültiger Windows Dateiname sein. Es dürfen keine Sonderzeichen verwendet "
                "werden wie: [^:*?<>|]"));

  const QString instructions = Text(Msg::ChangeCodeInstructions);
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
  EXPECT_EQ(Text(Msg::DataFolderSuffix), QString::fromUtf8("\\ORVEL\\U-KOVA Programmer (DE)\\"));
}

TEST(TextTable, AcceleratorsAndGermanLetters) {
  EXPECT_EQ(Text(Msg::MenuFileOpen), QString::fromUtf8("Ö&ffnen..."));
  EXPECT_EQ(Text(Msg::MenuCommChangeCode), QString::fromUtf8("&Kennnummer ändern..."));
  EXPECT_EQ(Text(Msg::SelectFolderBrowse), QString::fromUtf8("&Suchen..."));
  EXPECT_EQ(Text(Msg::WrongFileSize), QString::fromUtf8("Fehlerhafte Dateigröße!"));
  EXPECT_EQ(Text(Msg::CodeReadCancelled),
            QString::fromUtf8("Das Auslesen der U-KOVA Kennummer wurde vom Anwender abgebrochen"));
}

TEST(TextTable, MissingNumberGivesEmptyText) {
  EXPECT_TRUE(Text(static_cast<Msg::Id>(9999)).isEmpty());
  EXPECT_TRUE(Text(static_cast<Msg::Id>(10803)).isEmpty());
  EXPECT_TRUE(Text(static_cast<Msg::Id>(20000)).isEmpty());
  EXPECT_TRUE(FormatText(static_cast<Msg::Id>(10803), {QStringLiteral("x")}).isEmpty());
}

TEST(TextTable, EveryCaptionHasItsText) {
  for (const Msg::Id number : kCaptionNumbers) {
    const QString text = Text(number);
    EXPECT_FALSE(text.isEmpty()) << number;
    EXPECT_FALSE(text.contains(QChar::ReplacementCharacter)) << number;
  }
}

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText(Msg::DataConversionFailed, {QStringLiteral("255"), QStringLiteral("52")}),
            QString::fromUtf8("Fehler bei der Datenkonvertierung!\nWert 255, Adresse 52.\n"
                              "Bitte kontaktieren Sie die Orvel GmbH"));
  EXPECT_EQ(FormatText(Msg::ConfigurationFileOpened, {QStringLiteral("Haus 3.ukova")}),
            QString::fromUtf8("Konfigurationsdatei 'Haus 3.ukova' geöffnet"));

  const QString warning =
      FormatText(Msg::FewIdenticalMeasurementsWarning,
                 {QStringLiteral("30 Minuten"), QStringLiteral("5"), QStringLiteral("6")});
  EXPECT_TRUE(warning.startsWith(
      u"Bei den gewählten Einstellungen der Zeitschranke für Inaktivität (30 Minuten) und des "
      u"Abtastintervalls (5 Minuten) erfolgt eine Alarmierung bereits nach 6 identischen"));
  EXPECT_FALSE(warning.contains(u"%s"));
  EXPECT_EQ(warning.count(u"\n\r\n\r"), 2);
}

TEST(FormatText, ArgumentsAreNotFormattedAgain) {
  EXPECT_EQ(FormatText(Msg::ConfirmCodeChange, {QStringLiteral("%s"), QStringLiteral("1A2B")}),
            QString::fromUtf8("Möchten Sie die Funkkennung von %s auf 1A2B ändern?"));
  EXPECT_EQ(FormatText(Msg::CodeChangeNotNeeded, {QStringLiteral("50%")}),
            QString::fromUtf8("Änderung nicht notwendig!\nU-KOVA Funkkennung ist bereits 50%."));
}

TEST(FormatText, FewerOrMoreArgumentsThanPlaceholders) {
  EXPECT_EQ(FormatText(Msg::DataConversionFailed, {QStringLiteral("7")}),
            QString::fromUtf8("Fehler bei der Datenkonvertierung!\nWert 7, Adresse .\n"
                              "Bitte kontaktieren Sie die Orvel GmbH"));
  EXPECT_EQ(FormatText(Msg::ConfirmCodeChange, {}),
            QString::fromUtf8("Möchten Sie die Funkkennung von  auf  ändern?"));
  EXPECT_EQ(
      FormatText(Msg::ConversionFailedAtAddress, {QStringLiteral("52"), QStringLiteral("surplus")}),
      QString::fromUtf8("Fehler beim Konvertieren der Daten(Adresse 52)\n"
                        "Bitte kontaktieren Sie die Orvel GmbH"));
  EXPECT_EQ(FormatText(Msg::CaptionRetransmissionAttempts, {QStringLiteral("unused")}),
            Text(Msg::CaptionRetransmissionAttempts));
}

// The texts the program added beside the system's own (10000 to 10892, and 19999, which stay as
// they are) speak one vocabulary: "der U-KOVA" as in "vom U-KOVA", "die OPU", "Schnittstelle" for
// its port, "USB-Kabel", German quotation marks, and "Programmiergerät" only as the program's
// name and in the menu item that chooses the OPU.
TEST(TextTable, TheAddedTextsSpeakOneVocabulary) {
  using Rule = std::pair<const char*, QRegularExpression>;
  const auto caseless = QRegularExpression::CaseInsensitiveOption;
  const Rule rules[] = {
      {"German quotation marks", QRegularExpression(QStringLiteral("'[^']*'|\""))},
      {"der U-KOVA", QRegularExpression(QStringLiteral("\\b(die|das|eine|einer|keine|jede|nächste|"
                                                       "ihre)\\s+U-KOVA\\b(?![ -](LED|Taste))"),
                                        caseless)},
      {"die OPU", QRegularExpression(
                      QStringLiteral("\\b(das|dem|des|den|ein|einem|eines|kein|zum|vom)\\s+OPU\\b"),
                      caseless)},
      {"Schnittstelle", QRegularExpression(QStringLiteral("Anschl[uü]ss(?!e \\(COM)|\\bPort\\b"))},
      {"USB-Kabel", QRegularExpression(QStringLiteral("USB ?(Kabel|Leitung)"))},
      {"Programmiergerät", QRegularExpression(QStringLiteral("Programmiergerät(?! &?wählen)"))},
  };
  int added = 0;
  for (int number = 10893; number < 19999; ++number) {
    const QString text = Text(static_cast<Msg::Id>(number));
    if (text.isEmpty()) continue;
    ++added;
    for (const auto& [term, pattern] : rules) {
      EXPECT_FALSE(pattern.match(text).hasMatch()) << number << " needs " << term;
    }
  }
  EXPECT_GT(added, 200);
}
