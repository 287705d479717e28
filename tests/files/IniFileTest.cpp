#include "files/IniFile.h"

#include "files/ImageFiles.h"
#include "files/VembaIni.h"
#include "support/FileBytes.h"
#include "support/NonRegularFiles.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

// One row: the file's bytes, one call, and what it gives. Reads give the value as UTF-8 text
// (integers in decimal), a write gives the file's new bytes, or "refused" when it may not be made.
enum class Call { String, Integer, Write };
struct IniCase {
  const char* name;
  QByteArray file;
  Call call;
  QString section;
  QString key;
  QString argument;  // the default of a read, the value of a write
  QByteArray expected;
};

const QByteArray refused("refused");

QByteArray outcome(const IniCase& row) {
  const IniContent content(row.file);
  switch (row.call) {
    case Call::String:
      return content.ReadString(row.section, row.key, row.argument).toUtf8();
    case Call::Integer:
      return QByteArray::number(content.ReadInteger(row.section, row.key, row.argument.toInt()));
    case Call::Write:
      return content.WithValue(row.section, row.key, row.argument).value_or(refused);
  }
  return {};
}

const QByteArray foreignContent(
    "; written by the installer\r\n"
    "[Setup]\r\n"
    "ConfigDirectory=/old/folder\r\n"
    "  Other = keep me  \r\n"
    "\r\n"
    "[More]\r\n"
    "Key=1\r\n");

const QByteArray crOnly("[section1]\rname1=val1\rname2=\"val2\"\rname3\rname4=a\r[section2]\r");
const QByteArray emptySection(
    "\r\nkey=val_no_section\r\n[]\r\nkey=val_e_section\r\n[s]\r\n=val_no_key\r\n[t]\r\n");
const QByteArray threeSections("[App1]\r\nkey1=string1\r\n[App2]\r\nkey4=string4\r\n");
const QByteArray windows1252(
    "; Einstellungen f\xFCr K\xE4ppi\r\n[Setup]\r\nConfigDirectory=/home/"
    "K\xE4ppi\r\nAppVersion=1.2.0.99\r\n");

// The text as the Windows editor saves "Unicode": UTF-16 after its byte-order mark.
QByteArray utf16(const QString& text, bool littleEndian = true) {
  QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
  for (const QChar character : text) {
    const char low = static_cast<char>(character.unicode() & 0xFF);
    const char high = static_cast<char>(character.unicode() >> 8);
    bytes += littleEndian ? low : high;
    bytes += littleEndian ? high : low;
  }
  return bytes;
}

const QString unicodeSettings =
    QStringLiteral("[Setup]\r\nConfigDirectory=/home/K\u00E4ppi\r\nAppVersion=1.2.1.123\r\n");
const QByteArray lastOther1252Byte("[s]\r\na=\xE4\r\nb=\xC3\xBC\r\n");

