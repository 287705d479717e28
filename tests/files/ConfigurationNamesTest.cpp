#include "files/ConfigurationNames.h"

#include "support/FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ReadConfigurationName, NamesTheRadioCodeAndTheDayAndNothingAFileNameCannotHold) {
  const QDate day(2026, 12, 8);
  const struct {
    const char* code;
    const char* name;
  } rows[] = {
      {"1A2B", "U-KOVA_1A2B_2026-12-08"},
      {"", "U-KOVA_2026-12-08"},
      {"1/:\\B", "U-KOVA_1B_2026-12-08"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ReadConfigurationName(QString::fromUtf8(row.code), day), QString::fromUtf8(row.name));
  }
}

TEST(ConfigurationNamesTest, ASavedNameEndsInTheConfigurationExtensionInPlaceOfItsOwn) {
  const struct {
    const char* typed;
    const char* saved;
  } rows[] = {
      {"/home/t/Linde", "/home/t/Linde.ukova"},
      {"/home/t/Linde.ukova", "/home/t/Linde.ukova"},
      {"/home/t/Linde.txt", "/home/t/Linde.ukova"},
      {"/home/t/Linde.v2.bin", "/home/t/Linde.v2.ukova"},
      // A dot in a folder's name is no extension of the file's.
      {"/home/t.neu/Linde", "/home/t.neu/Linde.ukova"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(WithConfigurationExtension(QString::fromUtf8(row.typed)),
              QString::fromUtf8(row.saved))
        << row.typed;
}

TEST(ConfigurationNamesTest, ADroppedFileIsAConfigurationByItsExtensionInAnyCase) {
  const struct {
    const char* name;
    bool configuration;
  } rows[] = {
      {"Linde.ukova", true},    {"Linde.UKOVA", true},      {"Default.b", false},
      {"Default.bin", true},    {"Linde.ukova.txt", false}, {"Linde", false},
      {"t.ukova/Linde", false},
  };
  for (const auto& row : rows)
    EXPECT_EQ(HasConfigurationExtension(QString::fromUtf8(row.name)), row.configuration)
        << row.name;
}

TEST(ConfigurationNamesTest, EverythingOnDiskButAFolderNamesAFile) {
  QTemporaryDir root;
  const QString file = root.filePath("Linde.ukova");
  writeBytes(file, "");
  EXPECT_TRUE(NamesFile(file));
  EXPECT_FALSE(NamesFile(root.path()));
  EXPECT_FALSE(NamesFile(root.filePath("none.ukova")));
  // A link that leads nowhere is refused later as a file, not passed over as no file at all.
  if (QFile::link(root.filePath("gone"), root.filePath("dangling.ukova"))) {
    EXPECT_TRUE(NamesFile(root.filePath("dangling.ukova")));
  }
}

}  // namespace
