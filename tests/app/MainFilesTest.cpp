// The File commands, dropped files and the command-line file, run against the real main window
// with scripted dialogs and files in temporary folders.

#include "app/Main.h"
#include "app/recent/RecentFilesController.h"
#include "files/Selectfolder.h"
#include "support/FileBytes.h"
#include "support/QtPrinters.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"
#include "ui/Texts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include <sys/stat.h>

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

class MainFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dataDir.isValid());
    ASSERT_TRUE(filesDir.isValid());
  }

  void start(const QStringList& arguments = {}) {
    window.reset();
    dialogs.clear();
    window = std::make_unique<TfrmMain>(MainEnvironment{
        &dialogs, ScratchStartup(dataDir.path(), QStringList{filesDir.path()} + arguments)});
    window->winId();  // the platform window that takes dropped files
  }
  // Starts with the factory image in place and forgets what the start showed.
  void startWithFactoryImage() {
    writeBytes(dataDir.filePath(QStringLiteral("Default.bin")), validImage());
    start();
    dialogs.clear();
  }

  QString filePath(const QString& name) const { return filesDir.filePath(name); }
  static void makeReadOnly(const QString& path) {
    ASSERT_TRUE(QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
  }

  void open(const QString& path) {
    dialogs.openAnswers.push_back(path);
    window->form.mnuFileOpen->trigger();
  }
  void saveAs(const QString& answer) {
    dialogs.saveAnswers.push_back(answer);
    window->form.mnuFileSaveAs->trigger();
  }
  // Drops the files onto an edit field, as a user easily does: the window must open them, the
  // field must not take their paths as text.
  void drop(const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    // File managers offer the paths as plain text as well, which an edit would take.
    data.setText(paths.join(u'\n'));
    // The platform hands the drag to the top-level window, which picks the widget under it; the
    // drop goes to the widget that accepted the drag when it entered.
    QWindow* handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);
    const QLineEdit* field = window->form.edtBatteryTestInterval;
    const QPointF position = field->mapTo(window.get(), field->rect().center());
    QDragEnterEvent enter(position.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent event(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &event);
    QCoreApplication::processEvents();
  }

  QString batteryTestInterval() const { return window->form.edtBatteryTestInterval->text(); }
  QString currentFile() const { return window->vembaData.CurrentFilePath; }

  // Every edit text and check state of the window, by control name.
  std::map<QString, QString> shownFields() const {
    std::map<QString, QString> shown;
    for (const FieldEdit* edit : window->findChildren<FieldEdit*>()) {
      shown[edit->objectName()] = edit->text();
    }
    for (const QCheckBox* box : window->findChildren<QCheckBox*>()) {
      shown[box->objectName()] = box->isChecked() ? QStringLiteral("checked") : QString();
    }
    return shown;
  }

  QTemporaryDir dataDir;
  QTemporaryDir filesDir;
  ScriptedDialogs dialogs;
  std::unique_ptr<TfrmMain> window;
};

TEST_F(MainFilesTest, StartUpShowsTheFactoryImageWhateverTheCaseOfItsNameAndOnlyItsFirst256Bytes) {
  QByteArray factory = validImage(48);
  factory.append(QByteArray(44, '\x07'));  // 300 bytes; a size check would refuse them
  writeBytes(dataDir.filePath(QStringLiteral("Default.bin")), factory);
  start();

  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("48"));
  EXPECT_EQ(window->windowTitle(), defaultTitle());
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_TRUE(currentFile().isEmpty());
}

TEST_F(MainFilesTest, FirstStartWithTheShippedTemplatesShowsAndSavesTheFactoryImageUnasked) {
  const QString templates = QStringLiteral(UKOVA_TEMPLATES_DIR);
  for (const QString& name : {QStringLiteral("Values.i"), QStringLiteral("Default.b")}) {
    ASSERT_TRUE(QFile::copy(templates + name, dataDir.filePath(name)));
  }
  start();

  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(window->windowTitle(), defaultTitle());
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
  EXPECT_NE(window->form.edtFirmwareType->text(), QStringLiteral("unknown"));
  EXPECT_EQ(window->VembaIni.ReadSetting(SetupSection, AppVersionKey), GetProgramVersion());
  const QByteArray factoryImage = readBytes(templates + QStringLiteral("Default.b"));
  EXPECT_EQ(readBytes(dataDir.filePath(QStringLiteral("Default.bin"))), factoryImage);

  // Neither the 12-measurement warning nor a conversion error stands between it and a file.
  saveAs(filePath(QStringLiteral("werk")));
  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(readBytes(filePath(QStringLiteral("werk.ukova"))), factoryImage);
}

