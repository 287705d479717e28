// The File commands, dropped files and the command-line file against a fake window: what they
// say, what the status and the title show and what reaches the disk.

#include "app/ConfigurationFiles.h"

#include "files/VembaIni.h"
#include "image/Texts.h"
#include "support/FakeConfigurationView.h"
#include "support/FileBytes.h"
#include "support/NonRegularFiles.h"
#include "support/QtPrinters.h"
#include "support/SampleImage.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int BatteryTestInterval = 0x2C;

// A configuration every field can show: the factory image.
QByteArray validImage(std::uint8_t batteryTestInterval = 24) {
  return SampleImageFile({{BatteryTestInterval, batteryTestInterval}});
}

// Bytes that no field owns, each with a value of its own, so that a lost byte shows.
QByteArray imageWithForeignBytes() {
  QByteArray bytes = validImage(36);
  for (int address = 0; address < 0x20; ++address) bytes[address] = static_cast<char>(address + 1);
  bytes[0x25] = static_cast<char>(0xA5);
  bytes[0x26] = static_cast<char>(0x5A);
  for (int address = 0x3B; address < ImageSize; ++address) {
    bytes[address] = static_cast<char>(~address);
  }
  return bytes;
}

QByteArray sized(QByteArray bytes, int size) {
  bytes.resize(size, '\x42');
  return bytes;
}

QString titleNaming(const QString& source) {
  return source + QStringLiteral(" - ") + Text(Msg::ProgramTitle);
}

QString defaultTitle() {
  return titleNaming(Text(Msg::TitleDefault));
}

enum class LoadPath { Open, Drop, CommandLine };

std::string loadPathName(const ::testing::TestParamInfo<LoadPath>& info) {
  switch (info.param) {
    case LoadPath::Open:
      return "Open";
    case LoadPath::Drop:
      return "Drop";
    case LoadPath::CommandLine:
      break;
  }
  return "CommandLine";
}

class ConfigurationFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dataDir.isValid());
    ASSERT_TRUE(filesDir.isValid());
    settings.SetPath(dataFolder + QStringLiteral("Values.ini"));
    files = std::make_unique<ConfigurationFiles>(
        view, view.document,
        ConfigurationState{vembaData, imageSource, workingImage, dataFolder, defaultFolder,
                           settings},
        dialogs, nullptr);
  }

  // Shows the factory image, as every start does, and forgets what that showed.
  void startWithFactoryImage() {
    writeBytes(dataDir.filePath(QStringLiteral("Default.bin")), validImage());
    files->FileNew();
    dialogs.clear();
  }

  QString filePath(const QString& name) const { return filesDir.filePath(name); }

  void open(const QString& path) {
    dialogs.openAnswers.push_back(path);
    files->FileOpen();
  }
  void saveAs(const QString& answer) {
    dialogs.saveAnswers.push_back(answer);
    files->FileSaveAs();
  }

  QString batteryTestInterval() const { return view.text(Field::edtBatteryTestInterval); }
  QString currentFile() const { return vembaData.CurrentFilePath; }

  QTemporaryDir dataDir;
  QTemporaryDir filesDir;
  QString dataFolder = dataDir.path() + u'/';
  QString defaultFolder = filesDir.path();
  VembaData vembaData;
  ImageSourceKind imageSource = SourceDefault;
  ParameterImage workingImage{};
  VembaIni settings;
  ScriptedDialogs dialogs;
  FakeConfigurationView view;
  std::unique_ptr<ConfigurationFiles> files;
};

