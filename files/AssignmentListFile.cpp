#include "files/AssignmentListFile.h"

#include "files/DataFolders.h"
#include "files/ImageFiles.h"
#include "files/ProgrammingRecord.h"

#include <QFile>

namespace {

const QByteArray Bom = QByteArrayLiteral("\xEF\xBB\xBF");
// A care home's list holds hundreds of lines; a file far larger is not one.
constexpr qint64 LargestList = qint64{4} * 1024 * 1024;

}  // namespace

std::optional<std::vector<Assignment>> ReadAssignmentListFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() > LargestList) return std::nullopt;
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  if (bytes.startsWith(Bom)) bytes.remove(0, Bom.size());
  return ParseAssignmentList(QString::fromUtf8(bytes));
}

bool WriteAssignmentListFile(const QString& path, const std::vector<Assignment>& entries) {
  return ReplaceFile(path, Bom + FormatAssignmentList(entries).toUtf8());
}

QSet<QString> CodesGivenInRecord(const QString& dataFolder) {
  QSet<QString> codes;
  const std::optional<std::vector<RecordEntry>> entries =
      ReadRecordFile(DataFilePath(dataFolder, RecordFileName));
  if (!entries) return codes;
  // A code the record saw written to a pendant belongs to that pendant.
  const QString write = RecordOperationName(OperationKind::Write);
  const QString change = RecordOperationName(OperationKind::ChangeCode);
  for (const RecordEntry& entry : *entries) {
    if (entry.result == ResultOk && (entry.operation == write || entry.operation == change) &&
        entry.codeAfter != entry.codeBefore)
      codes.insert(entry.codeAfter);
  }
  return codes;
}
