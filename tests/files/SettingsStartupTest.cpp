#include "files/SettingsStartup.h"

#include "files/DataFolders.h"
#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QByteArray settingsTemplate("[Setup]\r\nConfigDirectory=\r\nAppVersion=\r\n");
const QByteArray factoryTemplate(256, '\x11');
const QString version = QStringLiteral("1.2.1.123");

class SettingsStartupTest : public ::testing::Test {
 protected:
  QTemporaryDir root;
  QString programFolder = root.filePath(QStringLiteral("program")) + u'/';
  QString dataBase = root.filePath(QStringLiteral("data"));
  QString documentsBase = root.filePath(QStringLiteral("documents"));
  QString expectedDataFolder = dataBase + QStringLiteral("/ORVEL/U-KOVA Programmer (DE)/");
  QString expectedConfigFolder = documentsBase + QStringLiteral("/ORVEL/U-KOVA config/");
  VembaIni settings;

  void SetUp() override {
    for (const QString& folder : {programFolder, dataBase, documentsBase}) {
      ASSERT_TRUE(QDir().mkpath(folder));
    }
    writeBytes(programFolder + "Values.i", settingsTemplate);
    writeBytes(programFolder + "Default.b", factoryTemplate);
  }

  StartupEnvironment environment(const QStringList& arguments = {}) const {
    return StartupEnvironment{programFolder, dataBase, documentsBase, arguments, version};
  }

  StartupSettings start(const QStringList& arguments = {}) {
    return RunSettingsStartup(environment(arguments), settings);
  }

  // The data folder as an older program version left it.
  void leaveOldInstallation(const QByteArray& values, const QByteArray& factoryImage) {
    ASSERT_TRUE(QDir().mkpath(expectedDataFolder));
    writeBytes(expectedDataFolder + "Values.ini", values);
    writeBytes(expectedDataFolder + "Default.bin", factoryImage);
  }

  QString existingFolder(const QString& name) {
    const QString path = root.filePath(name);
    EXPECT_TRUE(QDir().mkpath(path));
    return path;
  }
};

TEST_F(SettingsStartupTest, FirstStartCreatesTheFoldersAndProvisionsBothFiles) {
  const StartupSettings result = start();
  EXPECT_EQ(result.DataFolder, expectedDataFolder);
  EXPECT_EQ(result.StandardConfigFolder, expectedConfigFolder);
  EXPECT_TRUE(QFileInfo(expectedDataFolder).isDir());
  EXPECT_TRUE(QFileInfo(expectedConfigFolder).isDir());
  EXPECT_EQ(readBytes(expectedDataFolder + "Values.ini"),
            QByteArray("[Setup]\r\nConfigDirectory=\r\nAppVersion=1.2.1.123\r\n"));
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), factoryTemplate);
  EXPECT_EQ(result.DefaultFolder, documentsBase + QStringLiteral("/ORVEL/U-KOVA config"));
  EXPECT_EQ(settings.Path(), expectedDataFolder + "Values.ini");
  EXPECT_FALSE(result.SettingsUpgrade);
  EXPECT_FALSE(result.ServiceMode);
  EXPECT_TRUE(result.errors.isEmpty());
}

TEST_F(SettingsStartupTest, NewVersionRenewsBothFilesAndKeepsTheUsersChoices) {
  leaveOldInstallation(
      "[Setup]\r\nConfigDirectory=/stored/folder/\r\nAppVersion=1.2.0.99\r\n"
      "Obsolete=1\r\nVerifyAfterWrite=0\r\nSilencedInterlocks=cbEmergencyButtonActive\r\n"
      "[Technician]\r\nName=Anna Berg\r\n[OPU]\r\nPort=/dev/ttyUSB1\r\n",
      QByteArray(256, '\x22'));
  const StartupSettings result = start();
  EXPECT_TRUE(result.SettingsUpgrade);
  EXPECT_EQ(readBytes(expectedDataFolder + "Values.ini"),
            QByteArray("[Setup]\r\nConfigDirectory=/stored/folder/\r\nAppVersion=1.2.1.123\r\n"
                       "VerifyAfterWrite=0\r\nSilencedInterlocks=cbEmergencyButtonActive\r\n"
                       "[Technician]\r\nName=Anna Berg\r\n[OPU]\r\nPort=/dev/ttyUSB1\r\n"));
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), factoryTemplate);
  EXPECT_EQ(result.DefaultFolder, QStringLiteral("/stored/folder"));
  EXPECT_TRUE(result.errors.isEmpty());
}

