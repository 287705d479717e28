#include "files/RecordExport.h"

#include "files/ImageFiles.h"
#include "files/ProgramVersion.h"
#include "files/RecordShown.h"
#include "image/Texts.h"

#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>

namespace {

// The report's columns as shares of the width: time, operation, code, result, checksum,
// technician, site and resident.
const std::vector<double> ReportColumnShares = {0.09, 0.08, 0.11, 0.21, 0.26, 0.11, 0.14};

QString dayText(const QDate& day) {
  return day.toString(QStringLiteral("dd.MM.yyyy"));
}

QString codeText(const RecordEntry& entry) {
  if (entry.codeBefore.isEmpty() || entry.codeBefore == entry.codeAfter) return entry.codeAfter;
  if (entry.codeAfter.isEmpty()) return entry.codeBefore;
  return entry.codeBefore + QStringLiteral(" \u2192 ") + entry.codeAfter;
}

QString resultText(const RecordEntry& entry) {
  return entry.message.isEmpty() ? entry.result : entry.result + u' ' + entry.message;
}

// A checksum in groups of eight digits, so that the column can wrap it.
QString checksumText(const QString& checksum) {
  QStringList groups;
  for (qsizetype at = 0; at < checksum.size(); at += 8) groups << checksum.mid(at, 8);
  return groups.join(u' ');
}

QString forWhom(const RecordEntry& entry) {
  QStringList parts{entry.site, entry.resident};
  parts.removeAll(QString());
  return parts.join(QStringLiteral(" / "));
}

// The technicians of the entries, each once, in the order they first appear.
QString technicians(const std::vector<RecordEntry>& entries) {
  QStringList names;
  for (const RecordEntry& entry : entries) {
    if (!entry.technician.isEmpty() && !names.contains(entry.technician)) names << entry.technician;
  }
  return names.isEmpty() ? Text(Msg::RecordReportNoTechnician) : names.join(QStringLiteral(", "));
}

}  // namespace

QString RecordFilterText(const RecordFilter& filter) {
  QStringList parts;
  if (!filter.radioCode.isEmpty()) parts << FormatText(Msg::RecordReportCode, {filter.radioCode});
  if (!filter.series.isEmpty()) parts << FormatText(Msg::RecordReportSeries, {filter.series});
  if (!filter.site.isEmpty()) parts << FormatText(Msg::RecordReportSite, {filter.site});
  if (!filter.from.isNull()) parts << FormatText(Msg::RecordReportFrom, {dayText(filter.from)});
  if (!filter.to.isNull()) parts << FormatText(Msg::RecordReportTo, {dayText(filter.to)});
  return parts.isEmpty() ? Text(Msg::RecordReportEverything) : parts.join(QStringLiteral(", "));
}

SeriesSummaryContent RecordReportContent(const std::vector<RecordEntry>& oldestFirst,
                                         const RecordFilter& filter, const QString& chainState) {
  SeriesSummaryContent report;
  report.title = Text(Msg::RecordReportTitle);
  report.lines = {FormatText(Msg::RecordReportSelection, {RecordFilterText(filter)}),
                  FormatText(Msg::RecordReportMade,
                             {RecordTimeShown(RecordTime(QDateTime::currentDateTime())),
                              FormatText(Msg::ProgramAndVersion,
                                         {Text(Msg::ProgramTitle), GetProgramVersion()})}),
                  FormatText(Msg::RecordReportTechnicians, {technicians(oldestFirst)}), chainState,
                  RecordEntryCountText(std::ssize(oldestFirst))};
  for (const Msg::Id head :
       {Msg::RecordColumnTime, Msg::RecordColumnOperation, Msg::RecordColumnCodeAfter,
        Msg::RecordColumnResult, Msg::RecordColumnChecksum, Msg::RecordColumnTechnician,
        Msg::RecordColumnSite})
    report.heads << Text(head);
  report.columnShares = ReportColumnShares;
  for (const RecordEntry& entry : oldestFirst) {
    report.rows.push_back({RecordTimeShown(entry.time), entry.operation, codeText(entry),
                           resultText(entry), checksumText(entry.sha256), entry.technician,
                           forWhom(entry)});
  }
  return report;
}

bool WriteRecordReportPdf(const QString& path, const SeriesSummaryContent& report, QString& error) {
  return WritePdfDocument(
      path, report.title, error,
      [&](QPainter& painter, QPdfWriter& writer) {
        PaintSeriesSummary(painter, writer, report, [&writer] { writer.newPage(); });
      },
      QPageLayout::Landscape);
}

bool WriteRecordCsv(const QString& path, const std::vector<RecordEntry>& oldestFirst,
                    QString& error) {
  if (IsWriteProtected(path)) {
    error = Text(Msg::FileWriteProtected);
    return false;
  }
  if (!ReplaceFile(path, RecordCsvBytes(oldestFirst))) {
    error = Text(Msg::FileNotWritten);
    return false;
  }
  return true;
}