TEST_F(MainFilesTest, WithoutFactoryImageStartUpAndFileNewChangeNothingButTheStatus) {
  start();
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::DefaultBinMissing)));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("U-KOVA Programmer"));
  EXPECT_TRUE(window->StatusText().isEmpty());

  writeBytes(filePath(QStringLiteral("pendant.ukova")), validImage(48));
  open(filePath(QStringLiteral("pendant.ukova")));
  window->SetStatusText(QStringLiteral("vorher"));
  dialogs.clear();
  window->form.mnuFileNew->trigger();

  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::DefaultBinMissing)));
  EXPECT_TRUE(window->StatusText().isEmpty());
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("pendant.ukova")));
  EXPECT_EQ(window->ImageSource, SourceFile);
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("48"));
}

TEST_F(MainFilesTest, FileNewKeepsTheCurrentFileSoOpenStartsBesideIt) {
  startWithFactoryImage();
  window->form.mnuFileOpen->trigger();  // cancelled
  ASSERT_EQ(dialogs.openRequests.size(), 1U);
  const FileDialogRequest first = dialogs.openRequests.back();
  EXPECT_EQ(first.title, Text(Msg::OpenTitle));
  EXPECT_EQ(first.filterDescription, Text(Msg::ConfigurationFileFilter));
  EXPECT_EQ(first.filterPattern, QStringLiteral("*.ukova"));
  EXPECT_EQ(first.fileName, QStringLiteral("*.ukova"));
  EXPECT_EQ(first.folder, filesDir.path());
  EXPECT_EQ(window->ImageSource, SourceDefault);

  ASSERT_TRUE(QDir(filesDir.path()).mkdir(QStringLiteral("sub")));
  const QString pendant = filePath(QStringLiteral("sub/pendant.ukova"));
  writeBytes(pendant, validImage(48));
  open(pendant);
  window->form.edtRadioCodeNew->setText(QStringLiteral("1234"));
  window->form.mnuFileNew->trigger();

  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_EQ(window->windowTitle(), defaultTitle());
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("24"));
  EXPECT_TRUE(window->form.edtRadioCodeNew->text().isEmpty());
  EXPECT_EQ(currentFile(), pendant);

  window->form.mnuFileOpen->trigger();
  EXPECT_EQ(dialogs.openRequests.back().fileName, QStringLiteral("pendant.ukova"));
  EXPECT_EQ(dialogs.openRequests.back().folder, filePath(QStringLiteral("sub")));
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

TEST_F(MainFilesTest, OpenCompletesATypedNameThatDoesNotExistWithTheConfigurationExtension) {
  startWithFactoryImage();
  writeBytes(filePath(QStringLiteral("pendant.ukova")), validImage(48));

  for (const QString& typed : {QStringLiteral("pendant"), QStringLiteral("pendant.txt")}) {
    SCOPED_TRACE(typed.toStdString());
    window->form.mnuFileNew->trigger();
    open(filePath(typed));
    EXPECT_THAT(dialogs.texts(), IsEmpty());
    EXPECT_EQ(currentFile(), filePath(QStringLiteral("pendant.ukova")));
    EXPECT_EQ(batteryTestInterval(), QStringLiteral("48"));
  }
}

class MainFilesLoadTest : public MainFilesTest, public ::testing::WithParamInterface<LoadPath> {
 protected:
  void load(const QString& path) {
    if (GetParam() == LoadPath::CommandLine) {
      writeBytes(dataDir.filePath(QStringLiteral("default.bin")), validImage());
      start({QStringLiteral("-SERVICE-nicht"), path});
      return;
    }
    startWithFactoryImage();
    window->form.edtRadioCodeNew->setText(QStringLiteral("1234"));
    if (GetParam() == LoadPath::Open) open(path);
    if (GetParam() == LoadPath::Drop) drop({path});
  }
  void expectFactoryImageStays() {
    EXPECT_EQ(window->ImageSource, SourceDefault);
    EXPECT_EQ(window->windowTitle(), defaultTitle());
    EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
    EXPECT_EQ(batteryTestInterval(), QStringLiteral("24"));
  }
};

