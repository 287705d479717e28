// The form description of the main window: controls, positions, design captions and initial
// states. The German captions replace the design captions when the window is created.

#include "app/MainForm.h"

#include "app/Main.h"
#include "image/FieldCatalogue.h"
#include "ui/FormHelpers.h"

#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

constexpr int LabelX = 16;
constexpr int ControlX = 344;
constexpr int EditWidth = 65;
constexpr int EditHeight = 21;
constexpr int CheckWidth = 25;
constexpr int LabelWidth = ControlX - LabelX - 8;
constexpr int ClientWidth = 890;
constexpr int ClientHeight = 572;
constexpr int StatusHeight = 19;

QLabel* addLabel(QWidget* group, const char* name, const char* caption, int x, int y,
                 int width = LabelWidth) {
  auto* label = new QLabel(QString::fromLatin1(caption), group);
  named(label, name);
  // The label's row is centred on its control, which sits 8 pixels above the label's top.
  label->setGeometry(x, y - 8, width, EditHeight);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

FieldEdit* addEdit(QWidget* group, const char* name, const char* text, int y, int maxLength,
                   bool enabled = true, int x = ControlX, int width = EditWidth) {
  auto* edit = new FieldEdit(QString::fromLatin1(text), group);
  named(edit, name);
  edit->setGeometry(x, y - 8, width, EditHeight);
  edit->setTypedMaxLength(maxLength);
  edit->setEnabled(enabled);
  return edit;
}

QCheckBox* addCheck(QWidget* group, const char* name, int y, bool checked, bool enabled = true) {
  auto* box = new QCheckBox(group);
  named(box, name);
  box->setGeometry(ControlX, y - 8, CheckWidth, EditHeight);
  box->setChecked(checked);
  box->setEnabled(enabled);
  return box;
}

QGroupBox* addGroup(QWidget* client, const char* name, const char* caption, int x, int y, int width,
                    int height) {
  auto* group = new QGroupBox(QString::fromLatin1(caption), client);
  named(group, name);
  group->setGeometry(x, y, width, height);
  return group;
}

QAction* addItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  named(action, name);
  action->setShortcut(shortcut);
  return action;
}

QAction* addSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  named(separator, name);
  return separator;
}

}  // namespace

void MainForm::CreateForm(QMainWindow& window) {
  window.setObjectName(QStringLiteral("frmMain"));
  window.setWindowTitle(QStringLiteral("U-KOVA Programmer"));
  QFont formFont(QStringLiteral("MS Sans Serif"));
  formFont.setPointSize(8);
  window.setFont(formFont);
  window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                        Qt::MSWindowsFixedSizeDialogHint);

  CreateMenu(*window.menuBar());
  auto* client = new QWidget;
  client->setObjectName(QStringLiteral("clientArea"));
  client->setFixedSize(ClientWidth, ClientHeight - StatusHeight);
  // The client area keeps its designed size; on a screen too small for it, it scrolls inside a
  // window that fits (TfrmMain::FitToScreen).
  auto* scroller = new QScrollArea(&window);
  scroller->setObjectName(QStringLiteral("scbClientArea"));
  scroller->setFrameShape(QFrame::NoFrame);
  // The fields take the focus, not the invisible frame around them.
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidget(client);
  window.setCentralWidget(scroller);
  CreateRadioParameters(client);
  CreateTechnicalAlarmsInfo(client);
  CreateUserAlarms(client);
  CreateProductInformation(client);
  CreateButtonsAndTimers(client);
  ListFieldRows();

  sbStatus = new QStatusBar(&window);
  sbStatus->setObjectName(QStringLiteral("sbStatus"));
  sbStatus->setFixedHeight(StatusHeight);
  sbStatus->setSizeGripEnabled(false);
  lblStatus = named(new StatusLine(sbStatus), "lblStatus");
  sbStatus->addWidget(lblStatus, 1);
  window.setStatusBar(sbStatus);

  SetTabOrder();
  // Fixed single border: the window keeps its designed size.
  window.setFixedSize(ClientWidth, ClientHeight + window.menuBar()->sizeHint().height());
}

