#include "files/IniFile.h"

#include "files/VembaIni.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("Values.ini"));

  QString writeFailureMessage(const QString& section, const QString& key, const QString& value) {
    try {
      IniFile(path).WriteString(section, key, value);
    } catch (const IniWriteError& error) {
      return error.message();
    }
    return QStringLiteral("no failure");
  }
};

const QByteArray foreignContent(
    "; written by the installer\r\n"
    "[Setup]\r\n"
    "ConfigDirectory=/old/folder\r\n"
    "  Other = keep me  \r\n"
    "\r\n"
    "[More]\r\n"
    "Key=1\r\n");

TEST_F(IniFileTest, ChangingOneValueKeepsEveryOtherByte) {
  writeBytes(path, foreignContent);
  IniFile(path).WriteString(QStringLiteral("setup"), QStringLiteral("CONFIGDIRECTORY"),
                            QStringLiteral("/new/folder"));
  QByteArray expected = foreignContent;
  expected.replace("/old/folder", "/new/folder");
  EXPECT_EQ(readBytes(path), expected);
  EXPECT_EQ(IniFile(path).ReadString(QStringLiteral("SETUP"), QStringLiteral("configdirectory")),
            QStringLiteral("/new/folder"));
  EXPECT_EQ(IniFile(path).ReadString(QStringLiteral("setup"), QStringLiteral("other")),
            QStringLiteral("keep me"));
}

TEST_F(IniFileTest, MissingKeyJoinsItsSectionAndMissingSectionGoesToTheEnd) {
  writeBytes(path, foreignContent);
  IniFile ini(path);
  ini.WriteString(QStringLiteral("Setup"), QStringLiteral("AppVersion"), QStringLiteral("1.2"));
  ini.WriteString(QStringLiteral("Extra"), QStringLiteral("Name"), QStringLiteral("x"));
  EXPECT_EQ(readBytes(path), QByteArray("; written by the installer\r\n"
                                        "[Setup]\r\n"
                                        "ConfigDirectory=/old/folder\r\n"
                                        "  Other = keep me  \r\n"
                                        "AppVersion=1.2\r\n"
                                        "\r\n"
                                        "[More]\r\n"
                                        "Key=1\r\n"
                                        "[Extra]\r\n"
                                        "Name=x\r\n"));
}

TEST_F(IniFileTest, NewLinesFollowTheFilesLineEndsAndCloseAnUnfinishedLastLine) {
  writeBytes(path, "[A]\nX=1");
  IniFile ini(path);
  ini.WriteString(QStringLiteral("a"), QStringLiteral("Y"), QStringLiteral("2"));
  EXPECT_EQ(readBytes(path), QByteArray("[A]\nX=1\nY=2\n"));
  writeBytes(path, "[A]\nX=1");
  ini.WriteString(QStringLiteral("B"), QStringLiteral("Z"), QStringLiteral("3"));
  EXPECT_EQ(readBytes(path), QByteArray("[A]\nX=1\n[B]\nZ=3\n"));
}

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsAsDefaultAndFirstWriteCreatesTheFile) {
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString(QStringLiteral("Setup"), QStringLiteral("AppVersion")), QString());
  EXPECT_EQ(ini.ReadInteger(QStringLiteral("Setup"), QStringLiteral("Lines"), 7), 7);
  EXPECT_FALSE(QFile::exists(path));
  ini.WriteString(QStringLiteral("Setup"), QStringLiteral("AppVersion"), QStringLiteral("1"));
  EXPECT_EQ(readBytes(path), QByteArray("[Setup]\r\nAppVersion=1\r\n"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Other"), QStringLiteral("AppVersion"), "d"), "d");
  EXPECT_EQ(ini.ReadString(QStringLiteral("Setup"), QStringLiteral("Missing"), "d"), "d");
}

TEST_F(IniFileTest, ValuesReadAsWrittenAndOnlyTheFirstSectionCounts) {
  writeBytes(path,
             "[S]\r\nPath =  C:\\x;y \"q\" \r\nEmpty=\r\nName=J\xC3\xBCrgen\r\n"
             "# Path=comment\r\n[s]\r\nLater=1\r\n");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("path")),
            QStringLiteral("C:\\x;y \"q\""));
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("Empty"), "d"), QString());
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("Name")), QStringLiteral("Jürgen"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("S"), QStringLiteral("Later"), "d"), "d");
}

TEST_F(IniFileTest, IntegersAreSignedDecimalsAndAnythingElseGivesTheDefault) {
  writeBytes(path, "[N]\nA=42\nB=-7\nC=+5\nD= 12 \nE=0x10\nF=12abc\nG=\nH=99999999999\nI=1 2\n");
  IniFile ini(path);
  const auto integer = [&ini](const char* key) {
    return ini.ReadInteger(QStringLiteral("n"), QString::fromLatin1(key), -1000);
  };
  EXPECT_EQ(integer("A"), 42);
  EXPECT_EQ(integer("B"), -7);
  EXPECT_EQ(integer("C"), 5);
  EXPECT_EQ(integer("D"), 12);
  for (const char* notANumber : {"E", "F", "G", "H", "I", "Missing"}) {
    EXPECT_EQ(integer(notANumber), -1000) << notANumber;
  }
}

TEST_F(IniFileTest, RefusedWritesNameThePathAndLeaveTheFileAlone) {
  const QString missingFolderPath = folder.filePath(QStringLiteral("gone/Values.ini"));
  try {
    IniFile(missingFolderPath).WriteString("Setup", "AppVersion", "1");
    FAIL() << "write into a missing folder succeeded";
  } catch (const IniWriteError& error) {
    EXPECT_EQ(error.message(), QStringLiteral("Unable to write to ") + missingFolderPath);
  }

  writeBytes(path, foreignContent);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_TRUE(IsWriteProtected(path));
  EXPECT_EQ(writeFailureMessage("Setup", "AppVersion", "1"),
            QStringLiteral("Unable to write to ") + path);
  EXPECT_EQ(readBytes(path), foreignContent);
}

TEST_F(IniFileTest, ValueWithALineBreakCannotPlantOtherKeys) {
  writeBytes(path, foreignContent);
  EXPECT_EQ(writeFailureMessage("Setup", "ConfigDirectory", "/x\r\n[Evil]\r\nKey=1"),
            QStringLiteral("Unable to write to ") + path);
  EXPECT_EQ(writeFailureMessage("Se]tup", "ConfigDirectory", "/x"),
            QStringLiteral("Unable to write to ") + path);
  EXPECT_EQ(writeFailureMessage("Setup", "Key=1", "/x"),
            QStringLiteral("Unable to write to ") + path);
  EXPECT_EQ(readBytes(path), foreignContent);
}

TEST_F(IniFileTest, WriteReplacesTheWholeFileAndLeavesNothingElseBehind) {
  writeBytes(path, foreignContent);
  QFile reader(path);
  ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
  VembaIni settings;
  settings.SetPath(path);
  settings.WriteSetting("Setup", "ConfigDirectory", "/a/much/longer/folder/than/before");
  // A reader that had the file open still sees the complete old file: the new content went to
  // a separate file that took the name at once, so no reader ever meets half of it.
  EXPECT_EQ(reader.readAll(), foreignContent);
  EXPECT_EQ(settings.ReadSetting("setup", "configdirectory"), "/a/much/longer/folder/than/before");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("Values.ini")});

  QFile::setPermissions(path, QFile::ReadOwner);
  EXPECT_THROW(settings.WriteSetting("Setup", "ConfigDirectory", "/b"), IniWriteError);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("Values.ini")});
}

}  // namespace
