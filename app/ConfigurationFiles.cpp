#include "app/ConfigurationFiles.h"

#include "files/Backups.h"
#include "files/ConfigurationNames.h"
#include "files/DataFolders.h"
#include "files/ImageFiles.h"
#include "files/IniFile.h"
#include "image/Texts.h"
#include "ui/UserDialogs.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString fileNamePart(const QString& path) {
  return QFileInfo(path).fileName();
}

QString folderPart(const QString& path) {
  return QFileInfo(path).path();
}

FileDialogRequest configurationDialog(Msg::Id titleNumber, const QString& folder) {
  return FileDialogRequest{Text(titleNumber), Text(Msg::ConfigurationFileFilter),
                           ConfigurationPattern, ConfigurationPattern, folder};
}

}  // namespace

ConfigurationFiles::ConfigurationFiles(ConfigurationView& view, ConfigurationDocument& document,
                                       const ConfigurationState& state, UserDialogs& dialogs,
                                       QWidget* dialogParent)
    : view_(view),
      document_(document),
      state_(state),
      dialogs_(dialogs),
      dialogParent_(dialogParent),
      recentFiles_(state.settings) {}

void ConfigurationFiles::UpdateTitle() {
  QString source;
  switch (state_.ImageSource) {
    case SourceDefault:
      source = Text(Msg::TitleDefault);
      break;
    case SourceFile:
    case SourceSavedAs:
      source = fileNamePart(state_.vembaData.CurrentFilePath);
      break;
    case SourceTransmitter:
      source = Text(Msg::TitleReadFromPendant);
      break;
    default:
      view_.SetTitleText({});
      return;
  }
  view_.SetTitleText(QStringLiteral("%1 - %2").arg(source, Text(Msg::ProgramTitle)));
}

std::optional<ImageBytes> ConfigurationFiles::ReadConfigurationBytes(const QString& path) {
  ImageBytes bytes{};
  if (const std::optional<Msg::Id> refusal = ReadConfigurationFile(path, bytes)) {
    ShowError(*refusal);
    return std::nullopt;
  }
  return bytes;
}

void ConfigurationFiles::LoadConfigurationFile(const QString& path, bool announce) {
  const std::optional<ImageBytes> bytes = ReadConfigurationBytes(path);
  if (!bytes) return;
  // Set before the image is shown: a file the window rejects is still the one Save writes to.
  state_.vembaData.CurrentFilePath = path;
  VembaData::LoadImageBytes(state_.WorkingImage, *bytes, OriginLoad);
  const int status = document_.Show(state_.WorkingImage, OriginLoad);
  if (status != ImageOk) {
    ReportShowFailure(status);
    return;
  }
  state_.ImageSource = SourceFile;
  view_.EmptyNewRadioCode();
  UpdateTitle();
  if (announce) view_.SetStatusText(FormatText(Msg::ConfigurationFileOpened, {fileNamePart(path)}));
  NoteRecentFile(path);
}

void ConfigurationFiles::FileNew() {
  ImageBytes bytes{};
  // The factory image needs no exact size: its first 256 bytes count.
  if (!ReadImageFile(DataFilePath(state_.DataFolder, FactoryImageFileName), bytes)) {
    ShowError(Msg::DefaultBinMissing);
    view_.SetStatusText({});
    return;
  }
  VembaData::LoadImageBytes(state_.WorkingImage, bytes, OriginLoad);
  const int status = document_.Show(state_.WorkingImage, OriginLoad);
  if (status != ImageOk) {
    ReportShowFailure(status);
    return;
  }
  view_.SetStatusText(Text(Msg::DefaultConfigurationLoaded));
  state_.ImageSource = SourceDefault;
  view_.EmptyNewRadioCode();
  UpdateTitle();
}

void ConfigurationFiles::FileOpen() {
  FileDialogRequest request = configurationDialog(Msg::OpenTitle, state_.DefaultFolder);
  const QString& current = state_.vembaData.CurrentFilePath;
  if (!current.isEmpty()) {
    request.fileName = fileNamePart(current);
    request.folder = folderPart(current);
  }
  QString chosen = dialogs_.AskOpenFileName(dialogParent_, request);
  if (chosen.isEmpty()) return;
  if (!QFileInfo::exists(chosen)) chosen = WithConfigurationExtension(chosen);
  LoadConfigurationFile(chosen, false);
}

std::optional<FileComparison> ConfigurationFiles::CompareWithFile(const QString& radioCode) {
  // A technician compares with an earlier state of the same pendant most of the time.
  const QString backups = BackupFolder(state_.DataFolder, radioCode);
  const bool haveBackups = !radioCode.isEmpty() && QFileInfo(backups).isDir();
  const QString chosen = dialogs_.AskOpenFileName(
      dialogParent_,
      configurationDialog(Msg::CompareWithTitle,
                          haveBackups ? WithoutTrailingSeparator(backups) : state_.DefaultFolder));
  if (chosen.isEmpty()) return std::nullopt;
  const std::optional<ImageBytes> bytes = ReadConfigurationBytes(chosen);
  if (!bytes) return std::nullopt;
  // The window's configuration as Save would write it, without touching the working image.
  if (const std::optional<Msg::Id> refusal = document_.UntypedRefusal()) {
    ShowError(*refusal);
    return std::nullopt;
  }
  ParameterImage shown = state_.WorkingImage;
  const int status = document_.Build(shown, OriginSave);
  if (status != ImageOk) {
    dialogs_.ShowError(dialogParent_,
                       FormatText(Msg::ConversionFailedAtAddress, {QString::number(status)}));
    return std::nullopt;
  }
  ParameterImage file{};
  VembaData::LoadImageBytes(file, *bytes, OriginLoad);
  const CodecContext context = document_.Context();
  return FileComparison{
      CompareWindowWithImage(document_.Values(), shown, OriginSave, file, OriginLoad, context, Text,
                             FormatText, Msg::CompareTypedValue),
      chosen, context.limitMode};
}