// Rows of the platform's own conformance tests of its profile functions, and our encodings.
const IniCase iniCases[] = {
    {"quoted value loses its quotes", "[Setup]\r\nConfigDirectory=\"C:\\Daten\\\"\r\n",
     Call::String, "Setup", "ConfigDirectory", "", "C:\\Daten\\"},
    {"quotes inside blanks", "[S]\r\nK =  \"a b\"  \r\n", Call::String, "S", "K", "", "a b"},
    {"one quote stays", "[S]\r\nK=\"abc\r\n", Call::String, "S", "K", "", "\"abc"},
    {"lone quote stays", "[S]\r\nK=\"\r\n", Call::String, "S", "K", "d", "\""},
    {"inner quotes stay", "[S]\r\nK=C:\\x;y \"q\"\r\n", Call::String, "S", "K", "",
     "C:\\x;y \"q\""},
    {"CR alone ends a line", crOnly, Call::String, "section1", "name1", "d", "val1"},
    {"CR alone, quoted", crOnly, Call::String, "section1", "name2", "d", "val2"},
    {"CR alone, last key", crOnly, Call::String, "section1", "name4", "d", "a"},
    {"CR alone, write in place", crOnly, Call::Write, "section1", "name1", "x",
     QByteArray(crOnly).replace("val1", "x")},
    {"CR alone, new key ends with CR", crOnly, Call::Write, "section2", "k", "v", crOnly + "k=v\r"},
    {"key name case", "[section1]\r\nNaMe1=val1\r\n", Call::String, "SECTION1", "name1", "",
     "val1"},
    {"empty section name", emptySection, Call::String, "", "key", "d", "val_e_section"},
    {"empty key name", emptySection, Call::String, "s", "", "d", "val_no_key"},
    {"missing file reads the default", "", Call::String, "s", "k", "d", "d"},
    {"empty value is empty", "[s]\r\nk=\r\n", Call::String, "s", "k", "d", ""},
    {"first section counts", "[s]\r\na=1\r\n[S]\r\nb=2\r\n", Call::String, "s", "b", "d", "d"},
    {"comment is no key", "[s]\r\n# k=1\r\n; k=2\r\n", Call::String, "s", "k", "d", "d"},
    {"UTF-8 text", "[s]\r\nName=J\xC3\xBCrgen\r\n", Call::String, "s", "Name", "", "J\xC3\xBCrgen"},
    {"value keeps its leading U+FEFF", "[s]\r\nk=\xEF\xBB\xBFx\r\n", Call::String, "s", "k", "",
     "\xEF\xBB\xBFx"},
    {"file's byte-order mark is no text", "\xEF\xBB\xBF[s]\r\nk=1\r\n", Call::String, "s", "k", "d",
     "1"},
    {"Windows-1252 value", windows1252, Call::String, "Setup", "ConfigDirectory", "",
     "/home/K\xC3\xA4ppi"},
    {"Windows-1252 euro sign", "[s]\r\nk=\x80 \xFF\r\n", Call::String, "s", "k", "",
     "\xE2\x82\xAC \xC3\xBF"},
    {"Windows-1252 write keeps the file's encoding", windows1252, Call::Write, "Setup",
     "ConfigDirectory", QStringLiteral("/home/M\u00FCller"),
     QByteArray(windows1252).replace("/home/K\xE4ppi", "/home/M\xFCller")},
    {"Windows-1252 write of a new key", windows1252, Call::Write, "setup", "Neu",
     QStringLiteral("\u20AC"), QByteArray(windows1252) + "Neu=\x80\r\n"},
    {"Windows-1252 cannot hold every letter", windows1252, Call::Write, "Setup", "ConfigDirectory",
     QStringLiteral("/home/\u0141\u00F3d\u017A"), refused},
    {"UTF-16 value", utf16(unicodeSettings), Call::String, "setup", "configdirectory", "",
     "/home/K\xC3\xA4ppi"},
    {"UTF-16 big-endian value", utf16(unicodeSettings, false), Call::String, "Setup", "AppVersion",
     "", "1.2.1.123"},
    {"UTF-16 write stays UTF-16", utf16(unicodeSettings), Call::Write, "Setup", "ConfigDirectory",
     QStringLiteral("/home/\u0141\u00F3d\u017A"),
     utf16(QString(unicodeSettings)
               .replace(QStringLiteral("K\u00E4ppi"), QStringLiteral("\u0141\u00F3d\u017A")))},
    {"UTF-16 new key", utf16(unicodeSettings, false), Call::Write, "Setup", "Neu", "1",
     utf16(unicodeSettings + QStringLiteral("Neu=1\r\n"), false)},
    {"UTF-16 with an odd byte is not written", utf16(unicodeSettings) + "x", Call::Write, "Setup",
     "AppVersion", "1", refused},
    {"Windows-1252 stays so when its last other byte goes", lastOther1252Byte, Call::Write, "s",
     "a", "x", "[s]\r\na=x\r\nb=\xC3\xBC\r\n; Windows-1252: \xE4\xF6\xFC\xDF\r\n"},
    {"Windows-1252 that becomes ASCII needs nothing", "[s]\r\na=\xE4\r\n", Call::Write, "s", "a",
     "x", "[s]\r\na=x\r\n"},
    {"UTF-8 write", "[s]\r\nk=1\r\n", Call::Write, "s", "k", QStringLiteral("\u0141\u00F3d\u017A"),
     "[s]\r\nk=\xC5\x81\xC3\xB3"
     "d\xC5\xBA\r\n"},
    {"write keeps every other byte", foreignContent, Call::Write, "setup", "CONFIGDIRECTORY",
     "/new/folder", QByteArray(foreignContent).replace("/old/folder", "/new/folder")},
    {"new key goes before the blank line", foreignContent, Call::Write, "Setup", "AppVersion",
     "1.2", QByteArray(foreignContent).replace("keep me  \r\n", "keep me  \r\nAppVersion=1.2\r\n")},
    {"blanks around names and value", foreignContent, Call::String, "setup", "other", "",
     "keep me"},
    {"LF file, new key", "[A]\nX=1", Call::Write, "a", "Y", "2", "[A]\nX=1\nY=2\n"},
    {"LF file, new section", "[A]\nX=1", Call::Write, "B", "Z", "3", "[A]\nX=1\n[B]\nZ=3\n"},
    {"new file", "", Call::Write, "App", "key", "", "[App]\r\nkey=\r\n"},
    {"new key joins its section", threeSections, Call::Write, "app1", "key2", "string2",
     QByteArray(threeSections).replace("string1\r\n", "string1\r\nkey2=string2\r\n")},
    {"new section at the end", threeSections, Call::Write, "App3", "key5", "string5",
     threeSections + "[App3]\r\nkey5=string5\r\n"},
    {"quoted value is replaced whole", "[s]\r\nk=\"a\"\r\n", Call::Write, "s", "K", "b",
     "[s]\r\nk=b\r\n"},
    {"value with a line break", "[s]\r\n", Call::Write, "s", "k", "/x\r\n[Evil]\r\nKey=1", refused},
    {"section name with a bracket", "[s]\r\n", Call::Write, "s]x", "k", "1", refused},
    {"key name with an equals sign", "[s]\r\n", Call::Write, "s", "k=1", "1", refused},
    {"integer", "[T]\r\nP=1\r\n", Call::Integer, "T", "P", "-5", "1"},
    {"integer, minus", "[T]\r\nP=-1\r\n", Call::Integer, "T", "P", "1", "-1"},
    {"integer, plus", "[T]\r\nP=+1\r\n", Call::Integer, "T", "P", "-1", "1"},
    {"integer wraps at 2^32", "[T]\r\nP=4294967296\r\n", Call::Integer, "T", "P", "-1", "0"},
    {"integer wraps past 2^32", "[T]\r\nP=4294967297\r\n", Call::Integer, "T", "P", "-1", "1"},
    {"negative integer wraps", "[T]\r\nP=-4294967297\r\n", Call::Integer, "T", "P", "1", "-1"},
    {"integer, leading number", "[T]\r\nP=42A94967297\r\n", Call::Integer, "T", "P", "-1", "42"},
    {"integer, leading letter", "[T]\r\nP=B4294967297\r\n", Call::Integer, "T", "P", "-1", "0"},
    {"integer, comment after it", "[AboutInfo]\r\nLines=5 ; Anzahl\r\n", Call::Integer, "Aboutinfo",
     "Lines", "0", "5"},
    {"integer, hex prefix", "[T]\r\nP=0x10\r\n", Call::Integer, "T", "P", "-1", "0"},
    {"integer, empty value", "[T]\r\nP=\r\n", Call::Integer, "T", "P", "7", "7"},
    {"integer, missing key", "[T]\r\n", Call::Integer, "T", "P", "7", "7"},
};

