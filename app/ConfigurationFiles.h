#pragma once

#include "files/ConfigurationNames.h"
#include "files/RecentFiles.h"
#include "image/ConfigurationDocument.h"
#include "image/ImageCodec.h"
#include "image/ImageComparison.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;
class UserDialogs;

// The main window as the File commands see it beside its configuration document: the
// 12-measurement warning and the few controls the commands touch.
class ConfigurationView {
 public:
  [[nodiscard]] virtual bool ConfirmInactivityCount(const ParameterImage& image) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual void SetTitleText(const QString& title) = 0;
  virtual void EmptyNewRadioCode() = 0;
  // The name, without extension, the file dialogs offer for what the window shows; none for the
  // dialogs' own pattern.
  [[nodiscard]] virtual QString SuggestedFileName() const { return {}; }

 protected:
  ~ConfigurationView() = default;
};

// The main window's members that make up its file state; the commands change them in place.
struct ConfigurationState {
  VembaData& vembaData;  // its CurrentFilePath
  ImageSourceKind& ImageSource;
  ParameterImage& WorkingImage;
  const QString& DataFolder;     // with trailing separator
  const QString& DefaultFolder;  // without
  const VembaIni& settings;      // keeps the recent files
};

// The window's configuration and a file, field by field.
struct FileComparison {
  std::vector<ComparedField> rows;
  QString path;
  InactivityLimitModeKind limitMode = LimitAsTime;  // how the window shows the limit
};

// The File commands, dropped files and the command-line file: they move 256-byte configuration
// files between the disk and the window.
class ConfigurationFiles {
 public:
  ConfigurationFiles(ConfigurationView& view, ConfigurationDocument& document,
                     const ConfigurationState& state, UserDialogs& dialogs, QWidget* dialogParent);

  void UpdateTitle();
  // The 256 bytes of a configuration file; none, after saying why, when it has another size or
  // cannot be read.
  [[nodiscard]] std::optional<ImageBytes> ReadConfigurationBytes(const QString& path);
  // The load shared by Open, drop and the command line; announce reports the file in the status.
  void LoadConfigurationFile(const QString& path, bool announce);

  void FileNew();
  void FileOpen();
  void FileSave();
  void FileSaveAs();
  // Compares the window with a file the user chooses, starting in the backups of the radio code;
  // none when the user cancelled or something could not be read (after saying why).
  [[nodiscard]] std::optional<FileComparison> CompareWithFile(const QString& radioCode);
  void DropFiles(const QStringList& paths);
  // Loads the first parameter that names anything on disk but a folder (a pipe or a device is
  // refused with the size message); later ones are not looked at.
  void LoadCommandLineFile(const QStringList& arguments);
  // Loads a file of the recent list; one that no longer exists leaves the list.
  void OpenRecentFile(const QString& path);
  [[nodiscard]] QStringList RecentFilePaths() const { return recentFiles_.Paths(); }

 private:
  void ReportShowFailure(int status);
  // Builds WorkingImage for saving and asks the 12-measurement question; false ends the save.
  [[nodiscard]] bool BuildForSaving();
  // Asks about a read-only or existing target; true when it may be written.
  [[nodiscard]] bool MayWriteTarget(const QString& target);
  void WriteWorkingImage(const QString& path);
  void ShowError(Msg::Id textNumber);
  // Puts a file that was opened or saved first in the recent list.
  void NoteRecentFile(const QString& path);

  ConfigurationView& view_;
  ConfigurationDocument& document_;
  ConfigurationState state_;
  UserDialogs& dialogs_;
  QWidget* dialogParent_;
  RecentFiles recentFiles_;
};
