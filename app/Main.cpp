#include "app/Main.h"

#include "app/about.h"
#include "app/check/ConnectionCheckController.h"
#include "app/recent/RecentFilesController.h"
#include "app/sheet/SheetController.h"
#include "files/IniFile.h"
#include "files/Selectfolder.h"
#include "ui/FormHelpers.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>

namespace {

void setCaption(QWidget* widget, Msg::Id number) {
  if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(Text(number));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(Text(number));
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(Text(number));
  }
}

}  // namespace

TfrmMain::TfrmMain(const MainEnvironment& environment, QWidget* parent)
    : QMainWindow(parent),
      link(environment.linkOptions),
      environment_(environment),
      configurationFiles_(*this,
                          ConfigurationState{vembaData, ImageSource, WorkingImage, DataFolder,
                                             DefaultFolder, VembaIni},
                          *environment_.dialogs, this) {
  CreateForm();
  fieldControls_ = {
      {Field::edtRadioCodeOld, edtRadioCodeOld},
      {Field::edtRadioCodeNew, edtRadioCodeNew},
      {Field::edtProductionDate, edtProductionDate},
      {Field::edtRadioTestAlarmInterval, edtRadioTestAlarmInterval},
      {Field::edtMissedAck, edtMissedAck},
      {Field::cbRadioTestAlarmActive, cbRadioTestAlarmActive},
      {Field::edtButtonCounter, edtButtonCounter},
      {Field::edtBatteryTestInterval, edtBatteryTestInterval},
      {Field::cbConfig_D0, cbConfig_D0},
      {Field::cbConfig_D1, cbConfig_D1},
      {Field::cbConfig_D2, cbConfig_D2},
      {Field::cbConfig_D3, cbConfig_D3},
      {Field::cbConfig_D4, cbConfig_D4},
      {Field::cbConfig_D5, cbConfig_D5},
      {Field::edtFirmwareType, edtFirmwareType},
      {Field::edtFirmwareVersion, edtFirmwareVersion},
      {Field::edtInactivitySampleInterval, edtInactivitySampleInterval},
      {Field::edtInactivityTiltThreshold, edtInactivityTiltThreshold},
      {Field::edtDementiaBlockTime, edtDementiaBlockTime},
      {Field::edtNoShortTx, edtNoShortTx},
      {Field::edtNoLongTx, edtNoLongTx},
      {Field::edtInactivityLimit, edtInactivityLimit},
      {Field::edtButtonActivationDelay, edtButtonActivationDelay},
      {Field::edtActivityAlarmInterval, edtActivityAlarmInterval},
      {Field::edtTotalTxCounter, edtTotalTxCounter},
      {Field::edtInactivityRetransmissionAttempts, edtInactivityRetransmissionAttempts},
  };
  connect(mnuFileNew, &QAction::triggered, this, &TfrmMain::mnuFileNewClick);
  connect(mnuFileOpen, &QAction::triggered, this, &TfrmMain::mnuFileOpenClick);
  connect(mnuFileSave, &QAction::triggered, this, &TfrmMain::mnuFileSaveClick);
  connect(mnuFileSaveAs, &QAction::triggered, this, &TfrmMain::mnuFileSaveAsClick);
  connect(mnuFileSelectDefaultFolder, &QAction::triggered, this,
          &TfrmMain::mnuFileSelectDefaultFolderClick);
  connect(mnuFileExit, &QAction::triggered, this, &TfrmMain::mnuFileExitClick);
  connect(mnuHelpAbout, &QAction::triggered, this, &TfrmMain::mnuHelpAboutClick);
  recentFiles_ = new RecentFilesController(*mnuFile, mnuDelimiter1, configurationFiles_,
                                           operationGuard_, this);
  sheet_ = new SheetController(*this, *mnuFile, mnuDelimiter1, *environment_.dialogs);
  connectionCheck_ = new ConnectionCheckController(*this, *mnuHelp, mnuHelpAbout,
                                                   environment_.linkOptions, operationGuard_);
  BindFieldRules();
  BindTransmitterOperations();
  FormCreate();
  BindSafetyNet();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate() {
  AcceptDroppedFiles();
  const QString settingsNotice = RunSettingsSteps();
  SetMainCaptions();
  SetInactivityLimitRow();
  FillUnitSelector();
  SetRemainingCaptions();
  BindRowLabels();
  mnuFileNewClick();
  // After File New, whose report would hide it.
  if (!settingsNotice.isEmpty()) SetStatusText(settingsNotice);
  configurationFiles_.LoadCommandLineFile(environment_.startup.arguments);
}

void TfrmMain::AcceptDroppedFiles() {
  setAcceptDrops(true);
  // An edit would take a dropped file's path as text; refusing drops there hands them on to the
  // window, so a file dropped anywhere on it is opened.
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setAcceptDrops(false);
}

QString TfrmMain::RunSettingsSteps() {
  const StartupSettings settings = RunSettingsStartup(environment_.startup, VembaIni);
  DataFolder = settings.DataFolder;
  StandardConfigFolder = settings.StandardConfigFolder;
  DefaultFolder = settings.DefaultFolder;
  ServiceMode = settings.ServiceMode;
  // A settings file that cannot be written is reported, and the start-up goes on.
  for (const QString& error : settings.errors) environment_.dialogs->ShowError(this, error);
  return settings.notice;
}

void TfrmMain::SetMainCaptions() {
  const std::pair<QAction*, Msg::Id> menuCaptions[] = {
      {mnuFile->menuAction(), Msg::MenuFile},
      {mnuFileNew, Msg::MenuFileNew},
      {mnuFileOpen, Msg::MenuFileOpen},
      {mnuFileSave, Msg::MenuFileSave},
      {mnuFileSaveAs, Msg::MenuFileSaveAs},
      {mnuFileSelectDefaultFolder, Msg::MenuFileSelectDefaultFolder},
      {mnuFileExit, Msg::MenuFileExit},
      {mnuComm->menuAction(), Msg::MenuComm},
      {mnuCommReadFromDevice, Msg::MenuCommRead},
      {mnuCommWriteToDevice, Msg::MenuCommWrite},
      {mnuCommChangeIdCode, Msg::MenuCommChangeCode},
      {mnuHelp->menuAction(), Msg::MenuHelp},
      {mnuHelpAbout, Msg::MenuHelpAbout},
  };
  for (const auto& [action, number] : menuCaptions) action->setText(Text(number));

  const std::pair<QWidget*, Msg::Id> captions[] = {
      {gbxRadioParameters, Msg::CaptionRadioParameters},
      {lblRadioCodeId, Msg::CaptionRadioCode},
      {lblOld, Msg::CaptionCurrent},
      {lblNew, Msg::CaptionNew},
      {lblNoOfShortTransmissions, Msg::CaptionShortTransmissions},
      {lblNoOfLongTransmissions, Msg::CaptionLongTransmissions},
      {gbxTechnicalAlarmsInfo, Msg::CaptionTechnicalAlarms},
      {lblActivityAlarmActive, Msg::CaptionActivityAlarmActive},
      {lblActivityAlarmInterval, Msg::CaptionActivityAlarmInterval},
      {lblRadioTestAlarmActive, Msg::CaptionRadioTestAlarmActive},
      {lblRadioTestAlarmInterval, Msg::CaptionRadioTestAlarmInterval},
      {lblTransmitTestAlarmWithButtonCounterValue, Msg::CaptionTestAlarmWithButtonCounter},
      {lblNoOfMissedAckBeforeSleep, Msg::CaptionMissedAckBeforeSleep},
      {lblBatteryTestInterval, Msg::CaptionBatteryTestInterval},
      {lblButtonCounter, Msg::CaptionButtonCounter},
      {lblTotalTxCounter, Msg::CaptionTotalTxCounter},
      {lblCompatibleAlarmTypes, Msg::CaptionCompatibleAlarmTypes},
      {gbxUserAlarms, Msg::CaptionUserAlarms},
      {lblAlarmButtonActive, Msg::CaptionAlarmButtonActive},
      {lblButtonActivationDelay, Msg::CaptionButtonActivationDelay},
      {lblDementiaBlockTime, Msg::CaptionDementiaBlockTime},
      {lblInactivitySenseActive, Msg::CaptionInactivitySenseActive},
  };
  for (const auto& [widget, number] : captions) setCaption(widget, number);
}

void TfrmMain::SetInactivityLimitRow() {
  lblInactivityLimit->setText(
      Text(ServiceMode ? Msg::CaptionInactivityLimitCount : Msg::CaptionInactivityLimit));
  edtInactivityLimit->setTypedMaxLength(ServiceMode ? 5 : 4);
  edtInactivityLimit->setProperty(TagProperty,
                                  static_cast<int>(ServiceMode ? LimitAsCount : LimitAsTime));
  if (ServiceMode) cbbxInactivityLimitUnit->setEnabled(false);
  edtInactivitySampleInterval->setEnabled(true);
  edtInactivityTiltThreshold->setEnabled(ServiceMode);
}

void TfrmMain::FillUnitSelector() {
  cbbxInactivityLimitUnit->clear();
  cbbxInactivityLimitUnit->addItem(Text(Msg::UnitMinutes));
  cbbxInactivityLimitUnit->addItem(Text(Msg::UnitHours));
  SetLastLimitUnit(NoUnit);
  cbbxInactivityLimitUnit->setCurrentIndex(-1);
}

void TfrmMain::SetRemainingCaptions() {
  const std::pair<QWidget*, Msg::Id> captions[] = {
      {lblInactivitySampleInterval, Msg::CaptionSampleInterval},
      {lblInactivityTiltThreshold, Msg::CaptionTiltThreshold},
      {lblInactivityRetransmissionAttempts, Msg::CaptionRetransmissionAttempts},
      {lblIgnoreRetransmissionAck, Msg::CaptionIgnoreRetransmissionAck},
      {gbxProductInformation, Msg::CaptionProductInformation},
      {lblFirmwareVersion, Msg::CaptionFirmwareVersion},
      {lblProductionDate, Msg::CaptionProductionDate},
      {lblFirmwareType, Msg::CaptionFirmwareType},
      {btnReadFromDevice, Msg::ButtonRead},
      {btnWriteToDevice, Msg::ButtonWrite},
  };
  for (const auto& [widget, number] : captions) setCaption(widget, number);
}

bool TfrmMain::event(QEvent* event) {
  // A main window shows the status tip of every menu item under the mouse in its status bar, an
  // empty one too, which would wipe the last report. Our items carry no tips: the report stays.
  if (event->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(event);
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmMain::FormShow() {
  FitToScreen();
  CentreOnScreen(*this);
  // The program's name for the desktop. Not the display name: Linux desktops would append that
  // to every caption ("Fehler — ..."), and the boxes' captions are fixed.
  QGuiApplication::setApplicationName(Text(Msg::ProgramTitle));
}

void TfrmMain::mnuFileNewClick() {
  operationGuard_.Run([this] { configurationFiles_.FileNew(); });
}

void TfrmMain::mnuFileOpenClick() {
  operationGuard_.Run([this] { configurationFiles_.FileOpen(); });
}

void TfrmMain::mnuFileSaveClick() {
  operationGuard_.Run([this] { configurationFiles_.FileSave(); });
}

void TfrmMain::mnuFileSaveAsClick() {
  operationGuard_.Run([this] { configurationFiles_.FileSaveAs(); });
}

void TfrmMain::UpdateTitle() {
  configurationFiles_.UpdateTitle();
}

void TfrmMain::WMDropFiles(const QStringList& paths) {
  operationGuard_.Run([this, &paths] { configurationFiles_.DropFiles(paths); });
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) paths << url.toLocalFile();
  event->acceptProposedAction();
  // The desktop's drag ends first: a message box inside the drop would hold the dragging program.
  QMetaObject::invokeMethod(
      this, [this, paths] { WMDropFiles(paths); }, Qt::QueuedConnection);
}

void TfrmMain::AttachDialogs(const MainDialogs& dialogs) {
  dialogs_ = dialogs;
  operations_->AttachWaitingDialog(dialogs.frmReceiveRadio);
}

void TfrmMain::mnuFileSelectDefaultFolderClick() {
  // The refused write is shown here: an exception must not leave a slot that Qt's signal
  // delivery called. The chosen folder is used for this run all the same.
  operationGuard_.Run([this] {
    try {
      (void)SelectDefaultFolder(*dialogs_.frmSelectDirectory, DefaultFolder, VembaIni);
    } catch (const IniWriteError& error) {
      environment_.dialogs->ShowError(this, error.message());
    }
  });
}

void TfrmMain::mnuHelpAboutClick() {
  // The dialog asks the OPU for its version each time it shows.
  operationGuard_.Run([this] { dialogs_.frmAbout->exec(); });
}

void TfrmMain::mnuFileExitClick() {
  operationGuard_.Run([] { QApplication::quit(); });
}

InactivityLimitModeKind TfrmMain::InactivityLimitMode() const {
  return static_cast<InactivityLimitModeKind>(edtInactivityLimit->property(TagProperty).toInt());
}

int TfrmMain::LastLimitUnit() const {
  return cbbxInactivityLimitUnit->property(TagProperty).toInt();
}

void TfrmMain::SetLastLimitUnit(int unit) {
  cbbxInactivityLimitUnit->setProperty(TagProperty, unit);
}

QWidget* TfrmMain::ControlOf(Field field) const {
  return fieldControls_.at(field);
}

void TfrmMain::SetStatusText(const QString& text) {
  sbStatus->showMessage(text);
}

QString TfrmMain::StatusText() const {
  return sbStatus->currentMessage();
}

void TfrmMain::SetTitleText(const QString& title) {
  // A window title takes "[*]" as the place of the modified mark and shows a doubled one as
  // itself; a file name is shown exactly as it is.
  setWindowTitle(QString(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void TfrmMain::EmptyNewRadioCode() {
  edtRadioCodeNew->setText({});
}

CodecContext TfrmMain::codecContext() const {
  return CodecContext{InactivityLimitMode(), QLocale()};
}

int TfrmMain::ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) {
  const ShowResult result = ShowImageValues(image, expectedOrigin, codecContext());
  for (const ShownValue& shown : result.values) ApplyShownValue(shown);
  return result.status;
}

void TfrmMain::ApplyShownValue(const ShownValue& shown) {
  QWidget* control = ControlOf(shown.field);
  if (auto* box = qobject_cast<QCheckBox*>(control)) {
    box->setChecked(shown.checked);
    return;
  }
  auto* edit = static_cast<FieldEdit*>(control);
  // The limit's unit is put in force before its text, so that the field's rule judges the value
  // in its own unit. Selecting from code does not run the unit conversion.
  if (shown.field == Field::edtInactivityLimit && shown.unit != NoUnit) {
    SetLastLimitUnit(shown.unit);
    cbbxInactivityLimitUnit->setCurrentIndex(shown.unit);
  }
  edit->setText(shown.text);
  if (shown.maxLength > 0) edit->setTypedMaxLength(shown.maxLength);
}

FieldValues TfrmMain::CurrentFieldValues() const {
  FieldValues values;
  for (const auto& [field, control] : fieldControls_) {
    if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
      values.checks[field] = box->isChecked();
    } else {
      values.texts[field] = static_cast<const FieldEdit*>(control)->text();
    }
  }
  values.selectedUnit = cbbxInactivityLimitUnit->currentIndex();
  return values;
}

int TfrmMain::BuildImage(ParameterImage& image, ImageOrigin origin) {
  return BuildImageFromFields(image, origin, CurrentFieldValues(), codecContext());
}

bool TfrmMain::ConfirmInactivityCount(const ParameterImage& image) {
  const int count = InactivityCountOf(image);
  if (count >= RecommendedInactivityCount) return true;
  const QString limit = edtInactivityLimit->text() + u' ' + cbbxInactivityLimitUnit->currentText();
  const QString text =
      FormatText(Msg::FewIdenticalMeasurementsWarning,
                 {limit, edtInactivitySampleInterval->text(), QString::number(count)});
  return environment_.dialogs->ShowInformation(this, text, BoxButtons::OkCancel) == mrOk;
}