void TfrmMain::FitToScreen() {
  const QScreen* shownOn = screen();
  if (shownOn == nullptr) return;
  // Before the window manager has framed the window its frame is unknown: allow for a title bar.
  QSize frame = frameGeometry().size() - size();
  if (frame.isNull()) frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
  // The menu, the record's strip and the status bar around the client area take what the desktop's
  // font and style make of them: measured on the laid-out window, not from their size hints, so
  // that a wider font elsewhere cannot leave the client area a few pixels short and scrolling.
  layout()->activate();
  const auto* scroller = static_cast<const QScrollArea*>(centralWidget());
  const QSize around = size() - scroller->maximumViewportSize();
  const QSize designed = scroller->widget()->size() + around;
  setFixedSize(FittedWindowSize(designed, shownOn->availableGeometry().size() - frame,
                                style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)));
}

QWidget* MainForm::ControlOf(Field field) const {
  return fieldRows.at(field).control;
}

void MainForm::BindRowLabels() const {
  for (const FieldEntry& entry : FieldCatalogue()) {
    // The radio code's row has one label for the row and one for each of its two fields.
    const QString rowCaption = entry.partCaption ? lblRadioCodeId->text() : QString();
    const FieldRow& row = fieldRows.at(entry.field);
    BindRowLabel(row.label, row.control, rowCaption);
  }
}

void MainForm::ListFieldRows() {
  fieldRows = {
      {Field::edtRadioCodeOld, {lblOld, edtRadioCodeOld}},
      {Field::edtRadioCodeNew, {lblNew, edtRadioCodeNew}},
      {Field::edtNoShortTx, {lblNoOfShortTransmissions, edtNoShortTx}},
      {Field::edtNoLongTx, {lblNoOfLongTransmissions, edtNoLongTx}},
      {Field::cbConfig_D3, {lblActivityAlarmActive, cbConfig_D3}},
      {Field::edtActivityAlarmInterval, {lblActivityAlarmInterval, edtActivityAlarmInterval}},
      {Field::cbRadioTestAlarmActive, {lblRadioTestAlarmActive, cbRadioTestAlarmActive}},
      {Field::edtRadioTestAlarmInterval, {lblRadioTestAlarmInterval, edtRadioTestAlarmInterval}},
      {Field::cbConfig_D2, {lblTransmitTestAlarmWithButtonCounterValue, cbConfig_D2}},
      {Field::edtMissedAck, {lblNoOfMissedAckBeforeSleep, edtMissedAck}},
      {Field::edtBatteryTestInterval, {lblBatteryTestInterval, edtBatteryTestInterval}},
      {Field::edtButtonCounter, {lblButtonCounter, edtButtonCounter}},
      {Field::edtTotalTxCounter, {lblTotalTxCounter, edtTotalTxCounter}},
      {Field::cbConfig_D4, {lblCompatibleAlarmTypes, cbConfig_D4}},
      {Field::cbConfig_D1, {lblAlarmButtonActive, cbConfig_D1}},
      {Field::edtButtonActivationDelay, {lblButtonActivationDelay, edtButtonActivationDelay}},
      {Field::edtDementiaBlockTime, {lblDementiaBlockTime, edtDementiaBlockTime}},
      {Field::cbConfig_D0, {lblInactivitySenseActive, cbConfig_D0}},
      {Field::edtInactivityLimit, {lblInactivityLimit, edtInactivityLimit}},
      {Field::edtInactivitySampleInterval,
       {lblInactivitySampleInterval, edtInactivitySampleInterval}},
      {Field::edtInactivityTiltThreshold, {lblInactivityTiltThreshold, edtInactivityTiltThreshold}},
      {Field::edtInactivityRetransmissionAttempts,
       {lblInactivityRetransmissionAttempts, edtInactivityRetransmissionAttempts}},
      {Field::cbConfig_D5, {lblIgnoreRetransmissionAck, cbConfig_D5}},
      {Field::edtFirmwareVersion, {lblFirmwareVersion, edtFirmwareVersion}},
      {Field::edtProductionDate, {lblProductionDate, edtProductionDate}},
      {Field::edtFirmwareType, {lblFirmwareType, edtFirmwareType}},
  };
}

