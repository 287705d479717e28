#include "files/SiteMemory.h"

#include "files/AssignmentListFile.h"
#include "files/SafetyNet.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SiteMemoryTest, APendantIsFoundOnAListByItsCodeHoweverTheListWritesIt) {
  const std::vector<Assignment> list = {{" a00b", "Haus Linde", "Zi 1", ""},
                                        {"7001", "Haus Eiche", "Zi 2", ""},
                                        {"0000", "Haus Buche", "Zi 3", ""}};
  const struct {
    QString code;
    QString facility;  // empty: not found
  } rows[] = {{"A00B", "Haus Linde"}, {"7001", "Haus Eiche"}, {"7002", ""}, {"0000", ""}, {"", ""},
              {"a00b", "Haus Linde"}};
  for (const auto& row : rows) {
    const std::optional<Assignment> found = AssignmentFor(list, row.code);
    EXPECT_EQ(found ? found->facility : QString(), row.facility) << row.code.toStdString();
  }
}

TEST(SiteMemoryTest, EachCodeKeepsItsLastSiteAndAMovedCodeTakesItAlong) {
  QTemporaryDir root;
  const QString data = root.path() + u'/';
  const auto recalled = [&](const QString& code) {
    const std::optional<Assignment> entry = RecalledAssignment(data, code);
    return entry ? entry->facility + u'/' + entry->room : QString();
  };
  const struct {
    Assignment remembered;
    QString formerCode;
    QStringList lines;  // the file's lines afterwards: code/site/room
  } steps[] = {
      {{"7001", "Haus Linde", "Zi 12", ""}, "", {"7001/Haus Linde/Zi 12"}},
      {{"a00b", "Haus Eiche", "", ""}, "", {"7001/Haus Linde/Zi 12", "A00B/Haus Eiche/"}},
      {{"7001", "Haus Linde", "Zi 14", ""}, "", {"7001/Haus Linde/Zi 14", "A00B/Haus Eiche/"}},
      // A code change: the old code names no pendant any more.
      {{"7003", "Haus Linde", "Zi 14", ""}, "7001", {"A00B/Haus Eiche/", "7003/Haus Linde/Zi 14"}},
      {{"FFFF", "Haus Buche", "", ""}, "", {"A00B/Haus Eiche/", "7003/Haus Linde/Zi 14"}},
  };
  for (const auto& step : steps) {
    ASSERT_TRUE(RememberAssignment(data, step.remembered, step.formerCode));
    QStringList lines;
    const auto kept = ReadAssignmentListFile(data + SiteMemoryFileName);
    ASSERT_TRUE(kept);
    for (const Assignment& line : *kept)
      lines << line.code + u'/' + line.facility + u'/' + line.room;
    EXPECT_EQ(lines, step.lines) << step.remembered.code.toStdString();
  }
  EXPECT_EQ(recalled("7003"), "Haus Linde/Zi 14");
  EXPECT_EQ(recalled("a00b"), "Haus Eiche/");
  EXPECT_EQ(recalled("7001"), "");

  // A file that cannot be read is never replaced by a shorter one.
  QFile::remove(data + SiteMemoryFileName);
  ASSERT_TRUE(QDir().mkpath(data + SiteMemoryFileName));
  EXPECT_FALSE(RememberAssignment(data, {"7001", "Haus Linde", "", ""}));
  EXPECT_EQ(recalled("7001"), "");
}

}  // namespace

namespace {

// For whom a line is kept, the same in the window and on the command line: what was given for
// the operation, else the open list's line, else what the code was last kept for; a series' unit
// never takes a former holder's resident of its code.
TEST(SiteMemoryTest, ALineNamesWhatWasGivenElseTheListElseTheCodesLastRecipient) {
  QTemporaryDir root;
  const QString data = root.path() + u'/';
  ASSERT_TRUE(RememberAssignment(data, {"7001", "Haus Linde", "Zi 12", ""}, QString()));
  const std::vector<Assignment> list = {{"7002", "Haus Eiche", "Zi 3", ""}};
  const Assignment given{{}, "Haus Buche", "Zi 7", {}};
  const struct {
    const char* name;
    QString codeAfter;
    QString series;
    QString ownSite;  // what the line names already (a series' unit from its list line)
    bool withGiven;
    QString site;  // what the line names afterwards
  } rows[] = {
      {"given wins over the memory", "7001", "", "", true, "Haus Buche"},
      {"the memory", "7001", "", "", false, "Haus Linde"},
      {"the open list", "7002", "", "", false, "Haus Eiche"},
      {"nothing known", "7003", "", "", false, ""},
      {"a unit's own line", "7002", "S1", "Haus Ulme", true, "Haus Ulme"},
      {"a unit takes what was given", "7001", "S1", "", true, "Haus Buche"},
      {"a unit not from the memory", "7001", "S1", "", false, ""},
  };
  for (const auto& row : rows) {
    OperationOutcome outcome;
    outcome.codeAfter = row.codeAfter;
    outcome.series = row.series;
    outcome.site = row.ownSite;
    const OperationOutcome stamped =
        StampRecipient(data, outcome, row.withGiven ? std::optional(given) : std::nullopt, list);
    EXPECT_EQ(stamped.site, row.site) << row.name;
  }
}

}  // namespace