TEST_F(ConfigurationFilesTest, FileNewKeepsTheCurrentFileSoOpenStartsBesideIt) {
  startWithFactoryImage();
  files->FileOpen();  // cancelled
  ASSERT_EQ(dialogs.openRequests.size(), 1U);
  const FileDialogRequest first = dialogs.openRequests.back();
  EXPECT_EQ(first.title, Text(Msg::OpenTitle));
  EXPECT_EQ(first.filterDescription, Text(Msg::ConfigurationFileFilter));
  EXPECT_EQ(first.filterPattern, QStringLiteral("*.ukova"));
  EXPECT_EQ(first.fileName, QStringLiteral("*.ukova"));
  EXPECT_EQ(first.folder, filesDir.path());
  EXPECT_EQ(imageSource, SourceDefault);

  ASSERT_TRUE(QDir(filesDir.path()).mkdir(QStringLiteral("sub")));
  const QString pendant = filePath(QStringLiteral("sub/pendant.ukova"));
  writeBytes(pendant, validImage(48));
  open(pendant);
  view.setText(Field::edtRadioCodeNew, QStringLiteral("1234"));
  files->FileNew();

  EXPECT_EQ(imageSource, SourceDefault);
  EXPECT_EQ(view.title, defaultTitle());
  EXPECT_EQ(view.status, Text(Msg::DefaultConfigurationLoaded));
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("24"));
  EXPECT_TRUE(view.text(Field::edtRadioCodeNew).isEmpty());
  EXPECT_EQ(currentFile(), pendant);

  files->FileOpen();
  EXPECT_EQ(dialogs.openRequests.back().fileName, QStringLiteral("pendant.ukova"));
  EXPECT_EQ(dialogs.openRequests.back().folder, filePath(QStringLiteral("sub")));
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

TEST_F(ConfigurationFilesTest,
       OpenCompletesATypedNameThatDoesNotExistWithTheConfigurationExtension) {
  startWithFactoryImage();
  writeBytes(filePath(QStringLiteral("pendant.ukova")), validImage(48));

  for (const QString& typed : {QStringLiteral("pendant"), QStringLiteral("pendant.txt")}) {
    SCOPED_TRACE(typed.toStdString());
    files->FileNew();
    open(filePath(typed));
    EXPECT_THAT(dialogs.texts(), IsEmpty());
    EXPECT_EQ(currentFile(), filePath(QStringLiteral("pendant.ukova")));
    EXPECT_EQ(batteryTestInterval(), QStringLiteral("48"));
  }
}

class ConfigurationFilesLoadTest : public ConfigurationFilesTest,
                                   public ::testing::WithParamInterface<LoadPath> {
 protected:
  void load(const QString& path) {
    startWithFactoryImage();
    view.setText(Field::edtRadioCodeNew, QStringLiteral("1234"));
    if (GetParam() == LoadPath::Open) open(path);
    if (GetParam() == LoadPath::Drop) files->DropFiles({path});
    // A folder before the file, and a switch that is not the service switch.
    if (GetParam() == LoadPath::CommandLine) {
      files->LoadCommandLineFile({filesDir.path(), QStringLiteral("-SERVICE-nicht"), path});
    }
  }
  void expectFactoryImageStays() {
    EXPECT_EQ(imageSource, SourceDefault);
    EXPECT_EQ(view.title, defaultTitle());
    EXPECT_EQ(view.status, Text(Msg::DefaultConfigurationLoaded));
    EXPECT_EQ(batteryTestInterval(), QStringLiteral("24"));
  }
};

TEST_P(ConfigurationFilesLoadTest, LoadsAFileOfExactly256Bytes) {
  const QString path = filePath(QStringLiteral("pendant.ukova"));
  writeBytes(path, validImage(48));
  load(path);

  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("48"));
  EXPECT_EQ(imageSource, SourceFile);
  EXPECT_EQ(currentFile(), path);
  EXPECT_EQ(view.title, titleNaming(QStringLiteral("pendant.ukova")));
  EXPECT_TRUE(view.text(Field::edtRadioCodeNew).isEmpty());
  const QString expectedStatus =
      GetParam() == LoadPath::Drop ? QStringLiteral("Konfigurationsdatei 'pendant.ukova' geöffnet")
                                   : Text(Msg::DefaultConfigurationLoaded);
  EXPECT_EQ(view.status, expectedStatus);
}

