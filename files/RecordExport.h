#pragma once

#include "files/ProgrammingRecord.h"
#include "files/SeriesSummary.h"

#include <QString>

#include <vector>

// The entries of the record a filter chose, for the care provider: as a CSV file in the record's
// own format, or as a PDF report.

// The filter in words for the report: "Funkkennung 1A2B, vom 01.12.2026"; every entry when empty.
[[nodiscard]] QString RecordFilterText(const RecordFilter& filter);

// The report: the selection, when and with which program it was made, the technicians, the
// chain's state, then each operation (oldest first) with its result, its configuration's
// checksum, its technician and for whom it was.
[[nodiscard]] SeriesSummaryContent RecordReportContent(const std::vector<RecordEntry>& oldestFirst,
                                                       const RecordFilter& filter,
                                                       const QString& chainState);

// Writes the report as an A4 PDF in landscape, wide enough for every column; false with the reason
// in error.
[[nodiscard]] bool WriteRecordReportPdf(const QString& path, const SeriesSummaryContent& report,
                                        QString& error);

// Writes the entries as the record holds them (BOM, head line, ';', CR LF, spreadsheet guards),
// without the chain, which a part of the record cannot keep. The file is replaced as a whole;
// false with the reason in error.
[[nodiscard]] bool WriteRecordCsv(const QString& path, const std::vector<RecordEntry>& oldestFirst,
                                  QString& error);
