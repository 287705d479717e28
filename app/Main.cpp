#include "app/Main.h"

#include "app/Changecode.h"
#include "app/MainFieldRules.h"
#include "app/MainTransmitter.h"
#include "app/MenuShortcutPrecedence.h"
#include "app/Receiveradio.h"
#include "app/about.h"
#include "app/check/ConnectionCheckController.h"
#include "app/folder/Selectfolder.h"
#include "app/help/FieldHelpController.h"
#include "app/interlocks/InterlockSettingsController.h"
#include "app/port/PortChoiceController.h"
#include "app/recent/RecentFilesController.h"
#include "app/safetynet/SafetyNetController.h"
#include "app/series/SeriesController.h"
#include "app/sheet/SheetController.h"
#include "app/who/RecipientController.h"
#include "app/who/TechnicianController.h"
#include "files/IniFile.h"
#include "image/FieldCatalogue.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"
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
      configurationFiles_(*this, document_,
                          ConfigurationState{vembaData, ImageSource, WorkingImage, DataFolder,
                                             DefaultFolder, VembaIni},
                          *environment_.dialogs, this) {
  form.CreateForm(*this);
  BindDocument();
  connect(form.mnuFileNew, &QAction::triggered, this, &TfrmMain::mnuFileNewClick);
  connect(form.mnuFileOpen, &QAction::triggered, this, &TfrmMain::mnuFileOpenClick);
  connect(form.mnuFileSave, &QAction::triggered, this, &TfrmMain::mnuFileSaveClick);
  connect(form.mnuFileSaveAs, &QAction::triggered, this, &TfrmMain::mnuFileSaveAsClick);
  connect(form.mnuFileSelectDefaultFolder, &QAction::triggered, this,
          &TfrmMain::mnuFileSelectDefaultFolderClick);
  connect(form.mnuFileExit, &QAction::triggered, this, &TfrmMain::mnuFileExitClick);
  connect(form.mnuHelpAbout, &QAction::triggered, this, &TfrmMain::mnuHelpAboutClick);
  recentFiles_ = new RecentFilesController(*form.mnuFile, form.mnuDelimiter1, configurationFiles_,
                                           operationGuard_, this);
  // The sheet's foot names for whom (the strip or what is known of the code) and by whom.
  sheet_ = new SheetController(
      *this, *form.mnuFile, form.mnuDelimiter1, *environment_.dialogs, [this](const QString& code) {
        const Assignment recipient = recipients_->RecipientOf(code);
        return SheetRecipient{recipient.facility, recipient.room, technician_->Name()};
      });
  connectionCheck_ = new ConnectionCheckController(
      *this, *form.mnuHelp, form.mnuHelpAbout, [this] { return LinkOptions(); }, operationGuard_);
  new MainFieldRules(*this, *environment_.dialogs);
  new MenuShortcutPrecedence(this);
  transmitter_ = new TransmitterCommands(*this, operationGuard_, *environment_.dialogs);
  connect(form.mnuCommChangeIdCode, &QAction::triggered, this, &TfrmMain::mnuCommChangeIdCodeClick);
  FormCreate();
  // Reads the factory image the start-up has just put in place.
  new FieldHelpController(*this);
  safetyNet_ =
      new SafetyNetController(*this, configurationFiles_, Operations(), *environment_.dialogs);
  // Only a service-mode start may let a write switch an alarm off without asking.
  if (ServiceMode) {
    interlocks_ =
        new InterlockSettingsController(*this, *form.mnuComm, form.N1, VembaIni, Operations(),
                                        *environment_.dialogs, InactivityLimitMode());
  }
  // A finished operation's line names whom it was for and the technician before the safety net
  // keeps it.
  technician_ = new TechnicianController(*this, *form.mnuFile, form.mnuDelimter2, *form.sbStatus,
                                         VembaIni, *environment_.dialogs, *safetyNet_);
  // For whom, from the strip or what is known of the pendant, before the technician's name.
  recipients_ = new RecipientController(
      *this,
      [this] { return series_ != nullptr ? series_->ListEntries() : std::vector<Assignment>{}; },
      *technician_);
  Operations().SetObserver(recipients_);
  series_ = new SeriesController(*this, *form.mnuComm, operationGuard_, *recipients_,
                                 *environment_.dialogs);
  // Reads its choice from the settings file, whose path the start-up has just found.
  portChoice_ =
      new PortChoiceController(*this, *form.mnuComm, form.N1, VembaIni, environment_.linkOptions,
                               link, *environment_.dialogs, operationGuard_);
}

