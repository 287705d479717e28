#include "link/OperationMessages.h"

#include "image/Texts.h"
#include "image/VembaData.h"
#include "link/WriteCheck.h"
#include "link/opu/ConnectionProbes.h"
#include "link/opu/OpuDriver.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The German text of every message the transmitter operations show, as the user reads it.
TEST(OperationMessagesTest, EveryMessageOfTheOperationsReadsAsTheUserSeesIt) {
  const std::pair<Msg::Id, const char*> texts[] = {
      {Msg::CancelledByUser, "Vom Anwender abgebrochen"},
      {Msg::ChangeCodeTitle, "U-KOVA Funkkennung ändern"},
      {Msg::CodeChangeFailed, "Fehler, bitte noch einmal versuchen"},
      {Msg::CodeChangedAndVerified, "U-KOVA Kennnummer geändert und geprüft."},
      {Msg::CodeReadCancelled, "Das Auslesen der U-KOVA Kennummer wurde vom Anwender abgebrochen"},
      {Msg::ConfigurationUpdated, "U-KOVA Konfiguration wurde aktualisiert."},
      {Msg::ConfigurationUpdatedAndVerified,
       "U-KOVA Konfiguration wurde aktualisiert und geprüft."},
      {Msg::ConfirmCodeChange, "Möchten Sie die Funkkennung von %s auf %s ändern?"},
      {Msg::ConversionFailedAtAddress,
       "Fehler beim Konvertieren der Daten(Adresse %s)\nBitte kontaktieren Sie die Orvel GmbH"},
      {Msg::DataConversionFailed,
       "Fehler bei der Datenkonvertierung!\nWert %s, Adresse %s.\nBitte kontaktieren Sie die "
       "Orvel GmbH"},
      {Msg::EndedWithoutMessage, "Ohne Meldung beendet"},
      {Msg::InvalidProductType, "Ungültiger Produkttyp, bitte kontaktieren Sie die Orvel GmbH"},
      {Msg::OpuFirmwareTooOld,
       "Die auszuführende Tätigkeit erfordert eine Aktualisierung der OPU Firmware. Bitte "
       "kontaktieren Sie die Orvel GmbH"},
      {Msg::OpuGetJobFailed,
       "OPU Kommunikationsfehler (Get job)\nBitte kontaktieren Sie die Orvel GmbH"},
      {Msg::OpuNotReachable,
       "OPU kann nicht angesprochen werden. Bitte stellen Sie sicher, dass das USB Kabel und das "
       "Netzteil an der OPU angeschlossen sind."},
      {Msg::PortBusy,
       "Die Schnittstelle %s der OPU ist belegt: Ein anderes Programm verwendet sie. Bitte "
       "beenden Sie das andere Programm."},
      {Msg::PortNotOpened, "Die Schnittstelle %s der OPU kann nicht geöffnet werden."},
      {Msg::PortUnusable,
       "%s\n\nJeden Schritt der Verbindung prüft Hilfe › Verbindung prüfen... (ohne Fenster: "
       "ukova-programmer check)."},
      {Msg::PressButtonForCode, "Drücken Sie die U-KOVA Taste zum Auslesen der Funkkennung"},
      {Msg::PressButtonToChangeCode,
       "Drücken Sie die U-KOVA Taste erneut um die Kennnummer zu ändern\n\nBitte achten Sie "
       "darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {Msg::PressButtonToRead,
       "Drücken Sie die U-KOVA Taste erneut, zum Auslesen der Konfiguration\n\nBitte achten Sie "
       "darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {Msg::PressButtonToVerify,
       "Drücken Sie die U-KOVA Taste noch einmal, zum Prüfen der Konfiguration\n\nBitte achten "
       "Sie darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {Msg::PressButtonToWrite,
       "Drücken Sie die U-KOVA Taste erneut, zum Schreiben der Konfiguration\n\nBitte achten Sie "
       "darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {Msg::ReadCancelled, "Abbruch der Leseoperation durch den Anwender"},
      {Msg::ReadFailed, "Fehler beim Lesen vom U-KOVA"},
      {Msg::ReadFinished, "Auslesen abgeschlossen"},
      {Msg::ReadTitle, "U-KOVA auslesen"},
      {Msg::VerifyCancelled, "Abbruch der Prüfung durch den Anwender"},
      {Msg::VerifyDifferenceLine, "%s: geschrieben %s, gelesen %s"},
      {Msg::VerifyFailed,
       "Die Prüfung nach dem Schreiben ist fehlgeschlagen:\n%s\nBitte lesen Sie den U-KOVA aus, "
       "um die Konfiguration zu prüfen."},
      {Msg::VerifyFoundDifferences,
       "Die Prüfung nach dem Schreiben hat Abweichungen gefunden:\n\n%s\nBitte schreiben Sie die "
       "Konfiguration erneut."},
      {Msg::VerifyPendantSilent,
       "Die Prüfung nach dem Schreiben ist fehlgeschlagen: Der U-KOVA antwortet nicht unter der "
       "Funkkennung %s."},
      {Msg::WaitTimedOut, "Zeitüberschreitung, bitte noch einmal versuchen"},
      {Msg::WaitingForPendant, "Auf das Auslösen des U-KOVA wird gewartet"},
      {Msg::WriteCancelled, "Abbruch des Schreibvorgangs durch den Anwender"},
      {Msg::WriteFailed, "U-KOVA Schreibfehler, bitte wiederholen"},
      {Msg::WriteTitle, "Schreiben zum U-KOVA"},
      {Msg::ReservedRadioCode, "Der eingegebene Wert darf nicht '0000' oder 'FFFF' sein."},
      {Msg::NewCodeNotFourHexDigits, "Das Feld 'Neue Kennnummer' muss 4 hex. Ziffern enthalten"},
  };
  for (const auto& [number, german] : texts) EXPECT_EQ(Text(number), QString::fromUtf8(german));
}

TEST(OperationMessagesTest, AJobThatDidNotEndDoneSaysWhyOrThatTheUserAborted) {
  struct Case {
    OperationKind kind;
    ModalResult result;
    std::optional<OperationMessage> expected;
  };
  const Case cases[] = {
      {OperationKind::Read, mrOk, std::nullopt},
      {OperationKind::Read, mrNone, std::nullopt},
      {OperationKind::Read, mrCancel, OperationMessage{Msg::ReadFailed, {}, false}},
      {OperationKind::Read, mrAbort, OperationMessage{Msg::ReadCancelled, {}, true}},
      {OperationKind::Read, mrIgnore, OperationMessage{Msg::WaitTimedOut, {}, false}},
      {OperationKind::Read, mrLineLost, OperationMessage{Msg::OpuNotReachable, {}, false}},
      {OperationKind::Write, mrOk, std::nullopt},
      {OperationKind::Write, mrCancel, OperationMessage{Msg::WriteFailed, {}, false}},
      {OperationKind::Write, mrAbort, OperationMessage{Msg::WriteCancelled, {}, true}},
      {OperationKind::Write, mrIgnore, OperationMessage{Msg::WaitTimedOut, {}, false}},
      {OperationKind::Write, mrLineLost, OperationMessage{Msg::OpuNotReachable, {}, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JobEndMessage(c.kind, c.result), c.expected)
        << static_cast<int>(c.kind) << ' ' << c.result;
  }
}

// The cause and the connection check's remedy: a port of group root sends nobody to join root.
TEST(OperationMessagesTest, APortThatCannotBeOpenedIsNamedWithTheRemedy) {
  const auto opening = [](OpenFailure::Kind kind, const QString& port, const QString& group,
                          GroupMembership membership, bool groupMayOpen,
                          const QStringList& holders) {
    PortOpening made;
    made.failure = {kind, port, group};
    made.port = port;
    made.systemText = "Input/output error";
    made.membership = membership;
    made.groupMayOpen = groupMayOpen;
    made.holders = holders;
    return made;
  };
  const QString tty = "/dev/ttyUSB0";
  const std::pair<PortOpening, QString> cases[] = {
      {opening(OpenFailure::NoPermission, tty, "dialout", GroupMembership::NotMember, true, {}),
       FormatText(Msg::CheckJoinGroup, {tty, "dialout", "dialout"})},
      // Joining root would not help, and nobody is sent to the administrators' group.
      {opening(OpenFailure::NoPermission, tty, "root", GroupMembership::NotMember, false, {}),
       FormatText(Msg::CheckInstallDeviceRule, {tty, "root", "root"})},
      {opening(OpenFailure::NoPermission, tty, "dialout", GroupMembership::AfterNextLogin, true,
               {}),
       FormatText(Msg::CheckLogInAgain, {tty, "dialout"})},
      {opening(OpenFailure::Busy, tty, {}, GroupMembership::Unknown, false, {"minicom (812)"}),
       FormatText(Msg::PortBusy, {tty}) + ' ' +
           FormatText(Msg::CheckPortHeldBy, {"minicom (812)"})},
      {opening(OpenFailure::Other, tty, {}, GroupMembership::Unknown, false, {}),
       FormatText(Msg::PortNotOpened, {tty}) + ' ' +
           FormatText(Msg::CheckPortFailedReason, {"Input/output error"})},
      {opening(OpenFailure::Other, {}, {}, GroupMembership::Unknown, false, {}), QString()},
      {opening(OpenFailure::NotFound, tty, {}, GroupMembership::Unknown, false, {}), QString()},
      {opening(OpenFailure::None, {}, {}, GroupMembership::Unknown, false, {}), QString()},
  };
  for (const auto& [failure, text] : cases) EXPECT_EQ(OpenFailureText(failure), text);
}

TEST(WriteCheckTest, TheCheckSaysWhyTheReadBackFailedOrWhatTheTransmitterDidNotKeep) {
  ParameterImage sent{};
  VembaData::ClearImage(sent, 0, OriginWrite);
  sent[0x2C].value = 36;
  ParameterImage readBack = sent;
  for (ImageCell& cell : readBack) cell.origin = OriginRead;
  const CodecContext context{LimitAsTime, QLocale(QLocale::German, QLocale::Germany)};
  struct Case {
    std::optional<ModalResult> result;
    std::optional<OperationMessage> expected;
  };
  const Case cases[] = {
      {mrOk, std::nullopt},
      {mrAbort, OperationMessage{Msg::VerifyCancelled, {}, true}},
      {mrCancel, OperationMessage{Msg::VerifyFailed, {Text(Msg::ReadFailed)}, false}},
      {mrIgnore, OperationMessage{Msg::VerifyFailed, {Text(Msg::WaitTimedOut)}, false}},
      {mrLineLost, OperationMessage{Msg::VerifyFailed, {Text(Msg::OpuNotReachable)}, false}},
      {std::nullopt, OperationMessage{Msg::VerifyPendantSilent, {"C0DE"}, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WriteCheckMessage(c.result, "C0DE", &sent, readBack, context), c.expected)
        << c.result.value_or(mrNone);
  }
  // A code change sends no image: a complete read is all it asks.
  EXPECT_EQ(WriteCheckMessage(mrOk, "C0DE", nullptr, readBack, context), std::nullopt);

  readBack[0x2C].value = 24;
  const std::optional<OperationMessage> differs =
      WriteCheckMessage(mrOk, "C0DE", &sent, readBack, context);
  ASSERT_TRUE(differs.has_value());
  EXPECT_EQ(differs->number, Msg::VerifyFoundDifferences);
  EXPECT_EQ(differs->arguments,
            QStringList{QString::fromUtf8(
                "Batteriealarmintervall (Std, 0=AUS): geschrieben 36, gelesen 24\n")});
}

// One question before a write: each field once, an alarm's field not again among the changes.
TEST(OperationMessagesTest, TheWriteQuestionNamesEachFieldOnce) {
  const ComparedField battery{Field::edtBatteryTestInterval, "24", "0", true};
  const ComparedField shortTx{Field::edtNoShortTx, "3", "5", true};
  const struct {
    WriteReview review;
    int batteryLines;
    bool listsChanges;
    bool saysOthers;
  } rows[] = {
      {{true, {battery}, {battery}}, 1, false, false},
      {{true, {battery, shortTx}, {battery}}, 1, true, true},
      {{true, {shortTx}, {}}, 0, true, false},
  };
  for (const auto& row : rows) {
    const QString question =
        WriteReviewQuestion(row.review, "1A2B", InactivityLimitModeKind::LimitAsTime);
    EXPECT_EQ(question.count("bisher 24, neu 0"), row.batteryLines) << question.toStdString();
    EXPECT_EQ(question.contains("bisher 3, neu 5"), row.listsChanges) << question.toStdString();
    EXPECT_EQ(question.contains("Außerdem"), row.saysOthers) << question.toStdString();
  }
}

}  // namespace
