#include "cli/CliOutput.h"

#include <QJsonDocument>

#include <cstdio>

namespace {

void Write(std::FILE* stream, const QString& text) {
  const QByteArray bytes = (text.endsWith(u'\n') ? text : text + u'\n').toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
}

}  // namespace

void PrintResult(const QString& text) {
  Write(stdout, text);
}

void PrintNotice(const QString& text) {
  Write(stderr, text);
}

int DeliverReport(const CliReport& report, bool asJson) {
  for (const QString& complaint : report.complaints) PrintNotice(complaint);
  if (asJson) {
    QJsonObject object = report.json;
    object.insert(QStringLiteral("operation"), report.operation);
    object.insert(QStringLiteral("exitCode"), report.exitCode);
    PrintResult(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
  } else if (!report.lines.isEmpty()) {
    PrintResult(report.lines.join(u'\n'));
  }
  return report.exitCode;
}
