#include "files/ProgramVersion.h"

#include "support/QtPrinters.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ProgramVersionTest, VersionComesFromTheRecordAndIsEmptyWithoutOne) {
  EXPECT_EQ(GetProgramVersion(), QStringLiteral("1.2.1.123"));
  EXPECT_EQ(ProgramVersionOf(std::nullopt), QString());
  EXPECT_EQ(ProgramVersionOf(
                ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"), std::nullopt, QString()}),
            QString());
}

TEST(ProgramVersionTest, BuildVersionIsTheProductVersionElseTheFileVersion) {
  struct Row {
    std::optional<ProgramVersionInfo> record;
    QString build;
  };
  const QString name = QStringLiteral("U-KOVA Programmer");
  const std::vector<Row> rows = {
      {std::nullopt, QString()},
      {ProgramVersionInfo{name, std::nullopt, QString(), std::nullopt}, QString()},
      // A program built before builds named their commits.
      {ProgramVersionInfo{name, QStringLiteral("1.2.1.123"), QString(), std::nullopt},
       QStringLiteral("1.2.1.123")},
      {ProgramVersionInfo{name, QStringLiteral("1.2.1.123"), QString(),
                          QStringLiteral("1.2.1.123+git197")},
       QStringLiteral("1.2.1.123+git197")},
      {ProgramVersionInfo{name, std::nullopt, std::nullopt, QStringLiteral("1.2.1.123+git5")},
       QStringLiteral("1.2.1.123+git5")},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.build.toStdString());
    EXPECT_EQ(BuildVersionOf(row.record), row.build);
  }
}

// The program's own build: its release and, built from git, the count of commits; the release
// keeps the four numbers of FileVersion, which settings and older programs compare.
TEST(ProgramVersionTest, ThisBuildNamesItsReleaseAndItsCommits) {
  const QString build = GetBuildVersion();
  EXPECT_TRUE(build.startsWith(GetProgramVersion())) << build.toStdString();
  EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(^\d+\.\d+\.\d+\.\d+(\+git\d+)?$)"))
                  .match(build)
                  .hasMatch())
      << build.toStdString();
}

}  // namespace
