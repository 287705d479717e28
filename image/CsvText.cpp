#include "image/CsvText.h"

namespace {

constexpr QChar Separator = u';';
constexpr QChar Quote = u'"';

QString QuotedColumn(const QString& column) {
  const bool needsQuotes = column.contains(Separator) || column.contains(Quote) ||
                           column.contains(u'\n') || column.contains(u'\r') ||
                           column.startsWith(u' ') || column.endsWith(u' ');
  if (!needsQuotes) return column;
  QString text = column;
  return Quote + text.replace(Quote, QStringLiteral("\"\"")) + Quote;
}

}  // namespace

std::vector<QStringList> SplitCsvLines(QStringView text) {
  std::vector<QStringList> lines;
  QStringList columns;
  QString column;
  bool inQuotes = false;
  bool lineHasContent = false;
  const auto endColumn = [&] {
    columns << column;
    column.clear();
  };
  const auto endLine = [&] {
    if (lineHasContent || !column.isEmpty()) {
      endColumn();
      lines.push_back(columns);
    }
    columns.clear();
    lineHasContent = false;
  };
  for (qsizetype at = 0; at < text.size(); ++at) {
    const QChar character = text.at(at);
    if (inQuotes) {
      if (character != Quote) {
        column += character;
      } else if (at + 1 < text.size() && text.at(at + 1) == Quote) {
        column += Quote;
        ++at;
      } else {
        inQuotes = false;
      }
      continue;
    }
    if (character == u'\n' || character == u'\r') {
      endLine();
      continue;
    }
    lineHasContent = true;
    if (character == Quote) {
      inQuotes = true;
    } else if (character == Separator) {
      endColumn();
    } else {
      column += character;
    }
  }
  endLine();
  return lines;
}

QString CsvLine(const QStringList& columns) {
  QStringList quoted;
  for (const QString& column : columns) quoted << QuotedColumn(column);
  return quoted.join(Separator);
}
