#include "ui/Texts.h"

#include <map>

namespace {

const std::map<int, const char*>& textTable() {
  // One text a line and never wrapped, so that a reviewer sees each text whole, with its trailing
  // spaces and control characters.
  // clang-format off
  static const std::map<int, const char*> table = {
      {10000, "U-KOVA Programmiergerät"},
      {10101, "&Datei"},
      {10102, "&Neu"},
      {10103, "Ö&ffnen..."},
      {10104, "&Speichern"},
      {10105, "Speichern &unter..."},
      {10106, "Wähle Standard&verzeichnis..."},
      {10107, "&Beenden"},
      {10108, "K&ommunikation"},
      {10109, "&Lesen vom U-KOVA"},
      {10110, "Sch&reiben zum U-KOVA"},
      {10111, "&Kennnummer ändern..."},
      {10112, "&Hilfe"},
      {10113, "&Info..."},
      {10122, "Funkparameter"},
      {10123, "Funkkennung"},
      {10124, "Aktuell"},
      {10125, "Neu"},
      {10126, "Anzahl kurzer Übertragungen"},
      {10127, "Anzahl langer Übertragungen"},
      {10141, "Technische Alarme/Information"},
      {10142, "Aktivitätsalarm aktiv"},
      {10143, "Aktivitätsalarmintervall (Std)"},
      {10144, "Funktestalarm aktiv"},
      {10145, "Funk Testalarmintervall (Std)"},
      {10146, "Anzahl fehlender Rückmeldungen bis Stromsparmodus"},
      {10147, "Batteriealarmintervall (Std, 0=AUS)"},
      {10148, "Funktestalarm zusammen mit Notrufzählerstand senden"},
      {10149, "Zähler für Notrufe mit Rückmeldung"},
      {10150, "Zähler für alle Funkübertragungen"},
      {10151, "Rückwärtskompatible Alarmtypen verwenden"},
      {10161, "Anwenderalarme/Inaktivitätsalarm"},
      {10162, "Notruftaste aktiv"},
      {10163, "Auslöseverzögerung der Notruftaste (s)"},
      {10164, "Anwenderalarme sperren (Minuten)"},
      {10165, "Inaktivitätsüberwachung aktiv"},
      {10166, "Zeitschranke für Inaktivität"},
      {10167, "Zählerstand für Inaktivitätsalarm"},
      {10168, "Abtastintervall (Minuten)"},
      {10169, "Grenzwert zum Erkennen einer Lageänderung"},
      {10170, "Sendewiederholungen bei Inaktivität "},
      {10171, "ACK bei Sendewiederholungen ignorieren"},
      {10181, "Produktinformation"},
      {10182, "Programmversion"},
      {10183, "Produktionsdatum (JJMMTT)"},
      {10184, "Firmware-Typ"},
      {10191, "Minuten"},
      {10192, "Stunden"},
      {10251, "Lesen vom U-KOVA"},
      {10252, "Schreiben zum U-KOVA"},
      {10301, "Info zum U-KOVA Programmiergerät"},
      {10401, "Wähle Standardverzeichnis"},
      {10402, "Standardverzeichnis"},
      {10403, "Das unten angegebene Verzeichnis gibt den voreingestellten Speicherort für die U-KOVA Konfigurationsdateien an."},
      {10501, "U-KOVA auslesen"},
      {10502, "Drücken Sie die U-KOVA Taste zum Auslesen der Funkkennung"},
      {10503, "Drücken Sie die U-KOVA Taste erneut, zum Auslesen der Konfiguration\n\nBitte achten Sie darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {10504, "Abbruch der Leseoperation durch den Anwender"},
      {10505, "Fehler beim Lesen vom U-KOVA"},
      {10506, "Auslesen abgeschlossen"},
      {10507, "Die auszuführende Tätigkeit erfordert eine Aktualisierung der OPU Firmware. Bitte kontaktieren Sie die Orvel GmbH"},
      {10508, "OPU Kommunikationsfehler (Get job)\nBitte kontaktieren Sie die Orvel GmbH"},
      {10601, "Schreiben zum U-KOVA"},
      {10602, "Drücken Sie die U-KOVA Taste erneut, zum Schreiben der Konfiguration\n\nBitte achten Sie darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {10603, "U-KOVA Schreibfehler, bitte wiederholen"},
      {10604, "Abbruch des Schreibvorgangs durch den Anwender"},
      {10605, "U-KOVA Konfiguration wurde aktualisiert."},
      {10621, "U-KOVA Funkkennung ändern"},
      {10622, "Anweisung zum Ändern der werkseingestellten Funkkennung:\n\n1. Die neue 4-stellige Kennnummer im unteren Feld eintragen\n2. Schaltfäche 'Ändern...' anklicken\n3. U-KOVA Taste drücken\n4. Zum Bestätigen Ja ancklicken\n5. U-KOVA Taste erneut drücken.\n6. Fertig"},
      {10623, "Neue Funkkennung"},
      {10624, "Ändern..."},
      {10625, "Änderung nicht notwendig!\nU-KOVA Funkkennung ist bereits %s."},
      {10626, "U-KOVA Kennnummer geändert"},
      {10627, "Fehler, bitte noch einmal versuchen"},
      {10628, "Drücken Sie die U-KOVA Taste erneut um die Kennnummer zu ändern\n\nBitte achten Sie darauf, dass die U-KOVA LED zuvor für mind. 3 Sekunden dunkel war."},
      {10629, "Das Feld 'Neue Kennnummer' muss 4 hex. Ziffern enthalten"},
      {10702, "&Suchen..."},
      {10801, "Die Konfigurationsdatei ist schreibgeschützt.\nDas Speichern der Datei ist nicht möglich."},
      {10802, "Öffnen"},
      {10804, "Das Auslesen der U-KOVA Kennummer wurde vom Anwender abgebrochen"},
      {10805, "OPU kann nicht angesprochen werden. Bitte stellen Sie sicher, dass das USB Kabel und das Netzteil an der OPU angeschlossen sind."},
      {10806, "Die ausgewählte Konfiguration kann nicht geladen werden."},
      {10807, "Es kann nur eine Konfigurationsdatei mittels ziehen und ablegen bearbeitet werden."},
      {10808, "Die abgelegte Datei ist keine U-KOVA Konfigurationsdatei."},
      {10809, "Konfigurationsdatei '%s' geöffnet"},
      {10811, "Datei Default.bin wurde nicht im Anwendungsverzeichnis gefunden"},
      {10812, "Die Konfiguration konnte nicht gespeichert werden. \nDer angegebene Name muss ein gültiger Windows Dateiname sein. Es dürfen keine Sonderzeichen verwendet werden wie: [^:*?<>|]"},
      {10813, "Die Konfigurationsdatei existiert bereits. Möchten Sie sie überschreiben?"},
      {10814, "Speichern unter"},
      {10815, "Konfigurationsdatei gespeichert"},
      {10816, "U-KOVA Konfigurationsdatei"},
      {10817, "Fehler bei der Datenkonvertierung!\nWert %s, Adresse %s.\nBitte kontaktieren Sie die Orvel GmbH"},
      {10818, "Der eingegebene Wert darf nicht '0000' oder 'FFFF' sein."},
      {10819, "Wähle neues Standardverzeichnis"},
      {10820, "Ungültiger Produkttyp, bitte kontaktieren Sie die Orvel GmbH"},
      {10821, "Standardkonfiguration geladen"},
      {10822, "Fehlerhafte Dateigröße!"},
      {10823, "Fehler beim Konvertieren der Daten(Adresse %s)\nBitte kontaktieren Sie die Orvel GmbH"},
      {10851, "Das Batterie-Testintervall liegt im Bereich von 0 bis 255"},
      {10852, "Das Funk-Testalarmintervall liegt im Bereich von 0 bis 255"},
      {10853, "Der Wert für fehlende Rückmeldung liegt im Bereich von 0 bis 255"},
      {10854, "Die Anzahl kurzer Übertragungen liegt im Bereich von 0 bis 15"},
      {10855, "Die Anzahl langer Übertragungen liegt im Bereich von 0 bis 15"},
      {10856, "Der Wert für die Sperrzeit von Anwenderalarmen liegt im Bereich von 0 bis 255"},
      {10857, "Der Wert für die Auslöseverzögerung liegt im Bereich von 0 bis 25"},
      {10858, "Das Abtastintervall liegt im Bereich von 1 bis 255"},
      {10859, "Der Lageänderungsgrenzwert liegt im Bereich von 0 bis 255"},
      {10860, "Der Inaktivitätszählerstand liegt im Bereich von 1 bis 65535"},
      {10861, "Der Wert der Zeitschranke für Inaktivität muss zwischen 1 und 999 liegen"},
      {10862, "Der Wert der Zeitschranke für Inaktivität muss zwischen 1 und 65535 liegen"},
      {10863, "Der Aktivitätalarmintervall liegt im Bereich von 0 bis 255"},
      {10864, "Bei den gewählten Einstellungen der Zeitschranke für Inaktivität (%s) und des Abtastintervalls (%s Minuten) erfolgt eine Alarmierung bereits nach %s identischen Lagemessungen. Empfohlen wird die Alarmierung nach 12 identischen Messungen.\n\r\n\rBitte verlängern Sie die Zeitschranke für Inaktivität oder verkürzen Sie das Abtastintervall um Fehlalarme möglichst zu vermeiden.\n\r\n\rDrücken Sie OK um fortzufahren oder Abbrechen um die Einstellungen zu ändern."},
      {10871, "Möchten Sie die Funkkennung von %s auf %s ändern?"},
      {10872, "Auf das Auslösen des U-KOVA wird gewartet"},
      {10873, "Zeitüberschreitung, bitte noch einmal versuchen"},
      {10891, "(U-KOVA Auslesen)"},
      {10892, "(Standard)"},
      {10900, "Keine Berechtigung für die Schnittstelle %s der OPU. Bitte nehmen Sie den Benutzer in die Gruppe '%s' auf und melden Sie sich neu an."},
      {10901, "Die Schnittstelle %s der OPU ist belegt: ein anderes Programm verwendet das Programmiergerät. Bitte beenden Sie das andere Programm."},
      {10902, "Die Schnittstelle %s der OPU kann nicht geöffnet werden."},
      {11100, "&Zuletzt geöffnet"},
      {11101, "Die Datei '%s' gibt es nicht mehr; sie wurde aus der Liste der zuletzt geöffneten Dateien entfernt."},
      {11102, "Die Liste der zuletzt geöffneten Dateien konnte nicht gespeichert werden (%s)."},
      {11110, "&Drucken..."},
      {11111, "&Als PDF speichern..."},
      {11112, "U-KOVA Konfigurationsblatt"},
      {11113, "Quelle"},
      {11114, "Standardkonfiguration"},
      {11115, "Datei '%s'"},
      {11116, "Vom U-KOVA ausgelesen am %s"},
      {11117, "Erstellt am"},
      {11118, "Erstellt mit"},
      {11119, "Ja"},
      {11120, "Nein"},
      {11121, "PDF-Dokument"},
      {11122, "Als PDF speichern"},
      {11123, "Konfigurationsblatt '%s' gespeichert"},
      {11124, "Das Konfigurationsblatt konnte nicht gespeichert werden:\n%s"},
      {11125, "Das Konfigurationsblatt wurde an den Drucker übergeben"},
      {11126, "Das Konfigurationsblatt konnte nicht gedruckt werden."},
      {11127, "Die Datei existiert bereits. Möchten Sie sie überschreiben?"},
      {11128, "%s, Version %s"},
      {11200, "Einstellungsdatei '%s' nicht lesbar, es gelten die Standardeinstellungen"},
      {11300, "Aufruf: ukova-programmer [-SERVICE] [ORDNER] [DATEI] [--opu-port=PFAD] [--opu-trace=DATEI]\n\nLiest die Konfiguration eines U-KOVA-Senders über das Programmiergerät OPU aus, zeigt sie zum Ändern und schreibt sie zurück.\n\n  -SERVICE            Servicemodus: die Zeitschranke für Inaktivität als Zählerstand\n                      (Groß- und Kleinschreibung egal; zählt nur vor einem ORDNER)\n  ORDNER              Standardverzeichnis für Konfigurationsdateien, nur für diesen Start\n  DATEI               diese Konfigurationsdatei (*.ukova) nach dem Start öffnen\n  --opu-port=PFAD     diese serielle Schnittstelle für das OPU verwenden, statt es am\n                      USB-Namen zu suchen (auch: --opu-port PFAD)\n  --opu-trace=DATEI   jedes Byte zum und vom OPU mit Zeit an DATEI anhängen\n                      (für den Support; auch: --opu-trace DATEI)\n  --help              diese Hilfe zeigen\n  --version           die Programmversion zeigen\n"},
      {11301, "ukova-programmer: unbekannte Option „%s“\nDie Optionen zeigt: ukova-programmer --help\n"},
      {11302, "ukova-programmer: zur Option „%s“ fehlt der Wert\nDie Optionen zeigt: ukova-programmer --help\n"},
      {19999, "\\ORVEL\\U-KOVA Programmer (DE)\\"},
  };
  // clang-format on
  return table;
}

}  // namespace

QString Text(int number) {
  const auto& table = textTable();
  const auto entry = table.find(number);
  return entry == table.end() ? QString() : QString::fromUtf8(entry->second);
}

QString FormatText(int number, const QStringList& arguments) {
  const QString pattern = Text(number);
  QString result;
  qsizetype argument = 0;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    if (pattern.at(i) == u'%' && i + 1 < pattern.size() && pattern.at(i + 1) == u's') {
      result += argument < arguments.size() ? arguments.at(argument) : QString();
      ++argument;
      ++i;
    } else {
      result += pattern.at(i);
    }
  }
  return result;
}
