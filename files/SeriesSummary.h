#pragma once

#include "files/ConfigurationSheet.h"
#include "image/ImageCodec.h"
#include "image/VembaData.h"

#include <QString>
#include <QStringList>

#include <vector>

class QPainter;
class QPagedPaintDevice;

// The summary of a series as printed and saved: its title and lines (series, time, counts),
// then a table with a row per pendant.
struct SeriesSummaryContent {
  QString title;
  QStringList lines;
  QStringList heads;
  std::vector<QStringList> rows;
  // The table's columns as shares of the width: number, code, assignment, result, finding.
  // The result's column holds "fehlgeschlagen" on one line.
  std::vector<double> columnShares = {0.05, 0.08, 0.29, 0.19, 0.39};
};

// The configuration sheet of 256 bytes that no window shows (a file or a backup chosen for a
// series): every group and field as the codec shows them, after the given header lines.
[[nodiscard]] SheetContent SheetOfImage(const ImageBytes& configuration,
                                        const CodecContext& context, const QString& title,
                                        const std::vector<SheetRow>& header);

// Paints the summary from the top of the current page; `newPage` starts another page when the
// table runs on.
void PaintSeriesSummary(QPainter& painter, const QPagedPaintDevice& device,
                        const SeriesSummaryContent& content, const std::function<void()>& newPage);

// The summary as a PDF: the configuration sheet as its first page, the summary after it.
[[nodiscard]] bool WriteSeriesSummaryPdf(const QString& path, const SheetContent& sheet,
                                         const SeriesSummaryContent& summary, QString& error);