TEST_P(ConfigurationFilesLoadTest, RefusesEveryOtherSizeAndChangesNothing) {
  for (const int size : {0, 255, 257}) {
    SCOPED_TRACE(size);
    const QString path = filePath(QStringLiteral("size%1.ukova").arg(size));
    writeBytes(path, sized(validImage(48), size));
    load(path);
    EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::WrongFileSize)));
    EXPECT_TRUE(currentFile().isEmpty());
    expectFactoryImageStays();
  }
}

TEST_P(ConfigurationFilesLoadTest, RefusesAHugeFileByItsSizeAlone) {
  // 4 GiB + 256 bytes, sparse: a size kept in 32 bits would pass as 256.
  const QString path = filePath(QStringLiteral("riesig.ukova"));
  writeBytes(path, validImage(48));
  ASSERT_TRUE(QFile(path).resize((qint64{1} << 32) + ImageSize));
  load(path);
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::WrongFileSize)));
  EXPECT_TRUE(currentFile().isEmpty());
  expectFactoryImageStays();
}

TEST_P(ConfigurationFilesLoadTest, RefusesMissingFilesAndFolders) {
  ASSERT_TRUE(QDir(filesDir.path()).mkdir(QStringLiteral("folder.ukova")));
  for (const QString& name : {QStringLiteral("missing.ukova"), QStringLiteral("folder.ukova")}) {
    SCOPED_TRACE(name.toStdString());
    load(filePath(name));
    // The command line looks only for parameters that name existing files.
    if (GetParam() == LoadPath::CommandLine) {
      EXPECT_THAT(dialogs.texts(), IsEmpty());
    } else {
      EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::WrongFileSize)));
    }
    EXPECT_TRUE(currentFile().isEmpty());
    expectFactoryImageStays();
  }
}

TEST_P(ConfigurationFilesLoadTest,
       RefusesPipesDevicesAndLinkLoopsWithTheSizeMessageWithoutWaiting) {
  const QString pipe = filePath(QStringLiteral("pipe.ukova"));
  if (!MakeUnwrittenPipe(pipe))
    GTEST_SKIP() << "no named pipes, devices or link loops in this file system";
  const QString device = filePath(QStringLiteral("zero.ukova"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
  const QString loop = filePath(QStringLiteral("loop.ukova"));
  ASSERT_TRUE(QFile::link(loop, loop));
  for (const QString& path : {pipe, device, loop}) {
    SCOPED_TRACE(path.toStdString());
    load(path);
    EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::WrongFileSize)));
    EXPECT_TRUE(currentFile().isEmpty());
    expectFactoryImageStays();
  }
}

TEST_P(ConfigurationFilesLoadTest, AFileTheWindowRejectsStillBecomesTheCurrentFile) {
  QByteArray otherProduct = validImage(48);
  otherProduct[ProductTypeAddress] = 5;
  const QString path = filePath(QStringLiteral("fremd.ukova"));
  writeBytes(path, otherProduct);
  load(path);

  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::InvalidProductType)));
  EXPECT_EQ(view.text(Field::edtFirmwareType), QStringLiteral("unknown"));
  EXPECT_EQ(currentFile(), path);
  EXPECT_EQ(imageSource, SourceDefault);
  EXPECT_EQ(view.title, defaultTitle());
  EXPECT_EQ(view.status, Text(Msg::DefaultConfigurationLoaded));
}

TEST_P(ConfigurationFilesLoadTest, AFieldThatCannotBeShownIsReportedWithItsValueAndAddress) {
  QByteArray tooLong = validImage();
  tooLong[SampleIntervalAddress] =
      60;  // 65535 samples of 60 minutes: more hours than the field can take
  tooLong[InactivityCountAddress] = static_cast<char>(0xFF);
  tooLong[0x35] = static_cast<char>(0xFF);
  const QString path = filePath(QStringLiteral("lang.ukova"));
  writeBytes(path, tooLong);
  load(path);

  EXPECT_THAT(dialogs.texts(), Contains(FormatText(Msg::DataConversionFailed,
                                                   {QStringLiteral("255"), QStringLiteral("52")})));
  EXPECT_EQ(currentFile(), path);
  EXPECT_EQ(imageSource, SourceDefault);
  EXPECT_EQ(view.title, defaultTitle());
}

