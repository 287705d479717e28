#pragma once

#include "app/MainForm.h"
#include "files/ConfigurationFiles.h"
#include "files/SettingsStartup.h"
#include "files/VembaIni.h"
#include "image/FieldRules.h"
#include "image/ImageCodec.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"
#include "link/TransmitterOperations.h"
#include "link/opu/OpuLink.h"
#include "link/opu/OpuLinkOptions.h"
#include "ui/OperationGuard.h"

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>

#include <map>
#include <memory>

class UserDialogs;
class TfrmReceiveRadio;
class TfrmSelectDirectory;
class TfrmChangeCode;
class TfrmAbout;
class TfrmComparison;
class TfrmRecord;
class RecentFilesController;
class SheetController;
class ConnectionCheckController;

// The dialogs the main window opens; they are created after it.
struct MainDialogs {
  TfrmReceiveRadio* frmReceiveRadio = nullptr;
  TfrmSelectDirectory* frmSelectDirectory = nullptr;
  TfrmChangeCode* frmChangeCode = nullptr;
  TfrmAbout* frmAbout = nullptr;
};

// What the main window needs from outside: the user's dialogs, the command line and the OPU's
// port.
struct MainEnvironment {
  UserDialogs* dialogs = nullptr;
  StartupEnvironment startup;    // the platform's folders and the command line
  OpuLinkOptions linkOptions{};  // every link of the program's windows uses these
};