TEST(IniContentTable, ReadsAndWritesAsThePlatformDoes) {
  for (const IniCase& row : iniCases) {
    EXPECT_EQ(outcome(row), row.expected) << row.name;
  }
}

TEST(IniEncodingTable, InvalidUtf8IsWindows1252) {
  const std::pair<QByteArray, IniEncoding> rows[] = {
      {"", IniEncoding::Utf8},
      {"[s]\r\nk=plain\r\n", IniEncoding::Utf8},
      {"k=J\xC3\xBCrgen", IniEncoding::Utf8},
      {"\xEF\xBB\xBFk=1", IniEncoding::Utf8},
      {"k=K\xE4ppi", IniEncoding::Windows1252},
      {"k=\xC3", IniEncoding::Windows1252},          // cut short
      {"k=\xC0\xAF", IniEncoding::Windows1252},      // overlong
      {"k=\xED\xA0\x80", IniEncoding::Windows1252},  // surrogate
      {QByteArray("\xFF\xFEk\0", 4), IniEncoding::Utf16LittleEndian},
      {QByteArray("\xFE\xFF\0k", 4), IniEncoding::Utf16BigEndian},
  };
  for (const auto& [bytes, encoding] : rows) {
    EXPECT_EQ(DetectIniEncoding(bytes), encoding) << bytes.toHex().toStdString();
  }
  // Every byte of a Windows-1252 file comes back as it was.
  QByteArray allBytes;
  for (int value = 0; value < 256; ++value) allBytes += static_cast<char>(value);
  const QString text = DecodeIniText(allBytes, IniEncoding::Windows1252);
  EXPECT_EQ(EncodeIniText(text, IniEncoding::Windows1252), allBytes);
}

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