TEST_P(MainFilesLoadTest, LoadsAFileOfExactly256Bytes) {
  const QString path = filePath(QStringLiteral("pendant.ukova"));
  writeBytes(path, validImage(48));
  load(path);

  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("48"));
  EXPECT_EQ(window->ImageSource, SourceFile);
  EXPECT_EQ(currentFile(), path);
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("pendant.ukova")));
  EXPECT_TRUE(window->form.edtRadioCodeNew->text().isEmpty());
  const QString expectedStatus =
      GetParam() == LoadPath::Drop ? QStringLiteral("Konfigurationsdatei 'pendant.ukova' geöffnet")
                                   : Text(Msg::DefaultConfigurationLoaded);
  EXPECT_EQ(window->StatusText(), expectedStatus);
}

TEST_P(MainFilesLoadTest, RefusesEveryOtherSizeAndChangesNothing) {
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

TEST_P(MainFilesLoadTest, RefusesAHugeFileByItsSizeAlone) {
  // 4 GiB + 256 bytes, sparse: a size kept in 32 bits would pass as 256.
  const QString path = filePath(QStringLiteral("riesig.ukova"));
  writeBytes(path, validImage(48));
  ASSERT_TRUE(QFile(path).resize((qint64{1} << 32) + ImageSize));
  load(path);
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::WrongFileSize)));
  EXPECT_TRUE(currentFile().isEmpty());
  expectFactoryImageStays();
}

TEST_P(MainFilesLoadTest, RefusesMissingFilesAndFolders) {
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

TEST_P(MainFilesLoadTest, RefusesPipesDevicesAndLinkLoopsWithTheSizeMessageWithoutWaiting) {
  const QString pipe = filePath(QStringLiteral("pipe.ukova"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
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

TEST_P(MainFilesLoadTest, AFileTheWindowRejectsStillBecomesTheCurrentFile) {
  QByteArray otherProduct = validImage(48);
  otherProduct[ProductTypeAddress] = 5;
  const QString path = filePath(QStringLiteral("fremd.ukova"));
  writeBytes(path, otherProduct);
  load(path);

  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::InvalidProductType)));
  EXPECT_EQ(window->form.edtFirmwareType->text(), QStringLiteral("unknown"));
  EXPECT_EQ(currentFile(), path);
  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_EQ(window->windowTitle(), defaultTitle());
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
}

TEST_P(MainFilesLoadTest, AFieldThatCannotBeShownIsReportedWithItsValueAndAddress) {
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
  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_EQ(window->windowTitle(), defaultTitle());
}

INSTANTIATE_TEST_SUITE_P(EveryLoadPath, MainFilesLoadTest,
                         ::testing::Values(LoadPath::Open, LoadPath::Drop, LoadPath::CommandLine),
                         loadPathName);

TEST_F(MainFilesTest, TitleShowsTheFileNameExactly) {
  startWithFactoryImage();
  const QString name = QStringLiteral("a[*]b [*][*].ukova");
  writeBytes(filePath(name), validImage(48));
  open(filePath(name));
  ASSERT_EQ(currentFile(), filePath(name));
  // The title the desktop shows, after the window's own placeholder handling.
  EXPECT_EQ(window->windowHandle()->title(), titleNaming(name));
}

TEST_F(MainFilesTest, DropTakesExactlyOneConfigurationOrFactoryFile) {
  startWithFactoryImage();
  const QString first = filePath(QStringLiteral("a.ukova"));
  const QString upperBin = filePath(QStringLiteral("X.BIN"));
  const QString text = filePath(QStringLiteral("x.txt"));
  for (const QString& path : {first, upperBin, text}) writeBytes(path, validImage(48));

  drop({first, upperBin});
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::DropOneFileOnly)));
  drop({text});
  EXPECT_THAT(dialogs.texts(),
              ElementsAre(Text(Msg::DropOneFileOnly), Text(Msg::DroppedFileNotConfiguration)));
  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_TRUE(currentFile().isEmpty());

  drop({upperBin});
  EXPECT_EQ(dialogs.texts().size(), 2);
  EXPECT_EQ(currentFile(), upperBin);
  EXPECT_EQ(window->StatusText(), QStringLiteral("Konfigurationsdatei 'X.BIN' geöffnet"));
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("X.BIN")));
}

