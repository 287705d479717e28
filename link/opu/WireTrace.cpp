#include "link/opu/WireTrace.h"

#include <QDateTime>
#include <QFile>

WireTrace::WireTrace(QString path) : path_(std::move(path)) {}

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
  QFile file(path_);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
  const QString stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  file.write((stamp + QLatin1Char(' ') + line + QLatin1Char('\n')).toUtf8());
}