INSTANTIATE_TEST_SUITE_P(EveryLoadPath, ConfigurationFilesLoadTest,
                         ::testing::Values(LoadPath::Open, LoadPath::Drop, LoadPath::CommandLine),
                         loadPathName);

TEST_F(ConfigurationFilesTest, SaveOfAFactoryOrTransmitterConfigurationAsksForANameFirst) {
  startWithFactoryImage();
  dialogs.saveAnswers.push_back(filePath(QStringLiteral("erste")));
  files->FileSave();

  ASSERT_EQ(dialogs.saveRequests.size(), 1U);
  const FileDialogRequest request = dialogs.saveRequests.back();
  EXPECT_EQ(request.title, Text(Msg::SaveAsTitle));
  EXPECT_EQ(request.filterDescription, Text(Msg::ConfigurationFileFilter));
  EXPECT_EQ(request.fileName, QStringLiteral("*.ukova"));
  EXPECT_EQ(request.folder, filesDir.path());
  EXPECT_EQ(readBytes(filePath(QStringLiteral("erste.ukova"))), validImage());
  EXPECT_EQ(imageSource, SourceSavedAs);
  EXPECT_EQ(view.title, titleNaming(QStringLiteral("erste.ukova")));
  EXPECT_EQ(view.status, Text(Msg::ConfigurationFileSaved));

  imageSource = SourceTransmitter;
  files->FileSave();  // cancelled
  EXPECT_EQ(dialogs.saveRequests.size(), 2U);
  EXPECT_EQ(imageSource, SourceTransmitter);
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

TEST_F(ConfigurationFilesTest, SaveWritesTheFieldsOverTheBytesOfTheFileLastLoaded) {
  startWithFactoryImage();
  const QString path = filePath(QStringLiteral("pendant.ukova"));
  const QByteArray original = imageWithForeignBytes();
  writeBytes(path, original);
  // Replacing the file on save must not change who may read it.
  const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
  ASSERT_TRUE(QFile::setPermissions(path, ownerOnly));
  open(path);
  view.setText(Field::edtBatteryTestInterval, QStringLiteral("72"));
  view.status = QString();
  files->FileSave();

  EXPECT_TRUE(dialogs.saveRequests.empty());
  QByteArray expected = original;
  expected[BatteryTestInterval] = 72;
  EXPECT_EQ(readBytes(path), expected);
  if (FileSystemKeepsModeBits()) {
    EXPECT_EQ(QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
              ownerOnly);
  }
  EXPECT_EQ(view.status, Text(Msg::ConfigurationFileSaved));
  EXPECT_EQ(view.title, titleNaming(QStringLiteral("pendant.ukova")));
  EXPECT_EQ(imageSource, SourceFile);
}

TEST_F(ConfigurationFilesTest, SaveAfterARejectedFileWritesTheRejectedFileNotTheOneTheTitleNames) {
  startWithFactoryImage();
  const QString named = filePath(QStringLiteral("a.ukova"));
  const QString rejected = filePath(QStringLiteral("b.ukova"));
  QByteArray otherProduct = validImage(48);
  otherProduct[ProductTypeAddress] = 5;
  writeBytes(named, validImage(36));
  writeBytes(rejected, otherProduct);
  open(named);
  open(rejected);
  ASSERT_EQ(view.title, titleNaming(QStringLiteral("a.ukova")));
  files->FileSave();

  EXPECT_EQ(readBytes(named), validImage(36));
  EXPECT_EQ(readBytes(rejected), otherProduct);  // the fields show what b.ukova holds
  EXPECT_EQ(view.status, Text(Msg::ConfigurationFileSaved));
}

TEST_F(ConfigurationFilesTest, SaveAndSaveAsStopWhenTheBuildFailsOrTheWarningIsCancelled) {
  startWithFactoryImage();
  const QString path = filePath(QStringLiteral("pendant.ukova"));
  QByteArray fewSamples = validImage();
  fewSamples[SampleIntervalAddress] = 6;  // 10 samples of 6 minutes: one hour
  fewSamples[0x35] = 10;
  writeBytes(path, fewSamples);
  open(path);
  view.setText(Field::edtBatteryTestInterval, QStringLiteral("72"));

  view.confirmInactivityCount = false;
  files->FileSave();
  files->FileSaveAs();
  EXPECT_EQ(view.inactivityCountQuestions, 2);
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_EQ(readBytes(path), fewSamples);
  EXPECT_EQ(view.status, Text(Msg::DefaultConfigurationLoaded));

  dialogs.clear();
  // Only the key filter's characters, yet no number: the codec cannot build it.
  const QString separator = QLocale().decimalPoint();
  view.setText(Field::edtButtonActivationDelay, "1" + separator + "2" + separator + "3");
  files->FileSave();
  view.status = QStringLiteral("vorher");
  files->FileSaveAs();
  const QString failure = FormatText(Msg::ConversionFailedAtAddress, {QStringLiteral("54")});
  EXPECT_THAT(dialogs.texts(), ElementsAre(failure, failure));
  EXPECT_TRUE(view.status.isEmpty());
  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_EQ(readBytes(path), fewSamples);

  // A character no key types (a soft hyphen from AltGr+minus) would be read as 0: refused with
  // the field's range message before anything is built.
  dialogs.clear();
  view.setText(Field::edtButtonActivationDelay, QStringLiteral("0") + separator + "1");
  view.setText(Field::edtBatteryTestInterval, QStringLiteral("2\u00AD4"));
  files->FileSave();
  view.status = QStringLiteral("vorher");
  files->FileSaveAs();
  const QString range = Text(Msg::BatteryTestIntervalRange);
  EXPECT_THAT(dialogs.texts(), ElementsAre(range, range));
  EXPECT_TRUE(view.status.isEmpty());
  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_EQ(readBytes(path), fewSamples);
}

TEST_F(ConfigurationFilesTest, SaveAsAlwaysWritesAConfigurationExtension) {
  startWithFactoryImage();
  saveAs(filePath(QStringLiteral("name")));
  EXPECT_EQ(readBytes(filePath(QStringLiteral("name.ukova"))), validImage());
  EXPECT_EQ(view.status, Text(Msg::ConfigurationFileSaved));

  ASSERT_TRUE(QFile::remove(filePath(QStringLiteral("name.ukova"))));
  view.status = QString();
  saveAs(filePath(QStringLiteral("name.txt")));
  EXPECT_FALSE(QFile::exists(filePath(QStringLiteral("name.txt"))));
  EXPECT_EQ(readBytes(filePath(QStringLiteral("name.ukova"))), validImage());
  EXPECT_EQ(currentFile(), filePath(QStringLiteral("name.ukova")));
  EXPECT_EQ(view.title, titleNaming(QStringLiteral("name.ukova")));
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

TEST_F(ConfigurationFilesTest, SaveAsAsksBeforeOverwritingAndOnlyYesOverwrites) {
  startWithFactoryImage();
  const QString target = filePath(QStringLiteral("name.ukova"));
  const QByteArray before = imageWithForeignBytes();
  writeBytes(target, before);

  dialogs.answers = {mrNo};
  saveAs(filePath(QStringLiteral("name.txt")));
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].text, Text(Msg::ConfigurationFileExists));
  EXPECT_EQ(dialogs.messages[0].kind, BoxKind::Information);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(readBytes(target), before);
  EXPECT_EQ(imageSource, SourceDefault);
  EXPECT_TRUE(currentFile().isEmpty());
  EXPECT_EQ(view.title, defaultTitle());

  dialogs.answers = {mrYes};
  saveAs(filePath(QStringLiteral("name")));
  EXPECT_EQ(readBytes(target), validImage());
  EXPECT_EQ(imageSource, SourceSavedAs);
  EXPECT_EQ(currentFile(), target);
}