TEST_F(MainFilesTest, SaveOfAFactoryOrTransmitterConfigurationAsksForANameFirst) {
  startWithFactoryImage();
  dialogs.saveAnswers.push_back(filePath(QStringLiteral("erste")));
  window->form.mnuFileSave->trigger();

  ASSERT_EQ(dialogs.saveRequests.size(), 1U);
  const FileDialogRequest request = dialogs.saveRequests.back();
  EXPECT_EQ(request.title, Text(Msg::SaveAsTitle));
  EXPECT_EQ(request.filterDescription, Text(Msg::ConfigurationFileFilter));
  EXPECT_EQ(request.fileName, QStringLiteral("*.ukova"));
  EXPECT_EQ(request.folder, filesDir.path());
  EXPECT_EQ(readBytes(filePath(QStringLiteral("erste.ukova"))), validImage());
  EXPECT_EQ(window->ImageSource, SourceSavedAs);
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("erste.ukova")));
  EXPECT_EQ(window->StatusText(), Text(Msg::ConfigurationFileSaved));

  window->ImageSource = SourceTransmitter;
  window->form.mnuFileSave->trigger();  // cancelled
  EXPECT_EQ(dialogs.saveRequests.size(), 2U);
  EXPECT_EQ(window->ImageSource, SourceTransmitter);
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

TEST_F(MainFilesTest, SaveWritesTheFieldsOverTheBytesOfTheFileLastLoaded) {
  startWithFactoryImage();
  const QString path = filePath(QStringLiteral("pendant.ukova"));
  const QByteArray original = imageWithForeignBytes();
  writeBytes(path, original);
  // Replacing the file on save must not change who may read it.
  const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
  ASSERT_TRUE(QFile::setPermissions(path, ownerOnly));
  open(path);
  window->form.edtBatteryTestInterval->setText(QStringLiteral("72"));
  window->SetStatusText(QString());
  window->form.mnuFileSave->trigger();

  EXPECT_TRUE(dialogs.saveRequests.empty());
  QByteArray expected = original;
  expected[BatteryTestInterval] = 72;
  EXPECT_EQ(readBytes(path), expected);
  EXPECT_EQ(QFileInfo(path).permissions() & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
            ownerOnly);
  EXPECT_EQ(window->StatusText(), Text(Msg::ConfigurationFileSaved));
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("pendant.ukova")));
  EXPECT_EQ(window->ImageSource, SourceFile);
}

TEST_F(MainFilesTest, SaveAfterARejectedFileWritesTheRejectedFileNotTheOneTheTitleNames) {
  startWithFactoryImage();
  const QString named = filePath(QStringLiteral("a.ukova"));
  const QString rejected = filePath(QStringLiteral("b.ukova"));
  QByteArray otherProduct = validImage(48);
  otherProduct[ProductTypeAddress] = 5;
  writeBytes(named, validImage(36));
  writeBytes(rejected, otherProduct);
  open(named);
  open(rejected);
  ASSERT_EQ(window->windowTitle(), titleNaming(QStringLiteral("a.ukova")));
  window->form.mnuFileSave->trigger();

  EXPECT_EQ(readBytes(named), validImage(36));
  EXPECT_EQ(readBytes(rejected), otherProduct);  // the fields show what b.ukova holds
  EXPECT_EQ(window->StatusText(), Text(Msg::ConfigurationFileSaved));
}

