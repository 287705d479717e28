#include "files/SafetyNet.h"

#include "files/Backups.h"
#include "files/FileLinks.h"
#include "files/ProgrammingRecord.h"
#include "files/SiteMemory.h"
#include "image/Texts.h"

#include <QDir>

QStringList KeepOperation(const QString& dataFolder, const OperationOutcome& outcome) {
  QStringList problems;
  RecordEntry entry{RecordTime(outcome.finishedAt),
                    RecordOperationName(outcome.kind),
                    outcome.codeBefore,
                    outcome.codeAfter,
                    outcome.resultNumber == 0 ? ResultOk : QString::number(outcome.resultNumber),
                    outcome.resultText,
                    QString(),
                    outcome.image ? Sha256Hex(*outcome.image) : QString(),
                    outcome.series,
                    outcome.assignment,
                    outcome.technician,
                    outcome.site,
                    outcome.resident};
  if (const std::optional<BackupKind> kind = BackupKindOf(outcome)) {
    const BackupOutcome backup =
        WriteBackup(dataFolder, outcome.codeAfter, *kind, *outcome.image, outcome.finishedAt);
    // Written as the platform writes paths for people: with backslashes on Windows.
    entry.backup = QDir::toNativeSeparators(backup.relativePath);
    if (!backup.failedPath.isEmpty()) {
      problems << FormatText(backup.atLink ? Msg::BackupFolderIsLink : Msg::BackupNotSaved,
                             {QDir::toNativeSeparators(backup.failedPath)});
      // The line names no checksum of bytes that are on no disk, and says why.
      entry.sha256.clear();
      const QString missing = Text(Msg::RecordBackupMissing);
      entry.message = entry.message.isEmpty() ? missing : entry.message + u' ' + missing;
    }
  }
  const QString recordPath = dataFolder + RecordFileName;
  if (!AppendRecordEntry(recordPath, entry))
    problems << FormatText(IsLink(recordPath) ? Msg::RecordIsLink : Msg::RecordNotWritten,
                           {QDir::toNativeSeparators(recordPath)});
  return problems;
}

OperationOutcome StampRecipient(const QString& dataFolder, const OperationOutcome& outcome,
                                const std::optional<Assignment>& given,
                                const std::vector<Assignment>& openList) {
  OperationOutcome stamped = outcome;
  if (!stamped.site.isEmpty() || !stamped.resident.isEmpty()) return stamped;
  std::optional<Assignment> recipient = given;
  if (!recipient && outcome.series.isEmpty()) {
    for (const QString& code : {outcome.codeAfter, outcome.codeBefore}) {
      recipient = AssignmentFor(openList, code);
      if (recipient) break;
    }
    if (!recipient) recipient = RecalledFor(dataFolder, outcome);
  }
  if (recipient) {
    stamped.site = recipient->facility;
    stamped.resident = recipient->room;
  }
  return stamped;
}

QStringList KeepOutcome(const QString& dataFolder, const OperationOutcome& outcome) {
  QStringList problems = KeepOperation(dataFolder, outcome);
  if (const QString problem = RememberRecipientOf(dataFolder, outcome); !problem.isEmpty())
    problems << problem;
  return problems;
}
