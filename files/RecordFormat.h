#pragma once

#include <QString>
#include <QStringList>

// The words the programming record and the backups' names are written with. They belong to the
// files' format, not to the window: records already on disk, the spreadsheets built on them and
// the record's checksum chain (which covers every column) hold these exact bytes, and a backup is
// found again by its name. A display text may change; these may not, or every record and backup
// written before stops being read as it was.

inline const QString RecordFileName = QStringLiteral("Protokoll.csv");

// The head line's columns, in file order. A record begun before the later columns came has only
// the first of them.
inline const QStringList RecordHeads = {QStringLiteral("Zeit"),
                                        QStringLiteral("Vorgang"),
                                        QStringLiteral("Funkkennung vorher"),
                                        QStringLiteral("Funkkennung nachher"),
                                        QStringLiteral("Ergebnis"),
                                        QStringLiteral("Meldung"),
                                        QStringLiteral("Sicherung"),
                                        QStringLiteral("SHA-256"),
                                        QStringLiteral("Serie"),
                                        QStringLiteral("Zuordnung"),
                                        QStringLiteral("Techniker"),
                                        QStringLiteral("Einrichtung"),
                                        QStringLiteral("Raum/Bewohner")};
// The head of the chain column, last on the head line of a record begun with the chain.
inline const QString RecordChainHead = QStringLiteral("Prüfkette");

// The result column of an operation that succeeded; otherwise it holds the message's number.
inline const QString ResultOk = QStringLiteral("OK");

// The operation column. The assignment list and the series find earlier operations by these.
inline const QString RecordOperationRead = QStringLiteral("Lesen");
inline const QString RecordOperationWrite = QStringLiteral("Schreiben");
inline const QString RecordOperationChangeCode = QStringLiteral("Kennnummer ändern");
inline const QString RecordOperationVerify = QStringLiteral("Prüfen");

// The backups: "Sicherungen/<code>/<date>_<time>_Lesen.ukova" below the data folder.
inline const QString BackupsFolderName = QStringLiteral("Sicherungen");
inline const QString BackupUnknownCodeFolder = QStringLiteral("unbekannt");
inline const QString BackupNameRead = QStringLiteral("Lesen");
inline const QString BackupNameWrite = QStringLiteral("Schreiben");
inline const QString BackupExtension = QStringLiteral(".ukova");