TEST_F(MainFilesTest, SaveAndSaveAsStopWhenTheBuildFailsOrTheWarningIsCancelled) {
  startWithFactoryImage();
  const QString path = filePath(QStringLiteral("pendant.ukova"));
  QByteArray fewSamples = validImage();
  fewSamples[SampleIntervalAddress] = 6;  // 10 samples of 6 minutes: one hour
  fewSamples[0x35] = 10;
  writeBytes(path, fewSamples);
  open(path);
  window->form.edtBatteryTestInterval->setText(QStringLiteral("72"));

  dialogs.answers = {mrCancel, mrCancel};
  window->form.mnuFileSave->trigger();
  window->form.mnuFileSaveAs->trigger();
  ASSERT_EQ(dialogs.messages.size(), 2U);
  EXPECT_EQ(dialogs.messages[0].buttons, BoxButtons::OkCancel);
  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_EQ(readBytes(path), fewSamples);
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));

  dialogs.clear();
  window->form.edtButtonActivationDelay->setText(QStringLiteral("?.?"));
  window->form.mnuFileSave->trigger();
  window->SetStatusText(QStringLiteral("vorher"));
  window->form.mnuFileSaveAs->trigger();
  const QString failure = FormatText(Msg::ConversionFailedAtAddress, {QStringLiteral("54")});
  EXPECT_THAT(dialogs.texts(), ElementsAre(failure, failure));
  EXPECT_TRUE(window->StatusText().isEmpty());
  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_EQ(readBytes(path), fewSamples);
}

TEST_F(MainFilesTest, SaveAsAlwaysWritesAConfigurationExtension) {
  startWithFactoryImage();
  saveAs(filePath(QStringLiteral("name")));
  EXPECT_EQ(readBytes(filePath(QStringLiteral("name.ukova"))), validImage());
  EXPECT_EQ(window->StatusText(), Text(Msg::ConfigurationFileSaved));

  ASSERT_TRUE(QFile::remove(filePath(QStringLiteral("name.ukova"))));
  window->SetStatusText(QString());
  saveAs(filePath(QStringLiteral("name.txt")));
  EXPECT_FALSE(QFile::exists(filePath(QStringLiteral("name.txt"))));
  EXPECT_EQ(readBytes(filePath(QStringLiteral("name.ukova"))), validImage());
  EXPECT_EQ(currentFile(), filePath(QStringLiteral("name.ukova")));
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("name.ukova")));
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

TEST_F(MainFilesTest, SaveAsAsksBeforeOverwritingAndOnlyYesOverwrites) {
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
  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_TRUE(currentFile().isEmpty());
  EXPECT_EQ(window->windowTitle(), defaultTitle());

  dialogs.answers = {mrYes};
  saveAs(filePath(QStringLiteral("name")));
  EXPECT_EQ(readBytes(target), validImage());
  EXPECT_EQ(window->ImageSource, SourceSavedAs);
  EXPECT_EQ(currentFile(), target);
}

TEST_F(MainFilesTest, AReadOnlyConfigurationIsNeverReplaced) {
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
  EXPECT_EQ(window->ImageSource, SourceDefault);
  EXPECT_TRUE(currentFile().isEmpty());

  // Save does not ask, but its write fails on the protected file all the same.
  open(target);
  window->form.edtBatteryTestInterval->setText(QStringLiteral("72"));
  dialogs.clear();
  window->form.mnuFileSave->trigger();
  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::ConfigurationNotSaved)));
  EXPECT_EQ(readBytes(target), before);
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
}

TEST_F(MainFilesTest, AFailedSaveAsKeepsTheNewNameAndLeavesNoFileBehind) {
  startWithFactoryImage();
  const QString target = filePath(QStringLiteral("fehlt/name.ukova"));
  saveAs(filePath(QStringLiteral("fehlt/name")));

  EXPECT_THAT(dialogs.texts(), ElementsAre(Text(Msg::ConfigurationNotSaved)));
  EXPECT_FALSE(QFileInfo::exists(filePath(QStringLiteral("fehlt"))));
  EXPECT_EQ(currentFile(), target);
  EXPECT_EQ(window->ImageSource, SourceSavedAs);
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("name.ukova")));
  EXPECT_EQ(window->StatusText(), Text(Msg::DefaultConfigurationLoaded));
}

TEST_F(MainFilesTest, SavedFieldsComeBackAfterOpeningTheFileEvenOnALongPath) {
  startWithFactoryImage();
  window->form.edtBatteryTestInterval->setText(QStringLiteral("36"));
  window->form.edtNoShortTx->setText(QStringLiteral("2"));
  window->form.edtDementiaBlockTime->setText(QStringLiteral("5"));
  window->form.edtActivityAlarmInterval->setText(QStringLiteral("12"));
  window->form.cbConfig_D4->setChecked(true);
  const auto saved = shownFields();

  // Deeper than the 260 characters some platforms allow a path.
  QString folder = filesDir.path();
  for (int level = 0; level < 6; ++level) folder += u'/' + QString(50, QChar(u'a' + level));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString target = folder + QStringLiteral("/rundreise.ukova");
  ASSERT_GT(target.size(), 300);
  saveAs(folder + QStringLiteral("/rundreise"));
  window->form.mnuFileNew->trigger();
  ASSERT_NE(shownFields(), saved);
  drop({target});

  EXPECT_THAT(dialogs.texts(), IsEmpty());
  EXPECT_EQ(shownFields(), saved);
  EXPECT_EQ(currentFile(), target);
  EXPECT_EQ(window->windowTitle(), titleNaming(QStringLiteral("rundreise.ukova")));
}