TEST_F(ConfigurationFilesTest, AReadOnlyConfigurationIsNeverReplaced) {
  startWithFactoryImage();
  const QString target = filePath(QStringLiteral("name.ukova"));
  const QByteArray before = imageWithForeignBytes();
  writeBytes(target, before);
  makeReadOnly(target);

  saveAs(filePath(QStringLiteral("name")));
  ASSERT_EQ(dialogs.messages.size(), 1U);
  EXPECT_EQ(dialogs.messages[0].text, Text(Msg::ConfigurationFileReadOnly));
  EXPECT_EQ(dialogs.messages[0].kind, BoxKind::Information);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::Ok);
  EXPECT_EQ(readBytes(target), before);
  EXPECT_EQ(imageSource, SourceDefault);
  EXPECT_TRUE(currentFile().isEmpty());

  // Save does not ask to overwrite, but says that the file is protected all the same.
  open(target);
  view.setText(Field::edtBatteryTestInterval, QStringLiteral("72"));
  dialogs.clear();
  files->FileSave();
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::ConfigurationFileReadOnly)));
  EXPECT_EQ(readBytes(target), before);
  EXPECT_EQ(view.status, Text(Msg::ConfigurationFileNotSaved));
}

TEST_F(ConfigurationFilesTest, AFailedSaveAsKeepsTheNewNameAndLeavesNoFileBehind) {
  startWithFactoryImage();
  const QString target = filePath(QStringLiteral("fehlt/name.ukova"));
  saveAs(filePath(QStringLiteral("fehlt/name")));

  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::ConfigurationNotSaved)));
  EXPECT_FALSE(QFileInfo::exists(filePath(QStringLiteral("fehlt"))));
  EXPECT_EQ(currentFile(), target);
  EXPECT_EQ(imageSource, SourceSavedAs);
  EXPECT_EQ(view.title, titleNaming(QStringLiteral("name.ukova")));
  EXPECT_EQ(view.status, Text(Msg::ConfigurationFileNotSaved));
}

