#pragma once

// A main window started in scratch folders, and the File commands a test runs through its menu.

#include "app/Main.h"
#include "support/FileBytes.h"
#include "support/SampleImage.h"
#include "support/ScratchStartup.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

inline constexpr int BatteryTestInterval = 0x2C;

// A configuration every field can show: the factory image.
inline QByteArray validImage(std::uint8_t batteryTestInterval = 24) {
  return SampleImageFile({{BatteryTestInterval, batteryTestInterval}});
}

class MainFilesSession : public ::testing::Test {
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

  void open(const QString& path) {
    dialogs.openAnswers.push_back(path);
    window->form.mnuFileOpen->trigger();
  }
  void saveAs(const QString& answer) {
    dialogs.saveAnswers.push_back(answer);
    window->form.mnuFileSaveAs->trigger();
  }

  QString batteryTestInterval() const { return window->form.edtBatteryTestInterval->text(); }
  QString currentFile() const { return window->vembaData.CurrentFilePath; }

  QTemporaryDir dataDir;
  QTemporaryDir filesDir;
  ScriptedDialogs dialogs;
  std::unique_ptr<TfrmMain> window;
};