// The program's one main window: shows one transmitter configuration and owns all state of the
// running program.
class TfrmMain : public QMainWindow,
                 public ConfigurationView,
                 public TransmitterView,
                 public PollTimer,
                 public OperationObserver {
  Q_OBJECT

 public:
  explicit TfrmMain(const MainEnvironment& environment, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void AttachDialogs(const MainDialogs& dialogs);

  // Codec operations on the window's fields.
  [[nodiscard]] int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) override;
  [[nodiscard]] int BuildImage(ParameterImage& image, ImageOrigin origin) override;

  // Asks before a configuration is stored whose inactivity alarm would follow after fewer than
  // 12 identical position measurements; false ends the calling command.
  [[nodiscard]] bool ConfirmInactivityCount(const ParameterImage& image) override;

  void SetStatusText(const QString& text) override;
  [[nodiscard]] QString StatusText() const;
  void SetTitleText(const QString& title) override;
  void EmptyNewRadioCode() override;

  // Configuration files.
  void UpdateTitle() override;
  // Files dropped on the window: their paths, in the order the desktop gave them.
  void WMDropFiles(const QStringList& paths);

  [[nodiscard]] InactivityLimitModeKind InactivityLimitMode() const;
  [[nodiscard]] int LastLimitUnit() const;
  void SetLastLimitUnit(int unit);

  // The edit or check box that shows a parameter.
  [[nodiscard]] QWidget* ControlOf(Field field) const;

  // Transmitter operations (link/TransmitterOperations.h).
  [[nodiscard]] QString RadioCodeOldText() const override;
  void SetRadioCodeOldText(const QString& text) override;
  [[nodiscard]] QString RadioCodeNewText() const override;
  [[nodiscard]] CodecContext ShownCodecContext() const override;
  void StartPollTimer(int intervalMs) override;
  void StopPollTimer() override;
  // Keeps a finished operation in the programming record and its image as a backup.
  void OperationFinished(const OperationOutcome& outcome) override;
  [[nodiscard]] TransmitterOperations& Operations() { return *operations_; }
  // True while a command runs; every command handler turns away a second one (OperationGuard).
  [[nodiscard]] bool OperationRunning() const { return operationGuard_.Busy(); }

  // The features added to the window, each owning its menu entries and windows.
  [[nodiscard]] RecentFilesController& RecentFiles() { return *recentFiles_; }
  [[nodiscard]] SheetController& Sheet() { return *sheet_; }
  [[nodiscard]] ConnectionCheckController& ConnectionCheck() { return *connectionCheck_; }

  void btnGetVembaCodeClick();
  void btnReadFromDeviceClick();
  void mnuCommReadFromDeviceClick();
  void btnWriteToDeviceClick();
  void mnuCommWriteToDeviceClick();
  void tmrPollOpuInfoTimer();
  void tmrPollOpuTimer();

  // State of the running program.
  VembaData vembaData;
  ImageSourceKind ImageSource = SourceDefault;
  ParameterImage WorkingImage{};
  ParameterImage ReceivedImage{};
  ParameterImage OutgoingImage{};
  ::VembaIni VembaIni;
  QString DataFolder;
  QString DefaultFolder;
  QString StandardConfigFolder;
  QString CurrentRadioCode;
  QString RequestedRadioCode;
  bool ServiceMode = false;
  QString PollAnswer;
  OpuLink link;        // closed between operations
  QDateTime ReadTime;  // when the configuration shown was read from the transmitter

  // The safety net: record, comparison and verification after writing.
  QAction* mnuFileRecord = nullptr;
  QAction* mnuFileCompare = nullptr;
  QAction* mnuCommVerifyAfterWrite = nullptr;
  TfrmRecord* frmRecord = nullptr;
  TfrmComparison* frmComparison = nullptr;

  MainForm form;

 public slots:
  void mnuFileNewClick();
  void mnuFileOpenClick();
  void mnuFileSaveClick();
  void mnuFileSaveAsClick();
  void mnuFileSelectDefaultFolderClick();
  void mnuFileExitClick();
  void mnuHelpAboutClick();
  void mnuCommChangeIdCodeClick();
  void mnuFileRecordClick();
  void mnuFileCompareClick();
  void mnuCommVerifyAfterWriteClick(bool checked);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FitToScreen();
  void BindTransmitterOperations();
  void BindSafetyNet();

  void FormCreate();
  void FormShow();
  void AcceptDroppedFiles();
  // The settings steps of the start; returns the status text they leave for the user, if any.
  [[nodiscard]] QString RunSettingsSteps();
  void SetMainCaptions();
  void SetInactivityLimitRow();
  void FillUnitSelector();
  void SetRemainingCaptions();

  // Field rules: key filters, range rules, unit conversion and check-box dependencies.
  void BindFieldRules();
  void BindKeyFilters();
  void BindCheckBoxDependencies();
  void validateNumericKeyPress(QObject* sender, QChar& key);
  void validateFloatNumericKeyPress(QObject* sender, QChar& key);
  void validateRadioCodeKeyPress(QObject* sender, QChar& key);
  void edtNoShortTxChange() { ApplyRangeRule(Field::edtNoShortTx); }
  void edtNoLongTxChange() { ApplyRangeRule(Field::edtNoLongTx); }
  void edtBatteryTestIntervalChange() { ApplyRangeRule(Field::edtBatteryTestInterval); }
  void edtRadioTestAlarmIntervalChange() { ApplyRangeRule(Field::edtRadioTestAlarmInterval); }
  void edtMissedAckChange() { ApplyRangeRule(Field::edtMissedAck); }
  void edtActivityAlarmIntervalChange() { ApplyRangeRule(Field::edtActivityAlarmInterval); }
  void edtDementiaBlockTimeChange() { ApplyRangeRule(Field::edtDementiaBlockTime); }
  void edtButtonActivationDelayChange() { ApplyRangeRule(Field::edtButtonActivationDelay); }
  void edtInactivitySampleIntervalChange() { ApplyRangeRule(Field::edtInactivitySampleInterval); }
  void edtInactivityTiltThresholdChange() { ApplyRangeRule(Field::edtInactivityTiltThreshold); }
  void edtInactivityLimitChange();
  void edtValidateRadioCode(QObject* sender);
  void cbbxInactivityLimitUnitChange();
  void cbConfig_D3Click() { ApplyCheckBoxDependency(Field::cbConfig_D3); }
  void cbRadioTestAlarmActiveClick() { ApplyCheckBoxDependency(Field::cbRadioTestAlarmActive); }
  void cbConfig_D1Click() { ApplyCheckBoxDependency(Field::cbConfig_D1); }
  void cbConfig_D0Click() { ApplyCheckBoxDependency(Field::cbConfig_D0); }
  void ApplyRangeRule(Field field);
  void ApplyCheckBoxDependency(Field governingBox);
  void ShowRefusal(QLineEdit* edit, const RuleVerdict& verdict);

  [[nodiscard]] FieldValues CurrentFieldValues() const;
  void ApplyShownValue(const ShownValue& shown);
  [[nodiscard]] CodecContext codecContext() const;

  MainEnvironment environment_;
  MainDialogs dialogs_;
  ConfigurationFiles configurationFiles_;
  std::map<Field, QWidget*> fieldControls_;
  std::unique_ptr<TransmitterOperations> operations_;
  OperationGuard operationGuard_;
  RecentFilesController* recentFiles_ = nullptr;
  SheetController* sheet_ = nullptr;
  ConnectionCheckController* connectionCheck_ = nullptr;
};