void ConfigurationFiles::FileSave() {
  // A factory image or a transmitter's configuration is never written over a file unasked.
  if (state_.ImageSource != SourceFile && state_.ImageSource != SourceSavedAs) {
    FileSaveAs();
    return;
  }
  const QString& path = state_.vembaData.CurrentFilePath;
  // Said before anything is asked: the file stays as it is whatever the answers.
  if (IsWriteProtected(path)) {
    dialogs_.ShowInformation(dialogParent_, Text(IsInBackupsFolder(state_.DataFolder, path)
                                                     ? Msg::BackupWriteProtected
                                                     : Msg::ConfigurationFileReadOnly));
    view_.SetStatusText(Text(Msg::ConfigurationFileNotSaved));
    return;
  }
  if (!BuildForSaving()) return;
  WriteWorkingImage(path);
  UpdateTitle();
}

void ConfigurationFiles::FileSaveAs() {
  if (!BuildForSaving()) return;
  FileDialogRequest request = configurationDialog(Msg::SaveAsTitle, state_.DefaultFolder);
  if (const QString suggested = view_.SuggestedFileName(); !suggested.isEmpty()) {
    request.fileName = suggested + ConfigurationExtension;
  }
  const QString chosen = dialogs_.AskSaveFileName(dialogParent_, request);
  if (chosen.isEmpty()) return;
  const QString target = WithConfigurationExtension(chosen);
  if (!MayWriteTarget(target)) return;
  state_.vembaData.CurrentFilePath = target;
  state_.ImageSource = SourceSavedAs;
  WriteWorkingImage(target);
  UpdateTitle();
}

void ConfigurationFiles::DropFiles(const QStringList& paths) {
  if (paths.size() != 1) {
    ShowError(Msg::DropOneFileOnly);
    return;
  }
  const QString& path = paths.constFirst();
  if (!HasConfigurationExtension(path)) {
    ShowError(Msg::DroppedFileNotConfiguration);
    return;
  }
  LoadConfigurationFile(path, true);
}

void ConfigurationFiles::LoadCommandLineFile(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (NamesFile(argument)) {
      LoadConfigurationFile(argument, false);
      return;
    }
  }
}

void ConfigurationFiles::OpenRecentFile(const QString& path) {
  if (QFileInfo::exists(path)) {
    LoadConfigurationFile(path, true);
    return;
  }
  try {
    recentFiles_.Remove(path);
    view_.SetStatusText(FormatText(Msg::RecentFileGone, {QDir::toNativeSeparators(path)}));
  } catch (const IniWriteError& error) {
    view_.SetStatusText(FormatText(Msg::RecentFilesNotSaved, {error.message()}));
  }
}

void ConfigurationFiles::NoteRecentFile(const QString& path) {
  // The file itself was opened or saved; a list that cannot be kept must not undo that.
  try {
    recentFiles_.Add(path);
  } catch (const IniWriteError& error) {
    view_.SetStatusText(FormatText(Msg::RecentFilesNotSaved, {error.message()}));
  }
}

void ConfigurationFiles::ReportShowFailure(int status) {
  if (status == ImageWrongProduct) {
    ShowError(Msg::InvalidProductType);
    return;
  }
  const int value = status >= 0 && status < ImageSize ? state_.WorkingImage[status].value : 0;
  dialogs_.ShowError(dialogParent_, FormatText(Msg::DataConversionFailed,
                                               {QString::number(value), QString::number(status)}));
}

bool ConfigurationFiles::BuildForSaving() {
  if (const std::optional<Msg::Id> refusal = document_.UntypedRefusal()) {
    ShowError(*refusal);
    view_.SetStatusText({});
    return false;
  }
  const int status = document_.Build(state_.WorkingImage, OriginSave);
  if (status != ImageOk) {
    dialogs_.ShowError(dialogParent_,
                       FormatText(Msg::ConversionFailedAtAddress, {QString::number(status)}));
    view_.SetStatusText({});
    return false;
  }
  return view_.ConfirmInactivityCount(state_.WorkingImage);
}

bool ConfigurationFiles::MayWriteTarget(const QString& target) {
  if (!QFileInfo::exists(target)) return true;
  if (IsReadOnlyFile(target)) {
    dialogs_.ShowInformation(dialogParent_, Text(Msg::ConfigurationFileReadOnly));
    return false;
  }
  return dialogs_.ShowInformation(dialogParent_, Text(Msg::ConfigurationFileExists),
                                  BoxButtons::YesNo) == mrYes;
}

void ConfigurationFiles::WriteWorkingImage(const QString& path) {
  if (WriteImageFile(VembaData::ExtractImageBytes(state_.WorkingImage), path)) {
    view_.SetStatusText(Text(Msg::ConfigurationFileSaved));
    NoteRecentFile(path);
  } else {
    ShowError(Msg::ConfigurationNotSaved);
    // An earlier save's report must not stand beside a failed one.
    view_.SetStatusText(Text(Msg::ConfigurationFileNotSaved));
  }
}

void ConfigurationFiles::ShowError(Msg::Id textNumber) {
  dialogs_.ShowError(dialogParent_, Text(textNumber));
}
