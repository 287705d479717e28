#include "app/copy/HandedStart.h"

#include "app/CommandLine.h"
#include "link/opu/OpuLinkOptions.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_0;

bool isServiceSwitch(const QString& argument) {
  return argument.compare(QStringLiteral("-SERVICE"), Qt::CaseInsensitive) == 0;
}

}  // namespace

QByteArray EncodeHandedStart(const HandedStart& start) {
  QByteArray bytes;
  QDataStream stream(&bytes, QIODevice::WriteOnly);
  stream.setVersion(streamVersion);
  stream << start.workingFolder << start.arguments;
  return bytes;
}

HandedStart DecodeHandedStart(const QByteArray& bytes) {
  QDataStream stream(bytes);
  stream.setVersion(streamVersion);
  HandedStart start;
  stream >> start.workingFolder >> start.arguments;
  if (stream.status() != QDataStream::Ok) return {};
  return start;
}

HandedStartPlan PlanHandedStart(const HandedStart& start) {
  HandedStartPlan plan;
  const QStringList& arguments = start.arguments;
  bool optionsEnded = false;
  for (qsizetype index = 0; index < arguments.size(); ++index) {
    const QString& argument = arguments.at(index);
    if (!optionsEnded) {
      if (argument == u"--") {
        optionsEnded = true;
        continue;
      }
      if (const qsizetype link = OpuLinkOptionAt(arguments, index).length; link > 0) {
        plan.settingsNotTaken << arguments.mid(index, link).join(u' ');
        index += link - 1;
        continue;
      }
      if (const qsizetype qt = QtOptionLength(arguments, index); qt > 0) {
        index += qt - 1;
        continue;
      }
      if (isServiceSwitch(argument)) {
        plan.settingsNotTaken << argument;
        continue;
      }
    }
    // The later start's relative names are relative to its own working folder.
    const QFileInfo named(QDir(start.workingFolder), argument);
    if (named.isDir()) {
      plan.settingsNotTaken << named.absoluteFilePath();
    } else if (plan.file.isEmpty() && (named.exists() || named.isSymLink())) {
      plan.file = named.absoluteFilePath();
    }
  }
  return plan;
}
