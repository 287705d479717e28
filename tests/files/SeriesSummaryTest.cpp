// The series summary as a PDF: the configuration sheet of the series' configuration on the first
// page, the table of pendants after it, read back with the PDF tools.

#include "files/SeriesSummary.h"

#include "image/Texts.h"
#include "support/SampleImage.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The text of one page of the PDF.
QString PageText(const QString& path, int page) {
  QProcess process;
  const QString number = QString::number(page);
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-f"), number, QStringLiteral("-l"),
                 number, path, QStringLiteral("-")});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(SeriesSummaryTest, TheSheetIsTheFirstPageAndThePendantsFollow) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("serie.pdf"));
  const SheetContent sheet = SheetOfImage(SampleImageBytes(), CodecContext{}, Text(Msg::SheetTitle),
                                          {{QStringLiteral("Serie"), QStringLiteral("S-2026-12")}});
  SeriesSummaryContent summary{QStringLiteral("Serienzusammenfassung"),
                               {QStringLiteral("2 U-KOVA programmiert")},
                               {"Nr.", "Funkkennung", "Zuordnung", "Ergebnis", "Befund"},
                               {{"1", "A001", "Haus Linde, Zi 1", "geprüft", ""},
                                {"2", "A002", "Haus Linde, Zi 2", "geprüft", ""}}};
  QString error;
  ASSERT_TRUE(WriteSeriesSummaryPdf(path, sheet, summary, error)) << error.toStdString();

  const QString first = PageText(path, 1);
  EXPECT_TRUE(first.contains(Text(Msg::SheetTitle)));
  EXPECT_TRUE(first.contains(QStringLiteral("S-2026-12")));
  EXPECT_TRUE(first.contains(Text(Msg::CaptionRadioParameters)));
  const QString second = PageText(path, 2);
  EXPECT_TRUE(second.contains(summary.title));
  for (const QStringList& row : summary.rows)
    EXPECT_TRUE(second.contains(row[2])) << row[1].toStdString();
}

}  // namespace