TEST_F(SettingsStartupTest, RestartOfTheSameVersionCopiesNothing) {
  (void)start();
  const QByteArray editedImage(256, '\x33');
  const QByteArray editedSettings("[setup]\r\nconfigdirectory=/mine\r\nappversion=1.2.1.123\r\n");
  writeBytes(expectedDataFolder + "Default.bin", editedImage);
  writeBytes(expectedDataFolder + "Values.ini", editedSettings);
  const StartupSettings result = start();
  EXPECT_FALSE(result.SettingsUpgrade);
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), editedImage);
  EXPECT_EQ(readBytes(expectedDataFolder + "Values.ini"), editedSettings);
  EXPECT_EQ(result.DefaultFolder, QStringLiteral("/mine"));
}

TEST_F(SettingsStartupTest, MissingFactoryImageIsProvisionedAgainWithoutAnUpgrade) {
  (void)start();
  QFile::remove(expectedDataFolder + "Default.bin");
  EXPECT_FALSE(start().SettingsUpgrade);
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), factoryTemplate);
}

TEST_F(SettingsStartupTest, FolderParameterWinsForThisRunOnlyAndIsTakenAsTyped) {
  leaveOldInstallation("[Setup]\r\nConfigDirectory=/stored\r\nAppVersion=1.2.1.123\r\n",
                       factoryTemplate);
  const QString typed = existingFolder(QStringLiteral("configs")) + u'/';
  const StartupSettings result =
      start({QStringLiteral("/no/such/folder"), typed, existingFolder("second")});
  EXPECT_EQ(result.DefaultFolder, typed);
  EXPECT_EQ(settings.ReadSetting(SetupSection, ConfigDirectoryKey), QStringLiteral("/stored"));
}

TEST_F(SettingsStartupTest, ServiceSwitchCountsOnlyBeforeTheFolderParameter) {
  const QString folder = existingFolder(QStringLiteral("configs"));
  const QString file = root.filePath(QStringLiteral("my.ukova"));
  writeBytes(file, factoryTemplate);
  struct Case {
    QStringList arguments;
    bool serviceMode;
    QString defaultFolder;
  };
  const QString standard = documentsBase + QStringLiteral("/ORVEL/U-KOVA config");
  const Case cases[] = {
      {{"-SERVICE", folder}, true, folder}, {{folder, "-SERVICE"}, false, folder},
      {{"-service"}, true, standard},       {{file, "-Service"}, true, standard},
      {{"-SERVICE", file}, true, standard}, {{"-SERVICEX", "SERVICE"}, false, standard},
  };
  for (const Case& test : cases) {
    const StartupSettings result = start(test.arguments);
    EXPECT_EQ(result.ServiceMode, test.serviceMode) << test.arguments.join(u' ').toStdString();
    EXPECT_EQ(result.DefaultFolder, test.defaultFolder) << test.arguments.join(u' ').toStdString();
  }
}

TEST_F(SettingsStartupTest, WithoutDataOrDocumentsFolderEverythingStaysBesideTheProgram) {
  for (const QString& missing : {QString(), root.filePath(QStringLiteral("absent"))}) {
    StartupEnvironment withoutBases = environment();
    withoutBases.commonDataBase = missing;
    withoutBases.documentsBase = missing;
    const StartupSettings result = RunSettingsStartup(withoutBases, settings);
    EXPECT_EQ(result.DataFolder, programFolder);
    EXPECT_EQ(result.StandardConfigFolder, programFolder + "Config/");
    EXPECT_TRUE(QFileInfo(programFolder + "Config").isDir());
    EXPECT_EQ(result.DefaultFolder, programFolder + "Config");
    EXPECT_EQ(settings.ReadSetting(SetupSection, AppVersionKey), version);
    EXPECT_EQ(readBytes(programFolder + "Values.i"), settingsTemplate);
    EXPECT_EQ(readBytes(programFolder + "Default.bin"), factoryTemplate);
    EXPECT_FALSE(QFileInfo::exists(missing.isEmpty() ? QStringLiteral("/ORVEL") : missing));
  }
}