TEST_F(ConfigurationFilesTest, ASaveThatWritesNothingSaysSoAndLeavesNoEarlierSavedReport) {
  const QString backup =
      dataFolder + QStringLiteral("Sicherungen/1A2B/2026-12-07_14-03-22_Lesen.ukova");
  const QString protectedFile = filePath(QStringLiteral("geschuetzt.ukova"));
  ASSERT_TRUE(QDir().mkpath(dataFolder + QStringLiteral("Sicherungen/1A2B")));
  for (const QString& path : {backup, protectedFile}) {
    writeBytes(path, validImage());
    makeReadOnly(path);
  }
  struct Case {
    const char* what;
    std::function<void()> save;
    QString message;
  };
  const Case cases[] = {
      {"Save As into a missing folder", [this] { saveAs(filePath(QStringLiteral("fehlt/name"))); },
       Text(Msg::ConfigurationNotSaved)},
      {"Save of a backup opened from the record",
       [this, &backup] {
         open(backup);
         files->FileSave();
       },
       Text(Msg::BackupWriteProtected)},
      {"Save of another write-protected file",
       [this, &protectedFile] {
         open(protectedFile);
         files->FileSave();
       },
       Text(Msg::ConfigurationFileReadOnly)},
  };
  startWithFactoryImage();
  int round = 0;
  for (const Case& c : cases) {
    saveAs(filePath(QStringLiteral("frueher%1").arg(++round)));
    ASSERT_EQ(view.status, Text(Msg::ConfigurationFileSaved)) << c.what;
    dialogs.clear();
    c.save();
    EXPECT_THAT(dialogs.texts(), ElementsAre(c.message)) << c.what;
    EXPECT_EQ(view.status, Text(Msg::ConfigurationFileNotSaved)) << c.what;
  }
  EXPECT_EQ(readBytes(backup), validImage());
}

}  // namespace
