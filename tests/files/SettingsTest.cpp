#include "files/Settings.h"

#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "support/FileBytes.h"

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

TEST_F(SettingsStartupTest, NewVersionRenewsBothFilesAndKeepsTheChosenFolder) {
  leaveOldInstallation(
      "[Setup]\r\nConfigDirectory=/stored/folder/\r\nAppVersion=1.2.0.99\r\n"
      "Obsolete=1\r\n",
      QByteArray(256, '\x22'));
  const StartupSettings result = start();
  EXPECT_TRUE(result.SettingsUpgrade);
  EXPECT_EQ(readBytes(expectedDataFolder + "Values.ini"),
            QByteArray("[Setup]\r\nConfigDirectory=/stored/folder/\r\nAppVersion=1.2.1.123\r\n"));
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
  EXPECT_EQ(settings.ReadSetting("Setup", "ConfigDirectory"), QStringLiteral("/stored"));
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
    EXPECT_EQ(settings.ReadSetting("Setup", "AppVersion"), version);
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

TEST_F(SettingsStartupTest, RefusedSettingsWriteIsCollectedWhileTheOtherStepsStillRun) {
  const QByteArray oldSettings("[Setup]\r\nConfigDirectory=/stored\r\nAppVersion=1.0\r\n");
  leaveOldInstallation(oldSettings, QByteArray(256, '\x22'));
  const QString valuesPath = expectedDataFolder + "Values.ini";
  QFile::setPermissions(valuesPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const StartupSettings result = start({QStringLiteral("-SERVICE")});
  EXPECT_EQ(result.errors, QStringList{QStringLiteral("Unable to write to ") + valuesPath});
  EXPECT_EQ(readBytes(valuesPath), oldSettings);
  EXPECT_EQ(readBytes(expectedDataFolder + "Default.bin"), factoryTemplate);
  EXPECT_TRUE(result.ServiceMode);
  EXPECT_EQ(result.DefaultFolder, QStringLiteral("/stored"));
  EXPECT_EQ(settings.Path(), valuesPath);
}

TEST_F(SettingsStartupTest, CreatedFoldersAndFilesAreNeverWritableByEveryUser) {
  const mode_t previousMask = ::umask(0);
  const StartupSettings result = start();
  ::umask(previousMask);
  const QStringList created = {dataBase + "/ORVEL",
                               result.DataFolder,
                               documentsBase + "/ORVEL",
                               result.StandardConfigFolder,
                               result.DataFolder + "Values.ini",
                               result.DataFolder + "Default.bin"};
  for (const QString& path : created) {
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_FALSE(QFileInfo(path).permissions() & QFile::WriteOther) << path.toStdString();
    EXPECT_TRUE(QFileInfo(path).permissions() & QFile::WriteOwner) << path.toStdString();
  }
}

TEST_F(SettingsStartupTest, PathsLongerThan260CharactersAreUsedWhole) {
  QString deepBase = dataBase;
  while (deepBase.size() < 300) deepBase += QStringLiteral("/a-rather-long-folder-name");
  ASSERT_TRUE(QDir().mkpath(deepBase));
  StartupEnvironment deep = environment();
  deep.commonDataBase = deepBase;
  const StartupSettings result = RunSettingsStartup(deep, settings);
  EXPECT_EQ(result.DataFolder, deepBase + QStringLiteral("/ORVEL/U-KOVA Programmer (DE)/"));
  EXPECT_EQ(IniFile(result.DataFolder + "Values.ini").ReadString("Setup", "AppVersion"), version);
}

class CopyDataFileTest : public ::testing::Test {
 protected:
  QTemporaryDir folder;
  QString base = folder.path() + u'/';
};

TEST_F(CopyDataFileTest, CopiesEveryByte) {
  QByteArray content;
  for (int i = 0; i < 10000; ++i) content += static_cast<char>(i * 7);
  writeBytes(base + "source", content);
  EXPECT_TRUE(CopyDataFile(base, "source", "target", base));
  EXPECT_EQ(readBytes(base + "target"), content);
}

TEST_F(CopyDataFileTest, FailedCopyLeavesTheTargetAsItWas) {
  writeBytes(base + "target", "precious");
  EXPECT_FALSE(CopyDataFile(base, "missing", "target", base));
  EXPECT_EQ(readBytes(base + "target"), QByteArray("precious"));

  writeBytes(base + "source", "new");
  QFile::setPermissions(base + "target", QFile::ReadOwner);
  EXPECT_FALSE(CopyDataFile(base, "source", "target", base));
  EXPECT_EQ(readBytes(base + "target"), QByteArray("precious"));
}

TEST(ProgramFolderTest, TemplatesBesideTheProgramWinOverTheInstalledFolder) {
  QTemporaryDir root;
  const QString beside = root.filePath(QStringLiteral("bin"));
  const QString share = root.filePath(QStringLiteral("share/ukova-programmer"));
  ASSERT_TRUE(QDir().mkpath(beside));
  EXPECT_EQ(LocateProgramFolder(beside, share), beside + u'/');
  ASSERT_TRUE(QDir().mkpath(share));
  EXPECT_EQ(LocateProgramFolder(beside, share), share + u'/');
  writeBytes(beside + QStringLiteral("/Values.i"), settingsTemplate);
  EXPECT_EQ(LocateProgramFolder(beside, share), beside + u'/');
}

TEST(PathTextTest, TrailingSeparatorsComeOffButTheRootStays) {
  EXPECT_EQ(WithoutTrailingSeparator(QStringLiteral("/a/b//")), QStringLiteral("/a/b"));
  EXPECT_EQ(WithoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
  EXPECT_EQ(WithoutTrailingSeparator(QString()), QString());
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
  EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
}

TEST(ProgramVersionTest, VersionComesFromTheRecordAndIsEmptyWithoutOne) {
  EXPECT_EQ(GetProgramVersion(), QStringLiteral("1.2.1.123"));
  EXPECT_EQ(ProgramVersionOf(std::nullopt), QString());
  EXPECT_EQ(ProgramVersionOf(
                ProgramVersionInfo{QStringLiteral("U-KOVA Programmer"), std::nullopt, QString()}),
            QString());
}

}  // namespace
