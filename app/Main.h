#pragma once

#include "app/ConfigurationFiles.h"
#include "app/MainEnvironment.h"
#include "app/MainForm.h"
#include "files/VembaIni.h"
#include "image/ConfigurationDocument.h"
#include "image/ImageCodec.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"
#include "link/TransmitterOperations.h"
#include "link/opu/OpuLink.h"
#include "ui/OperationGuard.h"

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <memory>

class RecentFilesController;
class TransmitterCommands;
class SheetController;
class ConnectionCheckController;
class SafetyNetController;
class InterlockSettingsController;
class SeriesController;
class PortChoiceController;
class TechnicianController;
class RecipientController;

// The program's one main window: shows one transmitter configuration and owns all state of the
// running program.
class TfrmMain : public QMainWindow, public ConfigurationView {
  Q_OBJECT

 public:
  explicit TfrmMain(const MainEnvironment& environment, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void AttachDialogs(const MainDialogs& dialogs);

  // The configuration the window's fields show, bound both ways: an edit goes into it, an image
  // it shows goes into the fields through their setters, so that the fields' rules judge it.
  [[nodiscard]] ConfigurationDocument& Document() { return document_; }
  [[nodiscard]] const ConfigurationDocument& Document() const { return document_; }
  // Asks before a configuration is stored whose inactivity alarm would follow after fewer than
  // 12 identical position measurements; false ends the calling command.
  [[nodiscard]] bool ConfirmInactivityCount(const ParameterImage& image) override;

  void SetStatusText(const QString& text) override;
  [[nodiscard]] QString StatusText() const;
  void SetTitleText(const QString& title) override;
  void EmptyNewRadioCode() override;
  // After a read: the transmitter's radio code and the day of the read.
  [[nodiscard]] QString SuggestedFileName() const override;

  // Configuration files.
  void UpdateTitle();
  // Files dropped on the window: their paths, in the order the desktop gave them.
  void WMDropFiles(const QStringList& paths);

  [[nodiscard]] InactivityLimitModeKind InactivityLimitMode() const;
  [[nodiscard]] int LastLimitUnit() const;
  void SetLastLimitUnit(int unit);

  // The transmitter's code as the window shows it; the commands that read, write and re-code it.
  [[nodiscard]] QString RadioCodeOldText() const { return form.edtRadioCodeOld->text(); }
  [[nodiscard]] CodecContext ShownCodecContext() const { return document_.Context(); }
  [[nodiscard]] TransmitterCommands& Transmitter() { return *transmitter_; }
  [[nodiscard]] TransmitterOperations& Operations();
  // The 12-measurement warning for `count` measurements; true goes on.
  [[nodiscard]] bool AskFewMeasurements(int count);
  // True while a command runs; every command handler turns away a second one (OperationGuard).
  [[nodiscard]] bool OperationRunning() const { return operationGuard_.Busy(); }

  // The features added to the window, each owning its menu entries and windows.
  [[nodiscard]] RecentFilesController& RecentFiles() { return *recentFiles_; }
  [[nodiscard]] SheetController& Sheet() { return *sheet_; }
  [[nodiscard]] ConnectionCheckController& ConnectionCheck() { return *connectionCheck_; }
  [[nodiscard]] SafetyNetController& SafetyNet() { return *safetyNet_; }
  // The record window over another feature's window; the safety net owns it.
  void ShowRecord(QWidget* over);
  // None outside service mode.
  [[nodiscard]] InterlockSettingsController* Interlocks() { return interlocks_; }
  [[nodiscard]] SeriesController& Series() { return *series_; }
  [[nodiscard]] PortChoiceController& PortChoice() { return *portChoice_; }
  [[nodiscard]] TechnicianController& Technician() { return *technician_; }
  [[nodiscard]] RecipientController& Recipients() { return *recipients_; }
  // The port and trace every link of the program opens with: the chosen port or the command
  // line's.
  [[nodiscard]] OpuLinkOptions LinkOptions() const;

  // State of the running program.
  VembaData vembaData;
  ImageSourceKind ImageSource = SourceDefault;
  ParameterImage WorkingImage{};
  ParameterImage ReceivedImage{};  // the latest read's bytes, cleared by a read that failed
  ::VembaIni VembaIni;
  QString DataFolder;
  QString DefaultFolder;
  QString StandardConfigFolder;
  bool ServiceMode = false;
  OpuLink link;        // closed between operations
  QDateTime ReadTime;  // when the configuration shown was read from the transmitter

  MainForm form;

  // Says once that the trace file asked for on the command line is not being written.
  void ReportTraceProblem();

 public slots:
  void mnuFileNewClick();
  void mnuFileOpenClick();
  void mnuFileSaveClick();
  void mnuFileSaveAsClick();
  void mnuFileSelectDefaultFolderClick();
  void mnuFileExitClick();
  void mnuHelpAboutClick();
  void mnuCommChangeIdCodeClick();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FitToScreen();

  void FormCreate();
  void FormShow();
  void AcceptDroppedFiles();
  // The settings steps of the start; returns the status text they leave for the user, if any.
  [[nodiscard]] QString RunSettingsSteps();
  void SetMainCaptions();
  void SetInactivityLimitRow();
  void FillUnitSelector();
  void SetRemainingCaptions();

  void BindDocument();
  void ApplyShownValue(const ShownValue& shown);

  MainEnvironment environment_;
  MainDialogs dialogs_;
  ConfigurationDocument document_;
  ConfigurationFiles configurationFiles_;
  TransmitterCommands* transmitter_ = nullptr;
  OperationGuard operationGuard_;
  RecentFilesController* recentFiles_ = nullptr;
  SheetController* sheet_ = nullptr;
  ConnectionCheckController* connectionCheck_ = nullptr;
  SafetyNetController* safetyNet_ = nullptr;
  SeriesController* series_ = nullptr;
  bool traceProblemReported_ = false;
  InterlockSettingsController* interlocks_ = nullptr;
  PortChoiceController* portChoice_ = nullptr;
  TechnicianController* technician_ = nullptr;
  RecipientController* recipients_ = nullptr;
};
