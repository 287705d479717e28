#include "files/RecentFiles.h"

#include "files/IniFile.h"
#include "support/FileBytes.h"

#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using ::testing::ElementsAreArray;

class RecentFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    settings.SetPath(folder.filePath(QStringLiteral("Values.ini")));
  }
  QString at(const QString& name) const { return folder.filePath(name); }

  QTemporaryDir folder;
  VembaIni settings;
  RecentFiles recent{settings};
};

struct ListCase {
  const char* name;
  std::vector<const char*> added;  // in order
  std::vector<const char*> removed;
  std::vector<const char*> expected;  // newest first
};

TEST_F(RecentFilesTest, KeepsTheNewestEightOnceEach) {
  const std::vector<ListCase> cases = {
      {"newest first", {"a", "b", "c"}, {}, {"c", "b", "a"}},
      {"a file used again moves up", {"a", "b", "c", "a"}, {}, {"a", "c", "b"}},
      {"the oldest leaves past eight",
       {"1", "2", "3", "4", "5", "6", "7", "8", "9"},
       {},
       {"9", "8", "7", "6", "5", "4", "3", "2"}},
      {"removing closes the gap", {"a", "b", "c"}, {"b"}, {"c", "a"}},
      {"removing the last empties the list", {"a"}, {"a"}, {}},
      {"a line break cannot be kept", {"a", "b\nc"}, {}, {"a"}},
  };
  for (const ListCase& row : cases) {
    SCOPED_TRACE(row.name);
    QFile::remove(settings.Path());
    for (const char* name : row.added) recent.Add(at(QString::fromUtf8(name)));
    for (const char* name : row.removed) recent.Remove(at(QString::fromUtf8(name)));
    QStringList expected;
    for (const char* name : row.expected) expected << at(QString::fromUtf8(name));
    EXPECT_THAT(recent.Paths(), ElementsAreArray(expected));
  }
}

TEST_F(RecentFilesTest, OtherSectionsAndLinesKeepTheirBytes) {
  const QByteArray foreign(
      "; kept\r\n"
      "[Setup]\r\n"
      "ConfigDirectory=/home/tech/pendants\r\n"
      "\r\n"
      "[Vendor]\r\n"
      "File1=not ours\r\n");
  writeBytes(settings.Path(), foreign);
  recent.Add(at(QStringLiteral("kitchen.ukova")));
  recent.Add(at(QStringLiteral("hall.ukova")));
  recent.Remove(at(QStringLiteral("kitchen.ukova")));

  const QByteArray written = readBytes(settings.Path());
  EXPECT_TRUE(written.startsWith(foreign)) << written.toStdString();
  EXPECT_EQ(settings.ReadSetting(QStringLiteral("Vendor"), QStringLiteral("File1")),
            QStringLiteral("not ours"));
  EXPECT_THAT(recent.Paths(), ElementsAreArray({at(QStringLiteral("hall.ukova"))}));
}

TEST_F(RecentFilesTest, AHandEditedListSkipsGapsAndRepeats) {
  writeBytes(settings.Path(),
             "[recentfiles]\nFile1=/a.ukova\nFile2=\nFile3=/b.ukova\nFile4=/a.ukova\nFile9=/c\n");
  EXPECT_THAT(recent.Paths(),
              ElementsAreArray({QStringLiteral("/a.ukova"), QStringLiteral("/b.ukova")}));
}

TEST_F(RecentFilesTest, ARelativePathIsKeptAbsolute) {
  recent.Add(QStringLiteral("relative.ukova"));
  EXPECT_THAT(
      recent.Paths(),
      ElementsAreArray({QDir::current().absoluteFilePath(QStringLiteral("relative.ukova"))}));
}

TEST_F(RecentFilesTest, ASettingsFileThatCannotBeWrittenIsReported) {
  settings.SetPath(at(QStringLiteral("missing-folder/Values.ini")));
  EXPECT_THROW(recent.Add(at(QStringLiteral("a.ukova"))), IniWriteError);
}

}  // namespace