void TfrmMain::ShowRecord(QWidget* over) {
  safetyNet_->ShowRecord(over);
}

TransmitterOperations& TfrmMain::Operations() {
  return transmitter_->Operations();
}

void TfrmMain::mnuCommChangeIdCodeClick() {
  operationGuard_.Run([this] { dialogs_.frmChangeCode->exec(); });
}

OpuLinkOptions TfrmMain::LinkOptions() const {
  return portChoice_ != nullptr ? portChoice_->LinkOptions() : environment_.linkOptions;
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate() {
  AcceptDroppedFiles();
  const QString settingsNotice = RunSettingsSteps();
  ReportTraceProblem();
  SetMainCaptions();
  SetInactivityLimitRow();
  FillUnitSelector();
  SetRemainingCaptions();
  form.BindRowLabels();
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

void TfrmMain::ReportTraceProblem() {
  // The technician relies on the trace for support: a trace that is not kept is said once.
  const QString problem = link.TraceProblem();
  if (problem.isEmpty() || traceProblemReported_) return;
  traceProblemReported_ = true;
  environment_.dialogs->ShowError(
      this, FormatText(Msg::TraceNotWritten, {environment_.linkOptions.traceFile, problem}));
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
      {form.mnuFile->menuAction(), Msg::MenuFile},
      {form.mnuFileNew, Msg::MenuFileNew},
      {form.mnuFileOpen, Msg::MenuFileOpen},
      {form.mnuFileSave, Msg::MenuFileSave},
      {form.mnuFileSaveAs, Msg::MenuFileSaveAs},
      {form.mnuFileSelectDefaultFolder, Msg::MenuFileSelectDefaultFolder},
      {form.mnuFileExit, Msg::MenuFileExit},
      {form.mnuComm->menuAction(), Msg::MenuComm},
      {form.mnuCommReadFromDevice, Msg::MenuCommRead},
      {form.mnuCommWriteToDevice, Msg::MenuCommWrite},
      {form.mnuCommChangeIdCode, Msg::MenuCommChangeCode},
      {form.mnuHelp->menuAction(), Msg::MenuHelp},
      {form.mnuHelpAbout, Msg::MenuHelpAbout},
  };
  for (const auto& [action, number] : menuCaptions) action->setText(Text(number));

  const std::pair<QWidget*, Msg::Id> captions[] = {
      {form.gbxRadioParameters, GroupCaptionText(FieldGroup::RadioParameters)},
      {form.gbxTechnicalAlarmsInfo, GroupCaptionText(FieldGroup::TechnicalAlarms)},
      {form.gbxUserAlarms, GroupCaptionText(FieldGroup::UserAlarms)},
      {form.gbxProductInformation, GroupCaptionText(FieldGroup::ProductInformation)},
      {form.lblRadioCodeId, CatalogueEntry(Field::edtRadioCodeNew).caption},
  };
  for (const auto& [widget, number] : captions) setCaption(widget, number);
  // The limit's caption follows the mode (SetInactivityLimitRow).
  for (const FieldEntry& entry : FieldCatalogue()) {
    if (entry.field == Field::edtInactivityLimit) continue;
    form.fieldRows.at(entry.field).label->setText(Text(entry.partCaption.value_or(entry.caption)));
  }
}

void TfrmMain::SetInactivityLimitRow() {
  form.lblInactivityLimit->setText(
      Text(FieldCaptionText(Field::edtInactivityLimit, ServiceMode ? LimitAsCount : LimitAsTime)));
  form.edtInactivityLimit->setTypedMaxLength(ServiceMode ? 5 : 4);
  form.edtInactivityLimit->setProperty(TagProperty,
                                       static_cast<int>(ServiceMode ? LimitAsCount : LimitAsTime));
  document_.SetLimitMode(ServiceMode ? LimitAsCount : LimitAsTime);
  if (ServiceMode) form.cbbxInactivityLimitUnit->setEnabled(false);
  form.edtInactivitySampleInterval->setEnabled(true);
  form.edtInactivityTiltThreshold->setEnabled(ServiceMode);
}

void TfrmMain::FillUnitSelector() {
  form.cbbxInactivityLimitUnit->clear();
  form.cbbxInactivityLimitUnit->addItem(Text(Msg::UnitMinutes));
  form.cbbxInactivityLimitUnit->addItem(Text(Msg::UnitHours));
  SetLastLimitUnit(NoUnit);
  form.cbbxInactivityLimitUnit->setCurrentIndex(-1);
}

void TfrmMain::SetRemainingCaptions() {
  const std::pair<QWidget*, Msg::Id> captions[] = {
      {form.btnReadFromDevice, Msg::ButtonRead},
      {form.btnWriteToDevice, Msg::ButtonWrite},
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
  Operations().AttachWaitingPrompt(dialogs.frmReceiveRadio);
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
  return static_cast<InactivityLimitModeKind>(
      form.edtInactivityLimit->property(TagProperty).toInt());
}

int TfrmMain::LastLimitUnit() const {
  return form.cbbxInactivityLimitUnit->property(TagProperty).toInt();
}

void TfrmMain::SetLastLimitUnit(int unit) {
  form.cbbxInactivityLimitUnit->setProperty(TagProperty, unit);
}

void TfrmMain::SetStatusText(const QString& text) {
  form.lblStatus->SetFullText(text);
}

QString TfrmMain::StatusText() const {
  return form.lblStatus->FullText();
}

void TfrmMain::SetTitleText(const QString& title) {
  // A window title takes "[*]" as the place of the modified mark and shows a doubled one as
  // itself; a file name is shown exactly as it is.
  setWindowTitle(QString(title).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void TfrmMain::EmptyNewRadioCode() {
  form.edtRadioCodeNew->setText({});
}

QString TfrmMain::SuggestedFileName() const {
  if (ImageSource != SourceTransmitter || !ReadTime.isValid()) return {};
  return ReadConfigurationName(form.edtRadioCodeOld->text(), ReadTime.date());
}

void TfrmMain::BindDocument() {
  // The document starts from the values the form's controls were created with, then follows an
  // edit's change as the field passes it on (a cut paste reports only the text it keeps), and a
  // box's and the unit selector's state as they stand once their signal is through.
  for (const auto& [field, row] : form.fieldRows) {
    if (auto* box = qobject_cast<QCheckBox*>(row.control)) {
      document_.SetChecked(field, box->isChecked());
      connect(box, &QCheckBox::toggled, &document_,
              [this, field = field, box] { document_.SetChecked(field, box->isChecked()); });
    } else {
      document_.SetFieldText(field, static_cast<FieldEdit*>(row.control)->text());
      connect(static_cast<FieldEdit*>(row.control), &FieldEdit::fieldTextChanged, &document_,
              [this, field = field](const QString& text) { document_.SetFieldText(field, text); });
    }
  }
  document_.SetSelectedUnit(form.cbbxInactivityLimitUnit->currentIndex());
  connect(form.cbbxInactivityLimitUnit, &QComboBox::currentIndexChanged, &document_,
          [this] { document_.SetSelectedUnit(form.cbbxInactivityLimitUnit->currentIndex()); });
  connect(&document_, &ConfigurationDocument::ValuesShown, this,
          [this](const std::vector<ShownValue>& values) {
            for (const ShownValue& shown : values) ApplyShownValue(shown);
          });
}

void TfrmMain::ApplyShownValue(const ShownValue& shown) {
  QWidget* control = form.ControlOf(shown.field);
  if (auto* box = qobject_cast<QCheckBox*>(control)) {
    box->setChecked(shown.checked);
    return;
  }
  auto* edit = static_cast<FieldEdit*>(control);
  // The limit's unit is put in force before its text, so that the field's rule judges the value
  // in its own unit. Selecting from code does not run the unit conversion.
  if (shown.field == Field::edtInactivityLimit && shown.unit != NoUnit) {
    SetLastLimitUnit(shown.unit);
    form.cbbxInactivityLimitUnit->setCurrentIndex(shown.unit);
  }
  edit->setText(shown.text);
  if (shown.maxLength > 0) edit->setTypedMaxLength(shown.maxLength);
}

bool TfrmMain::ConfirmInactivityCount(const ParameterImage& image) {
  const int count = InactivityCountOf(image);
  return count >= RecommendedInactivityCount || AskFewMeasurements(count);
}

bool TfrmMain::AskFewMeasurements(int count) {
  // Named as the window shows them, the unit selector's text in either mode.
  const QString text = FewMeasurementsText(
      form.edtInactivityLimit->text() + u' ' + form.cbbxInactivityLimitUnit->currentText(),
      form.edtInactivitySampleInterval->text(), count);
  return environment_.dialogs->ShowInformation(this, text, BoxButtons::OkCancel) == mrOk;
}