void MainForm::CreateMenu(QMenuBar& bar) {
  bar.setObjectName(QStringLiteral("MainMenu1"));
  mnuFile = bar.addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFileNew = addItem(mnuFile, "mnuFileNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
  mnuFileOpen = addItem(mnuFile, "mnuFileOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
  mnuFileSave = addItem(mnuFile, "mnuFileSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
  mnuFileSaveAs = addItem(mnuFile, "mnuFileSaveAs", "Save &as...");
  mnuDelimiter1 = addSeparator(mnuFile, "mnuDelimiter1");
  mnuFileSelectDefaultFolder =
      addItem(mnuFile, "mnuFileSelectDefaultFolder", "Select default &folder...");
  mnuDelimter2 = addSeparator(mnuFile, "mnuDelimter2");
  mnuFileExit = addItem(mnuFile, "mnuFileExit", "E&xit");

  mnuComm = bar.addMenu(QStringLiteral("&Communication"));
  mnuComm->setObjectName(QStringLiteral("mnuComm"));
  mnuCommReadFromDevice = addItem(mnuComm, "mnuCommReadFromDevice", "&Read from U-KOVA",
                                  QKeySequence(Qt::CTRL | Qt::Key_R));
  mnuCommWriteToDevice = addItem(mnuComm, "mnuCommWriteToDevice", "&Write to U-KOVA",
                                 QKeySequence(Qt::CTRL | Qt::Key_W));
  N1 = addSeparator(mnuComm, "N1");
  mnuCommChangeIdCode = addItem(mnuComm, "mnuCommChangeIdCode", "&Change ID code...",
                                QKeySequence(Qt::CTRL | Qt::Key_C));

  mnuHelp = bar.addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuHelpAbout = addItem(mnuHelp, "mnuHelpAbout", "&About...");
}

void MainForm::CreateRadioParameters(QWidget* client) {
  gbxRadioParameters = addGroup(client, "gbxRadioParameters", "Radio parameters", 8, 8, 433, 129);
  QWidget* group = gbxRadioParameters;
  lblRadioCodeId = addLabel(group, "lblRadioCodeId", "Radio code", LabelX, 32, 150);
  lblOld = addLabel(group, "lblOld", "Old", 176, 32, 38);
  edtRadioCodeOld = addEdit(group, "edtRadioCodeOld", "", 32, 4, false, 216);
  lblNew = addLabel(group, "lblNew", "New", 304, 32, 38);
  edtRadioCodeNew = addEdit(group, "edtRadioCodeNew", "", 32, 4);
  lblNoOfShortTransmissions =
      addLabel(group, "lblNoOfShortTransmissions", "Number of short transmissions", LabelX, 64);
  edtNoShortTx = addEdit(group, "edtNoShortTx", "3", 64, 2);
  lblNoOfLongTransmissions =
      addLabel(group, "lblNoOfLongTransmissions", "Number of long transmissions", LabelX, 96);
  edtNoLongTx = addEdit(group, "edtNoLongTx", "3", 96, 2);
}

void MainForm::CreateTechnicalAlarmsInfo(QWidget* client) {
  gbxTechnicalAlarmsInfo =
      addGroup(client, "gbxTechnicalAlarmsInfo", "Technical alarms/information", 8, 144, 433, 401);
  QWidget* group = gbxTechnicalAlarmsInfo;
  lblActivityAlarmActive =
      addLabel(group, "lblActivityAlarmActive", "Activity alarm active", LabelX, 32);
  cbConfig_D3 = addCheck(group, "cbConfig_D3", 32, true);
  lblActivityAlarmInterval =
      addLabel(group, "lblActivityAlarmInterval", "Activity alarm interval (h)", LabelX, 64);
  edtActivityAlarmInterval = addEdit(group, "edtActivityAlarmInterval", "", 64, 3);
  lblRadioTestAlarmActive =
      addLabel(group, "lblRadioTestAlarmActive", "Radio test alarm active", LabelX, 96);
  cbRadioTestAlarmActive = addCheck(group, "cbRadioTestAlarmActive", 96, false);
  lblRadioTestAlarmInterval =
      addLabel(group, "lblRadioTestAlarmInterval", "Radio test alarm interval (h)", LabelX, 128);
  edtRadioTestAlarmInterval = addEdit(group, "edtRadioTestAlarmInterval", "9", 128, 3, false);
  lblTransmitTestAlarmWithButtonCounterValue =
      addLabel(group, "lblTransmitTestAlarmWithButtonCounterValue",
               "Transmit test alarm with button counter value", LabelX, 160);
  cbConfig_D2 = addCheck(group, "cbConfig_D2", 160, false, false);
  lblNoOfMissedAckBeforeSleep = addLabel(group, "lblNoOfMissedAckBeforeSleep",
                                         "Missed acknowledgements before sleep", LabelX, 192);
  edtMissedAck = addEdit(group, "edtMissedAck", "19", 192, 3, false);
  lblBatteryTestInterval =
      addLabel(group, "lblBatteryTestInterval", "Battery test interval (h, 0=off)", LabelX, 224);
  edtBatteryTestInterval = addEdit(group, "edtBatteryTestInterval", "24", 224, 3);
  lblButtonCounter = addLabel(group, "lblButtonCounter", "Button counter", LabelX, 256);
  edtButtonCounter = addEdit(group, "edtButtonCounter", "", 256, 0, false);
  lblTotalTxCounter = addLabel(group, "lblTotalTxCounter", "Total transmissions", LabelX, 288);
  edtTotalTxCounter = addEdit(group, "edtTotalTxCounter", "", 288, 0, false);
  lblCompatibleAlarmTypes =
      addLabel(group, "lblCompatibleAlarmTypes", "Compatible alarm types", LabelX, 320);
  cbConfig_D4 = addCheck(group, "cbConfig_D4", 320, false);
}

void MainForm::CreateUserAlarms(QWidget* client) {
  gbxUserAlarms = addGroup(client, "gbxUserAlarms", "User alarms", 448, 8, 433, 345);
  QWidget* group = gbxUserAlarms;
  lblAlarmButtonActive = addLabel(group, "lblAlarmButtonActive", "Alarm button active", LabelX, 32);
  cbConfig_D1 = addCheck(group, "cbConfig_D1", 32, true);
  lblButtonActivationDelay =
      addLabel(group, "lblButtonActivationDelay", "Button activation delay (s)", LabelX, 64);
  edtButtonActivationDelay = addEdit(group, "edtButtonActivationDelay", "0,1", 64, 4);
  lblDementiaBlockTime =
      addLabel(group, "lblDementiaBlockTime", "Dementia block time (min)", LabelX, 96);
  edtDementiaBlockTime = addEdit(group, "edtDementiaBlockTime", "0", 96, 3);
  Panel2 = new QFrame(group);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFrameShape(QFrame::HLine);
  Panel2->setFrameShadow(QFrame::Sunken);
  Panel2->setGeometry(LabelX, 128, 393, 2);
  lblInactivitySenseActive =
      addLabel(group, "lblInactivitySenseActive", "Inactivity sensing active", LabelX, 152);
  cbConfig_D0 = addCheck(group, "cbConfig_D0", 152, true);
  lblInactivityLimit =
      addLabel(group, "lblInactivityLimit", "Inactivity limit", LabelX, 184, 288 - LabelX - 8);
  edtInactivityLimit = addEdit(group, "edtInactivityLimit", "0", 184, 5, true, 288, 49);
  cbbxInactivityLimitUnit = new QComboBox(group);
  cbbxInactivityLimitUnit->setObjectName(QStringLiteral("cbbxInactivityLimitUnit"));
  cbbxInactivityLimitUnit->setGeometry(ControlX, 184 - 8, 73, EditHeight);
  cbbxInactivityLimitUnit->addItems({QStringLiteral("Minutes"), QStringLiteral("Hours")});
  lblInactivitySampleInterval = addLabel(group, "lblInactivitySampleInterval",
                                         "Inactivity sample interval (min)", LabelX, 216);
  edtInactivitySampleInterval = addEdit(group, "edtInactivitySampleInterval", "0", 216, 3, false);
  lblInactivityTiltThreshold =
      addLabel(group, "lblInactivityTiltThreshold", "Tilt threshold", LabelX, 248);
  edtInactivityTiltThreshold = addEdit(group, "edtInactivityTiltThreshold", "0", 248, 3, false);
  lblInactivityRetransmissionAttempts = addLabel(group, "lblInactivityRetransmissionAttempts",
                                                 "Retransmission attempts", LabelX, 280);
  edtInactivityRetransmissionAttempts =
      addEdit(group, "edtInactivityRetransmissionAttempts", "0", 280, 2);
  lblIgnoreRetransmissionAck = addLabel(group, "lblIgnoreRetransmissionAck",
                                        "Ignore acknowledgements of retransmissions", LabelX, 312);
  cbConfig_D5 = addCheck(group, "cbConfig_D5", 312, false);
}

void MainForm::CreateProductInformation(QWidget* client) {
  gbxProductInformation =
      addGroup(client, "gbxProductInformation", "Product information", 448, 360, 433, 129);
  QWidget* group = gbxProductInformation;
  lblFirmwareVersion = addLabel(group, "lblFirmwareVersion", "Firmware version", LabelX, 32);
  edtFirmwareVersion = addEdit(group, "edtFirmwareVersion", "", 32, 0, false);
  lblProductionDate = addLabel(group, "lblProductionDate", "Production date", LabelX, 64);
  edtProductionDate = addEdit(group, "edtProductionDate", "", 64, 0, false);
  lblFirmwareType = addLabel(group, "lblFirmwareType", "Firmware type", LabelX, 96);
  edtFirmwareType = addEdit(group, "edtFirmwareType", "", 96, 0, false);
}

void MainForm::CreateButtonsAndTimers(QWidget* client) {
  const auto addButton = [client](const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(QString::fromLatin1(caption), client);
    named(button, name);
    button->setGeometry(geometry);
    return button;
  };
  btnReadFromDevice = addButton("btnReadFromDevice", "Read from U-KOVA", {488, 496, 185, 49});
  btnWriteToDevice = addButton("btnWriteToDevice", "Write to U-KOVA", {688, 496, 185, 49});
  btnGetVembaCode = addButton("btnGetVembaCode", "GetCode", {448, 504, 73, 25});
  // Never shown: as a window of its own, never opened, it is in no tab chain and no screen
  // reader lists it among the form's controls.
  btnGetVembaCode->setWindowFlags(Qt::Window);
  btnGetVembaCode->setVisible(false);

  tmrPollOpu = new QTimer(client);
  tmrPollOpu->setObjectName(QStringLiteral("tmrPollOpu"));
  tmrPollOpuInfo = new QTimer(client);
  tmrPollOpuInfo->setObjectName(QStringLiteral("tmrPollOpuInfo"));
}

void MainForm::SetTabOrder() const {
  const QList<QWidget*> order = {edtRadioCodeNew,
                                 edtNoShortTx,
                                 edtNoLongTx,
                                 cbConfig_D3,
                                 edtActivityAlarmInterval,
                                 cbRadioTestAlarmActive,
                                 edtRadioTestAlarmInterval,
                                 cbConfig_D2,
                                 edtMissedAck,
                                 edtBatteryTestInterval,
                                 cbConfig_D4,
                                 cbConfig_D1,
                                 edtButtonActivationDelay,
                                 edtDementiaBlockTime,
                                 cbConfig_D0,
                                 edtInactivityLimit,
                                 cbbxInactivityLimitUnit,
                                 edtInactivitySampleInterval,
                                 edtInactivityTiltThreshold,
                                 edtInactivityRetransmissionAttempts,
                                 cbConfig_D5,
                                 btnReadFromDevice,
                                 btnWriteToDevice};
  for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  order.front()->setFocus();
}
