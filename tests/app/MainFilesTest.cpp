// The File commands where the real main window takes part: the start-up, dropping onto the
// window, the title it shows, its fields after a round trip and the default-folder dialog (the
// recent-files menu in recent/RecentFilesControllerTest.cpp). What the commands say and write is
// tested against a fake window in tests/app/ConfigurationFilesTest.cpp.

#include "app/Main.h"
#include "app/MainFilesSession.h"
#include "app/folder/Selectfolder.h"
#include "image/Texts.h"
#include "support/FileBytes.h"
#include "support/QtPrinters.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

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

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

QString titleNaming(const QString& source) {
  return source + QStringLiteral(" - ") + Text(Msg::ProgramTitle);
}

QString defaultTitle() {
  return titleNaming(Text(Msg::TitleDefault));
}

class MainFilesTest : public MainFilesSession {
 protected:
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
  EXPECT_THAT(dialogs.texts(), ElementsAre(QStringLiteral("Unable to write to ") +
                                           QDir::toNativeSeparators(settingsPath)));
  EXPECT_EQ(window->DefaultFolder, refused);
  EXPECT_EQ(window->VembaIni.ReadSetting(SetupSection, ConfigDirectoryKey), chosen);
  window->form.mnuFileSaveAs->trigger();  // cancelled
  ASSERT_EQ(dialogs.saveRequests.size(), 1U);
  EXPECT_EQ(dialogs.saveRequests.back().folder, refused);
}

}  // namespace