TEST_F(SettingsStartupTest, WithoutSettingsTemplateNothingIsWrittenAndReadsStayEmpty) {
  QFile::remove(programFolder + "Values.i");
  const StartupSettings result = start();
  EXPECT_FALSE(QFileInfo::exists(expectedDataFolder + "Values.ini"));
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), factoryTemplate);
  EXPECT_EQ(result.DefaultFolder, WithoutTrailingSeparator(expectedConfigFolder));
  EXPECT_TRUE(result.errors.isEmpty());
}

TEST_F(SettingsStartupTest, OutdatedWriteProtectedSettingsKeepTheOwnFactoryImageOverStarts) {
  const QByteArray oldSettings("[Setup]\r\nConfigDirectory=/stored\r\nAppVersion=1.0\r\n");
  const QByteArray ownImage(256, '\x22');
  leaveOldInstallation(oldSettings, ownImage);
  const QString valuesPath = expectedDataFolder + "Values.ini";
  // Judged by the permission bits, so that the protection holds for root as well.
  QFile::setPermissions(valuesPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  for (int run = 1; run <= 2; ++run) {
    const StartupSettings result = start({QStringLiteral("-SERVICE")});
    EXPECT_EQ(result.errors, QStringList{QStringLiteral("Unable to write to ") +
                                         QDir::toNativeSeparators(valuesPath)})
        << run;
    EXPECT_FALSE(result.SettingsUpgrade) << run;
    EXPECT_EQ(readBytes(valuesPath), oldSettings) << run;
    EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), ownImage) << run;
    EXPECT_TRUE(result.ServiceMode) << run;
    EXPECT_EQ(result.DefaultFolder, QStringLiteral("/stored")) << run;
    EXPECT_EQ(settings.Path(), valuesPath) << run;
  }
}

TEST_F(SettingsStartupTest, EmptyOrUnreadableSettingsAreNoOlderVersionAndKeepTheFactoryImage) {
  const QByteArray ownImage(256, '\x33');
  const QString valuesPath = expectedDataFolder + "Values.ini";
  const struct {
    const char* name;
    bool readable;
    QByteArray settingsAfter;  // null: as it was
  } rows[] = {
      {"empty", true,
       settingsTemplate.left(settingsTemplate.size() - 2) + version.toUtf8() + "\r\n"},
      {"unreadable", false, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    leaveOldInstallation({}, ownImage);
    if (!row.readable) {
      QFile::remove(valuesPath);
      ASSERT_TRUE(QDir().mkpath(valuesPath));
    }
    const StartupSettings result = start();
    EXPECT_FALSE(result.SettingsUpgrade);
    EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), ownImage);
    if (!row.settingsAfter.isNull()) {
      EXPECT_EQ(readBytes(valuesPath), row.settingsAfter);
    }
    QDir(valuesPath).removeRecursively();
  }
}

