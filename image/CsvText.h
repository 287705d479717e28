#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// Text in the form German spreadsheets open and save: ";" between columns, a column quoted when
// it holds a separator, a quote or a line end, a quote inside doubled. The programming record and
// the assignment lists are kept so.

// The columns of each line of `text`. A quoted column may hold separators, quotes and line ends;
// CR, LF and CR LF end a line, and an empty line is left out.
[[nodiscard]] std::vector<QStringList> SplitCsvLines(QStringView text);

// One line of `columns`, each quoted where it must be (also when it starts or ends with a space,
// which a spreadsheet would drop), without its line end.
[[nodiscard]] QString CsvLine(const QStringList& columns);
