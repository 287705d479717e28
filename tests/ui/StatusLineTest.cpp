#include "ui/StatusLine.h"

#include <gtest/gtest.h>

// A text wider than the line is cut with "…" and kept whole in the tooltip; one that fits is
// shown as it is. Line breaks become blanks: the line has one row.
TEST(StatusLine, ShowsWhatFitsAndKeepsTheWholeTextReachable) {
  struct Row {
    QString text;
    int width;
    bool cut;
  };
  const QString cause = QString::fromUtf8(
      "Die Schnittstelle /dev/ttyUSB0 der OPU ist belegt: ein anderes Programm verwendet das "
      "Programmiergerät. Bitte beenden Sie das andere Programm. Geöffnet haben ihn: minicom "
      "(812).");
  const Row rows[] = {{"Auslesen abgeschlossen", 600, false},
                      {cause, 600, true},
                      {cause, 4000, false},
                      {"Erste Zeile\nzweite Zeile", 600, false}};
  for (const Row& row : rows) {
    StatusLine line;
    line.resize(row.width, 19);
    line.SetFullText(row.text);
    EXPECT_EQ(line.FullText(), row.text);
    EXPECT_EQ(line.toolTip(), row.text);
    EXPECT_EQ(line.text().endsWith(QChar(0x2026)), row.cut) << line.text().toStdString();
    EXPECT_LE(line.fontMetrics().horizontalAdvance(line.text()), line.contentsRect().width());
    if (!row.cut) {
      EXPECT_EQ(line.text(), QString(row.text).replace('\n', ' '));
    }
  }
}
