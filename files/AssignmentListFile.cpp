#include "files/AssignmentListFile.h"

#include "files/ImageFiles.h"

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
