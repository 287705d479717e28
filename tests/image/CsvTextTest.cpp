#include "image/CsvText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CsvText, LinesSplitAsSpreadsheetsWriteThem) {
  const struct {
    QString text;
    std::vector<QStringList> lines;
  } cases[] = {
      {"a;b\r\nc", {{"a", "b"}, {"c"}}},
      {"a\rb\n\n", {{"a"}, {"b"}}},
      {"\"x;\"\"y\"\"\r\nz\";2\r\n", {{"x;\"y\"\r\nz", "2"}}},
      {"\n;\n", {{"", ""}}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCsvLines(c.text), c.lines) << c.text.toStdString();
  const QStringList columns = {"a;b", " c", "d\"e", ""};
  EXPECT_EQ(CsvLine(columns), "\"a;b\";\" c\";\"d\"\"e\";");
  EXPECT_EQ(SplitCsvLines(CsvLine(columns)).front(), columns);
}

}  // namespace