TEST_F(IniFileTest, RefusedWritesNameThePathAndLeaveTheFileAlone) {
  const QString missingFolderPath = folder.filePath(QStringLiteral("gone/Values.ini"));
  try {
    IniFile(missingFolderPath).WriteString("Setup", "AppVersion", "1");
    FAIL() << "write into a missing folder succeeded";
  } catch (const IniWriteError& error) {
    EXPECT_EQ(error.message(),
              QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(missingFolderPath));
  }

  writeBytes(path, foreignContent);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  EXPECT_TRUE(IsWriteProtected(path));
  EXPECT_EQ(writeFailureMessage("Setup", "AppVersion", "1"),
            QStringLiteral("Unable to write to ") + QDir::toNativeSeparators(path));
  EXPECT_EQ(readBytes(path), foreignContent);
}

TEST_F(IniFileTest, WriteReplacesTheWholeFileAndLeavesNothingElseBehind) {
  writeBytes(path, foreignContent);
  QFile reader(path);
  ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
  VembaIni settings;
  settings.SetPath(path);
  settings.WriteSetting(SetupSection, ConfigDirectoryKey, "/a/much/longer/folder/than/before");
  // A reader that had the file open still sees the complete old file: the new content went to
  // a separate file that took the name at once, so no reader ever meets half of it.
  EXPECT_EQ(reader.readAll(), foreignContent);
  EXPECT_EQ(settings.ReadSetting("setup", "configdirectory"), "/a/much/longer/folder/than/before");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("Values.ini")});

  QFile::setPermissions(path, QFile::ReadOwner);
  EXPECT_THROW(settings.WriteSetting(SetupSection, ConfigDirectoryKey, "/b"), IniWriteError);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{QStringLiteral("Values.ini")});
}

TEST_F(IniFileTest, OnlyARegularFileWithinTheBoundIsRead) {
  using Status = IniFile::Status;
  const IniFile ini(path);
  EXPECT_EQ(ini.Load().status, Status::Missing);

  QByteArray content("[s]\r\nk=1\r\n");
  content.resize(MaxIniFileSize, ' ');
  writeBytes(path, content);
  EXPECT_EQ(ini.Load().status, Status::Read);
  EXPECT_EQ(ini.ReadString("s", "k"), "1");

  // A sparse file of 20 GB costs no disk; reading it whole would take the program's memory.
  for (const qint64 size : {MaxIniFileSize + 1, qint64{20} << 30}) {
    ASSERT_TRUE(QFile::resize(path, size));
    EXPECT_EQ(ini.Load().status, Status::TooLarge) << size;
    EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
    EXPECT_EQ(ini.ReadInteger("s", "k", 7), 7);
    // Writing would lose what could not be read.
    EXPECT_THROW(ini.WriteString("s", "k", "2"), IniWriteError);
    EXPECT_EQ(QFileInfo(path).size(), size);
  }

  QFile::remove(path);
  // A pipe that nobody writes to would block a plain read for good.
  if (!MakeUnwrittenPipe(path)) GTEST_SKIP() << "no named pipes in this file system";
  EXPECT_EQ(ini.Load().status, Status::Unreadable);
  EXPECT_THROW(ini.WriteString("s", "k", "2"), IniWriteError);
  EXPECT_EQ(IniFile(folder.path()).Load().status, Status::Unreadable);
}

}  // namespace
