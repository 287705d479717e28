#include "files/RecordShown.h"

#include "files/Backups.h"
#include "image/Texts.h"

#include <QDir>

namespace {

// The breaking line as the warning names it: its number where the lines were read from the file's
// start, and its entry.
QString breakingLine(const RecordChainState& state, bool numbersKnown) {
  const RecordEntry entry = RecordEntryOfLine(state.columns);
  const QString what =
      QStringList{RecordTimeShown(entry.time), entry.operation, entry.codeAfter}.join(
          QStringLiteral(", "));
  return numbersKnown ? FormatText(Msg::RecordChainLine, {QString::number(state.line), what})
                      : FormatText(Msg::RecordChainLineOfEntry, {what});
}

QString breakText(const RecordChainState& state, bool numbersKnown) {
  using enum RecordChainState::Break;
  const QString line = breakingLine(state, numbersKnown);
  switch (state.kind) {
    case Edited:
      return FormatText(Msg::RecordChainEdited, {line});
    case Deleted:
      return FormatText(Msg::RecordChainDeleted, {line});
    case Inserted:
      return FormatText(Msg::RecordChainInserted, {line});
    case NoChecksum:
      return FormatText(Msg::RecordChainNoChecksum, {line});
    case None:
      break;
  }
  return {};
}

QString cutShort(const QString& text) {
  if (text.size() <= LongestRecordCellShown) return text;
  return text.left(LongestRecordCellShown - 1) + u'\u2026';
}

}  // namespace

QStringList RecordColumnHeadsShown() {
  QStringList heads;
  for (Msg::Id head :
       {Msg::RecordColumnTime, Msg::RecordColumnOperation, Msg::RecordColumnCodeBefore,
        Msg::RecordColumnCodeAfter, Msg::RecordColumnResult, Msg::RecordColumnMessage,
        Msg::RecordColumnBackup, Msg::RecordColumnChecksum, Msg::RecordColumnSeries,
        Msg::RecordColumnAssignment, Msg::RecordColumnTechnician, Msg::RecordColumnSite,
        Msg::RecordColumnResident})
    heads << Text(head);
  return heads;
}

QString RecordCellShown(const RecordEntry& entry, int column) {
  const QString text = RecordColumns(entry).value(column);
  if (column == RecordTimeColumn) return RecordTimeShown(text);
  if (column == RecordResultColumn && !entry.message.isEmpty())
    return cutShort(text + QStringLiteral(" – ") + entry.message);
  return cutShort(text);
}

QString RecordEntryCountText(qsizetype count) {
  return count == 1 ? Text(Msg::RecordOneEntry)
                    : FormatText(Msg::RecordEntryCount, {QString::number(count)});
}

QString RecordCountShown(qsizetype count, bool stillReading, bool leavesOlderLines) {
  QString shown = RecordEntryCountText(count);
  if (stillReading) {
    shown += u' ' + Text(Msg::RecordStillReading);
  } else if (leavesOlderLines) {
    shown += u' ' + Text(Msg::RecordOlderNotShown);
  }
  return shown;
}

RecordChainFinding RecordChainFindingOf(const RecordChainState& state, bool done,
                                        qint64 uncheckedBytes) {
  if (!done) return {Text(Msg::RecordChainChecking), {}};
  const bool numbersKnown = uncheckedBytes == 0;
  if (state.kind != RecordChainState::Break::None) {
    const QString what = breakText(state, numbersKnown);
    return {FormatText(Msg::RecordChainBrokenShort, {what}),
            FormatText(Msg::RecordChainBroken, {what})};
  }
  QStringList lines{FormatText(Msg::RecordChainIntact, {QString::number(state.checkedLines)})};
  if (state.linesBeforeChain > 0) {
    lines << FormatText(Msg::RecordChainBeforeChain, {QString::number(state.linesBeforeChain)});
  }
  if (!numbersKnown) {
    constexpr qint64 Megabyte = 1024 * 1024;
    lines << FormatText(Msg::RecordChainOlderUnchecked,
                        {QString::number((uncheckedBytes + Megabyte - 1) / Megabyte)});
  }
  return {lines.join(u' '), {}};
}

RecordBackupChoice RecordBackupToOpen(const QString& dataFolder, const QString& backup) {
  if (backup.isEmpty()) return {{}, Text(Msg::RecordNoBackup)};
  if (const QString link = LinkOnTheWay(
          dataFolder, QDir::cleanPath(dataFolder + QDir::fromNativeSeparators(backup)));
      !link.isEmpty()) {
    return {{}, FormatText(Msg::BackupIsLink, {backup, QDir::toNativeSeparators(link)})};
  }
  const QString path = BackupPathInFolder(dataFolder, backup);
  if (path.isEmpty()) {
    return {{},
            FormatText(Msg::RecordBackupOutsideFolder,
                       {backup, QDir::toNativeSeparators(dataFolder + BackupsFolderName)})};
  }
  return {path, {}};
}