TEST_F(SettingsStartupTest, NamesInTheDataFolderAreFoundInAnyCase) {
  const QByteArray ownSettings("[SETUP]\r\nconfigdirectory=/mine\r\nAPPVERSION=1.2.1.123\r\n");
  const QByteArray ownImage(256, '\x44');
  ASSERT_TRUE(QDir().mkpath(expectedDataFolder));
  writeBytes(expectedDataFolder + "values.ini", ownSettings);
  writeBytes(expectedDataFolder + "DEFAULT.BIN", ownImage);
  for (int run = 1; run <= 2; ++run) {
    const StartupSettings result = start();
    EXPECT_EQ(QDir(expectedDataFolder).entryList(QDir::Files),
              (QStringList{QStringLiteral("DEFAULT.BIN"), QStringLiteral("values.ini")}));
    EXPECT_EQ(readBytes(expectedDataFolder + "values.ini"), ownSettings);
    EXPECT_EQ(readBytes(expectedDataFolder + "DEFAULT.BIN"), ownImage);
    EXPECT_EQ(settings.Path(), expectedDataFolder + "values.ini");
    EXPECT_EQ(result.DefaultFolder, QStringLiteral("/mine"));
    EXPECT_FALSE(result.SettingsUpgrade);
  }
  // File New asks for the factory image the same way.
  EXPECT_EQ(DataFilePath(expectedDataFolder, FactoryImageFileName),
            expectedDataFolder + "DEFAULT.BIN");
  // The name as given wins when both exist; a missing one is made under that name.
  writeBytes(expectedDataFolder + "Default.bin", ownImage);
  EXPECT_EQ(DataFilePath(expectedDataFolder, FactoryImageFileName),
            expectedDataFolder + "Default.bin");
  EXPECT_EQ(DataFilePath(programFolder, SettingsFileName), programFolder + "Values.ini");
}

TEST_F(SettingsStartupTest, HugeSettingsFileGivesTheDefaultsAndANoticeAndStaysAsItWas) {
  const QByteArray ownImage(256, '\x55');
  leaveOldInstallation("[Setup]\r\nConfigDirectory=/stored\r\n", ownImage);
  const QString valuesPath = expectedDataFolder + "Values.ini";
  // Sparse: 20 GB that take no disk.
  const qint64 hugeSize = qint64{20} << 30;
  ASSERT_TRUE(QFile::resize(valuesPath, hugeSize));
  const StartupSettings result = start();
  EXPECT_TRUE(result.errors.isEmpty());
  EXPECT_EQ(result.notice,
            FormatText(Msg::SettingsNotReadable, {QDir::toNativeSeparators(valuesPath)}));
  EXPECT_FALSE(result.SettingsUpgrade);
  EXPECT_EQ(result.DefaultFolder, WithoutTrailingSeparator(expectedConfigFolder));
  EXPECT_EQ(QFileInfo(valuesPath).size(), hugeSize);
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), ownImage);
}

TEST_F(SettingsStartupTest, Windows1252SettingsOfTheOlderProgramKeepTheirBytes) {
  const QString folderWithUmlaut = existingFolder(QStringLiteral("K\u00E4ppi"));
  const QByteArray folderBytes = QFile::encodeName(root.path()) + "/K\xE4ppi";
  const QByteArray oldSettings =
      "; Einstellungen f\xFCr M\xFCller\r\n[Setup]\r\nConfigDirectory=" + folderBytes +
      "\r\nAppVersion=1.2.1.123\r\n";
  leaveOldInstallation(oldSettings, factoryTemplate);
  const StartupSettings result = start();
  EXPECT_EQ(result.DefaultFolder, folderWithUmlaut);
  EXPECT_EQ(readBytes(expectedDataFolder + "Values.ini"), oldSettings);

  settings.WriteSetting(SetupSection, ConfigDirectoryKey,
                        root.filePath(QStringLiteral("M\u00FCller")));
  EXPECT_EQ(
      readBytes(expectedDataFolder + "Values.ini"),
      QByteArray(oldSettings).replace(folderBytes, QFile::encodeName(root.path()) + "/M\xFCller"));
  EXPECT_EQ(settings.ReadSetting(SetupSection, ConfigDirectoryKey),
            root.filePath(QStringLiteral("M\u00FCller")));
}

