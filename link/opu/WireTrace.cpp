#include "link/opu/WireTrace.h"

#include "link/opu/WireTraceFile.h"

#include <QDateTime>

#include <map>

namespace {

std::shared_ptr<WireTrace::File> sharedFile(const QString& path) {
  static std::map<QString, std::weak_ptr<WireTrace::File>> open;
  if (auto file = open[path].lock()) return file;
  auto file = std::make_shared<WireTrace::File>(path);
  open[path] = file;
  return file;
}

}  // namespace

WireTrace::WireTrace(const QString& path) : file_(path.isEmpty() ? nullptr : sharedFile(path)) {}

QString WireTrace::Problem() const {
  return file_ ? file_->problem : QString();
}

void WireTrace::Sent(const QByteArray& bytes) const {
  Append(QStringLiteral("sent     ") + Describe(bytes));
}

void WireTrace::Received(const QByteArray& bytes) const {
  Append(QStringLiteral("received ") + Describe(bytes));
}

void WireTrace::DeadlinePassed(int heldBytes) const {
  Append(QStringLiteral("deadline passed with %1 byte(s) held").arg(heldBytes));
}

void WireTrace::Note(const QString& event) const {
  Append(event);
}

QString WireTrace::Describe(const QByteArray& bytes) {
  QString printable;
  for (const char byte : bytes)
    printable += (byte >= 0x20 && byte < 0x7F) ? QChar::fromLatin1(byte) : QChar(u'.');
  return QString::fromLatin1(bytes.toHex(' ').toUpper()) + QStringLiteral("  ") + printable;
}

void WireTrace::Append(const QString& line) const {
  if (!IsEnabled()) return;
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  file_->Append((stamp + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8());
}