TEST_F(MainFilesTest, ChosenDefaultFolderIsUsedAtOnceEvenWhenTheSettingsRefuseIt) {
  startWithFactoryImage();
  TfrmSelectDirectory selectDirectory(dialogs, window.get());
  window->AttachDialogs(MainDialogs{nullptr, &selectDirectory, nullptr, nullptr});
  const auto chooseInDialog = [&selectDirectory](const QString& folder) {
    QTimer::singleShot(0, &selectDirectory, [&selectDirectory, folder] {
      selectDirectory.edtActiveConfigDirectory->setText(folder);
      selectDirectory.btnOK->click();
    });
  };
  const QString settingsPath = dataDir.filePath(QStringLiteral("Values.ini"));

  const QString chosen = filePath(QStringLiteral("gewählt"));
  chooseInDialog(chosen + u'/');
  window->form.mnuFileSelectDefaultFolder->trigger();
  EXPECT_EQ(window->DefaultFolder, chosen);
  EXPECT_EQ(window->VembaIni.ReadSetting(SetupSection, ConfigDirectoryKey), chosen);

  makeReadOnly(settingsPath);
  const QString refused = filePath(QStringLiteral("abgelehnt"));
  chooseInDialog(refused);
  window->form.mnuFileSelectDefaultFolder->trigger();
  EXPECT_THAT(dialogs.texts(), ElementsAre(QStringLiteral("Unable to write to ") + settingsPath));
  EXPECT_EQ(window->DefaultFolder, refused);
  EXPECT_EQ(window->VembaIni.ReadSetting(SetupSection, ConfigDirectoryKey), chosen);
  window->form.mnuFileSaveAs->trigger();  // cancelled
  ASSERT_EQ(dialogs.saveRequests.size(), 1U);
  EXPECT_EQ(dialogs.saveRequests.back().folder, refused);
}

TEST_F(MainFilesTest, RecentFilesSurviveARestartKeepTheirOrderAndLoseADeletedFile) {
  startWithFactoryImage();
  const QString first = filePath(QStringLiteral("erste & beste.ukova"));
  const QString second = filePath(QStringLiteral("zweite.ukova"));
  writeBytes(first, validImage(11));
  open(first);
  saveAs(second);
  const auto recentEntries = [this] {
    emit window->form.mnuFile->aboutToShow();
    QStringList captions;
    for (const QAction* entry : window->RecentFiles().mnuFileRecent->actions())
      captions << entry->text();
    return captions;
  };

  start();
  EXPECT_THAT(recentEntries(), ElementsAre(QStringLiteral("&1 ") + QString(second),
                                           QStringLiteral("&2 ") +
                                               QString(first).replace(u'&', QStringLiteral("&&"))));
  window->RecentFiles().mnuFileRecent->actions().at(1)->trigger();
  EXPECT_EQ(currentFile(), first);
  EXPECT_EQ(batteryTestInterval(), QStringLiteral("11"));
  EXPECT_EQ(window->StatusText(),
            FormatText(Msg::ConfigurationFileOpened, {QStringLiteral("erste & beste.ukova")}));

  ASSERT_TRUE(QFile::remove(second));
  ASSERT_EQ(recentEntries().size(), 2);
  window->RecentFiles().mnuFileRecent->actions().at(1)->trigger();
  EXPECT_EQ(window->StatusText(), FormatText(Msg::RecentFileGone, {second}));
  EXPECT_EQ(currentFile(), first);
  EXPECT_EQ(recentEntries().size(), 1);
  EXPECT_TRUE(window->RecentFiles().mnuFileRecent->menuAction()->isEnabled());
  EXPECT_THAT(dialogs.texts(), IsEmpty());
}

}  // namespace
