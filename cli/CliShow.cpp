#include "cli/CliShow.h"

#include "files/ConfigurationSheet.h"
#include "files/ImageFiles.h"
#include "image/ImageComparison.h"
#include "image/Texts.h"

#include <QJsonArray>
#include <QLocale>

#include <map>

namespace {

// Each field as the window would show the image.
QJsonArray RowsAsJson(const std::vector<SheetRow>& rows) {
  QJsonArray array;
  for (const SheetRow& row : rows)
    array.append(QJsonObject{{QStringLiteral("caption"), row.caption},
                             {QStringLiteral("value"), row.value}});
  return array;
}

QString RowLine(const SheetRow& row) {
  return QStringLiteral("  %1: %2").arg(row.caption, row.value);
}

}  // namespace

CodecContext CliCodecContext(const CliCommand& command) {
  return CodecContext{command.serviceMode ? LimitAsCount : LimitAsTime, QLocale()};
}

OpenedConfiguration OpenConfiguration(const CliCommand& command, const QString& operation) {
  OpenedConfiguration opened;
  const auto refuse = [&](const QString& text, int number) {
    CliReport report{operation, {}, {text}, {}, ExitFailed};
    report.json = {{QStringLiteral("file"), command.file},
                   {QStringLiteral("result"), number},
                   {QStringLiteral("text"), text}};
    opened.refusal = report;
  };
  ImageBytes bytes{};
  if (const std::optional<Msg::Id> refusal = ReadConfigurationFile(command.file, bytes)) {
    refuse(Text(*refusal), *refusal);
    return opened;
  }
  VembaData::LoadImageBytes(opened.image, bytes, OriginLoad);
  const int status = ShowImageValues(opened.image, OriginLoad, CliCodecContext(command)).status;
  if (status == ImageWrongProduct) {
    refuse(Text(Msg::InvalidProductType), Msg::InvalidProductType);
  } else if (status != ImageOk) {
    refuse(FormatText(Msg::DataConversionFailed,
                      {QString::number(opened.image[status].value), QString::number(status)}),
           Msg::DataConversionFailed);
  }
  return opened;
}

CliReport RunShow(const CliCommand& command) {
  const OpenedConfiguration opened = OpenConfiguration(command, QStringLiteral("show"));
  if (opened.refusal) return *opened.refusal;
  const std::map<Field, QString> shown =
      ShownFieldTexts(opened.image, OriginLoad, CliCodecContext(command), &Text);
  const auto valueOf = [&](Field field) {
    const auto value = shown.find(field);
    return value == shown.end() ? QString() : value->second;
  };
  const SheetContent sheet = BuildConfigurationSheet(
      valueOf(Field::edtRadioCodeOld), SheetSourceText(SourceFile, command.file, {}),
      command.serviceMode ? LimitAsCount : LimitAsTime, valueOf);

  CliReport report{QStringLiteral("show"), {sheet.title}, {}, {}, ExitSuccess};
  QJsonArray groups;
  for (const SheetRow& row : sheet.header) report.lines << RowLine(row);
  for (const SheetGroup& group : sheet.groups) {
    report.lines << QString() << group.caption;
    for (const SheetRow& row : group.rows) report.lines << RowLine(row);
    groups.append(QJsonObject{{QStringLiteral("caption"), group.caption},
                              {QStringLiteral("rows"), RowsAsJson(group.rows)}});
  }
  report.json = {{QStringLiteral("file"), command.file},
                 {QStringLiteral("result"), 0},
                 {QStringLiteral("header"), RowsAsJson(sheet.header)},
                 {QStringLiteral("groups"), groups}};
  return report;
}