TEST_F(SettingsStartupTest, UnicodeSettingsOfTheWindowsEditorAreReadAndStayUnicode) {
  const QString folderWithUmlaut = existingFolder(QStringLiteral("K\u00E4ppi"));
  const QString text =
      "[Setup]\r\nConfigDirectory=" + folderWithUmlaut + "\r\nAppVersion=" + version + "\r\n";
  QByteArray unicode("\xFF\xFE");
  for (const QChar character : text) {
    unicode += static_cast<char>(character.unicode() & 0xFF);
    unicode += static_cast<char>(character.unicode() >> 8);
  }
  const QByteArray ownImage(256, '\x66');
  leaveOldInstallation(unicode, ownImage);
  const StartupSettings result = start();
  EXPECT_FALSE(result.SettingsUpgrade);
  EXPECT_EQ(result.DefaultFolder, folderWithUmlaut);
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), ownImage);
  EXPECT_EQ(readBytes(expectedDataFolder + "Values.ini"), unicode);

  settings.WriteSetting(SetupSection, ConfigDirectoryKey, QStringLiteral("/neu"));
  const QByteArray written = readBytes(expectedDataFolder + "Values.ini");
  EXPECT_TRUE(written.startsWith(QByteArray("\xFF\xFE[\0S\0", 6)));
  EXPECT_EQ(settings.ReadSetting(SetupSection, ConfigDirectoryKey), QStringLiteral("/neu"));
  EXPECT_EQ(settings.ReadSetting(SetupSection, AppVersionKey), version);
}

// Write access for the owner only, whatever the umask: another user of the machine could
// otherwise plant a factory image or settings.
void expectWritableByOwnerOnly(const QStringList& paths) {
  for (const QString& path : paths) {
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    const QFile::Permissions permissions = QFileInfo(path).permissions();
    EXPECT_FALSE(permissions & (QFile::WriteGroup | QFile::WriteOther)) << path.toStdString();
    EXPECT_TRUE(permissions & QFile::WriteOwner) << path.toStdString();
  }
}

TEST_F(SettingsStartupTest, CreatedFoldersAndFilesAreNeverWritableByEveryUser) {
  const mode_t previousMask = ::umask(0);
  const StartupSettings result = start();
  settings.WriteSetting(SetupSection, ConfigDirectoryKey, "/elsewhere");
  ::umask(previousMask);
  expectWritableByOwnerOnly({dataBase + "/ORVEL", result.DataFolder, documentsBase + "/ORVEL",
                             result.StandardConfigFolder, result.DataFolder + "Values.ini",
                             result.DataFolder + "Default.bin"});
}

TEST(UserFoldersTest, AFreshHomeGetsItsFoldersWritableByTheOwnerOnly) {
  QTemporaryDir home;
  const QByteArray previousHome = qgetenv("HOME");
  const QByteArray previousData = qgetenv("XDG_DATA_HOME");
  const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", QFile::encodeName(home.path()));
  qunsetenv("XDG_DATA_HOME");
  qunsetenv("XDG_CONFIG_HOME");
  const mode_t previousMask = ::umask(0);
  const StartupEnvironment environment = SystemStartupEnvironment();
  ::umask(previousMask);
  qputenv("HOME", previousHome);
  if (!previousData.isEmpty()) qputenv("XDG_DATA_HOME", previousData);
  if (!previousConfig.isEmpty()) qputenv("XDG_CONFIG_HOME", previousConfig);
  EXPECT_EQ(environment.commonDataBase, home.filePath(QStringLiteral(".local/share")));
  EXPECT_EQ(environment.documentsBase, home.filePath(QStringLiteral("Documents")));
  expectWritableByOwnerOnly({home.filePath(QStringLiteral(".local")), environment.commonDataBase,
                             environment.documentsBase});
}

TEST_F(SettingsStartupTest, PathsLongerThan260CharactersAreUsedWhole) {
  QString deepBase = dataBase;
  while (deepBase.size() < 300) deepBase += QStringLiteral("/a-rather-long-folder-name");
  ASSERT_TRUE(QDir().mkpath(deepBase));
  StartupEnvironment deep = environment();
  deep.commonDataBase = deepBase;
  const StartupSettings result = RunSettingsStartup(deep, settings);
  EXPECT_EQ(result.DataFolder, deepBase + QStringLiteral("/ORVEL/U-KOVA Programmer (DE)/"));
  EXPECT_EQ(IniFile(result.DataFolder + "Values.ini").ReadString(SetupSection, AppVersionKey),
            version);
}

}  // namespace
