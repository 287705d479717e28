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

#include <type_traits>

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
// The rows of a group box: the first one's control at 32 pixels, one every 32 pixels; the user
// alarms' inactivity rows start at their fourth, below a separating line.
constexpr int FirstRowY = 32;
constexpr int RowHeight = 32;
constexpr int InactivityFirstRow = 3;
constexpr int InactivityRowsOffset = 24;

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
  CreateFieldRows(client);
  CreateButtonsAndTimers(client);
  BindNamedControls();

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

void MainForm::BindNamedControls() {
  // The members by which the window's code reaches particular fields; a new field needs none.
  const auto bind = [this](auto*& member, Field field) {
    member = static_cast<std::remove_reference_t<decltype(member)>>(fieldRows.at(field).control);
  };
  bind(edtRadioCodeOld, Field::edtRadioCodeOld);
  bind(edtRadioCodeNew, Field::edtRadioCodeNew);
  bind(edtNoShortTx, Field::edtNoShortTx);
  bind(edtNoLongTx, Field::edtNoLongTx);
  bind(cbConfig_D3, Field::cbConfig_D3);
  bind(edtActivityAlarmInterval, Field::edtActivityAlarmInterval);
  bind(cbRadioTestAlarmActive, Field::cbRadioTestAlarmActive);
  bind(edtRadioTestAlarmInterval, Field::edtRadioTestAlarmInterval);
  bind(cbConfig_D2, Field::cbConfig_D2);
  bind(edtMissedAck, Field::edtMissedAck);
  bind(edtBatteryTestInterval, Field::edtBatteryTestInterval);
  bind(edtButtonCounter, Field::edtButtonCounter);
  bind(edtTotalTxCounter, Field::edtTotalTxCounter);
  bind(cbConfig_D4, Field::cbConfig_D4);
  bind(cbConfig_D1, Field::cbConfig_D1);
  bind(edtButtonActivationDelay, Field::edtButtonActivationDelay);
  bind(edtDementiaBlockTime, Field::edtDementiaBlockTime);
  bind(cbConfig_D0, Field::cbConfig_D0);
  bind(edtInactivityLimit, Field::edtInactivityLimit);
  bind(edtInactivitySampleInterval, Field::edtInactivitySampleInterval);
  bind(edtInactivityTiltThreshold, Field::edtInactivityTiltThreshold);
  bind(edtInactivityRetransmissionAttempts, Field::edtInactivityRetransmissionAttempts);
  bind(cbConfig_D5, Field::cbConfig_D5);
  bind(edtFirmwareVersion, Field::edtFirmwareVersion);
  bind(edtProductionDate, Field::edtProductionDate);
  bind(edtFirmwareType, Field::edtFirmwareType);
  lblInactivityLimit = fieldRows.at(Field::edtInactivityLimit).label;
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

void MainForm::CreateFieldRows(QWidget* client) {
  struct GroupPlace {
    QGroupBox* MainForm::*member;
    const char* name;
    const char* caption;
    QRect geometry;
  };
  // In the window's order, FieldGroups.
  const GroupPlace groupPlaces[] = {
      {&MainForm::gbxRadioParameters, "gbxRadioParameters", "Radio parameters", {8, 8, 433, 129}},
      {&MainForm::gbxTechnicalAlarmsInfo,
       "gbxTechnicalAlarmsInfo",
       "Technical alarms/information",
       {8, 144, 433, 401}},
      {&MainForm::gbxUserAlarms, "gbxUserAlarms", "User alarms", {448, 8, 433, 345}},
      {&MainForm::gbxProductInformation,
       "gbxProductInformation",
       "Product information",
       {448, 360, 433, 129}},
  };
  const FieldEntry* previous = nullptr;
  int row = 0;
  for (const FieldEntry& entry : FieldCatalogue()) {
    const GroupPlace& place = groupPlaces[static_cast<int>(entry.group)];
    if (previous == nullptr || previous->group != entry.group) {
      const QRect& geometry = place.geometry;
      this->*place.member = addGroup(client, place.name, place.caption, geometry.x(), geometry.y(),
                                     geometry.width(), geometry.height());
      row = 0;
    } else if (!(entry.partCaption && previous->partCaption)) {
      // The radio code's two parts share their row.
      ++row;
    }
    CreateFieldRow(this->*place.member, entry, row);
    previous = &entry;
  }
}

void MainForm::CreateFieldRow(QWidget* group, const FieldEntry& entry, int row) {
  const FieldFormRow& form = entry.form;
  int y = FirstRowY + RowHeight * row;
  // The user alarms' inactivity rows sit below a line that parts them from the button's.
  if (entry.group == FieldGroup::UserAlarms && row >= InactivityFirstRow) {
    if (Panel2 == nullptr) {
      Panel2 = new QFrame(group);
      Panel2->setObjectName(QStringLiteral("Panel2"));
      Panel2->setFrameShape(QFrame::HLine);
      Panel2->setFrameShadow(QFrame::Sunken);
      Panel2->setGeometry(LabelX, y, 393, 2);
    }
    y += InactivityRowsOffset;
  }
  FieldRow& shown = fieldRows[entry.field];
  if (entry.isCheckBox) {
    shown.label = addLabel(group, form.labelName, form.designCaption, LabelX, y);
    shown.control = addCheck(group, entry.controlName, y, form.checked, form.enabled);
    return;
  }
  int x = ControlX;
  int width = EditWidth;
  if (entry.partCaption) {
    // One caption for the row, then each part's label beside its field.
    if (lblRadioCodeId == nullptr) {
      lblRadioCodeId = addLabel(group, "lblRadioCodeId", "Radio code", LabelX, y, 150);
    }
    const int part = entry.field == Field::edtRadioCodeOld ? 0 : 1;
    shown.label = addLabel(group, form.labelName, form.designCaption, 176 + 128 * part, y, 38);
    x = 216 + 128 * part;
  } else if (entry.field == Field::edtInactivityLimit) {
    // The limit's unit selector takes the place of the field, which moves left.
    x = 288;
    width = 49;
    shown.label = addLabel(group, form.labelName, form.designCaption, LabelX, y, x - LabelX - 8);
  } else {
    shown.label = addLabel(group, form.labelName, form.designCaption, LabelX, y);
  }
  shown.control = addEdit(group, entry.controlName, form.initialText, y, form.maxLength,
                          form.enabled, x, width);
  if (entry.field == Field::edtInactivityLimit) {
    cbbxInactivityLimitUnit = new QComboBox(group);
    cbbxInactivityLimitUnit->setObjectName(QStringLiteral("cbbxInactivityLimitUnit"));
    cbbxInactivityLimitUnit->setGeometry(ControlX, y - 8, 73, EditHeight);
    cbbxInactivityLimitUnit->addItems({QStringLiteral("Minutes"), QStringLiteral("Hours")});
  }
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
  // The fields the user types into, in the window's order, then the buttons.
  QList<QWidget*> order;
  for (const FieldEntry& entry : FieldCatalogue()) {
    if (IsFilledByProgram(entry.field)) continue;
    order << fieldRows.at(entry.field).control;
    if (entry.field == Field::edtInactivityLimit) order << cbbxInactivityLimitUnit;
  }
  order << btnReadFromDevice << btnWriteToDevice;
  for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  order.front()->setFocus();
}
