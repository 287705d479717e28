#pragma once

#include "image/ImageCodec.h"
#include "ui/FieldEdit.h"
#include "ui/StatusLine.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <map>

class QMainWindow;
class QMenu;
class QMenuBar;

// The main window's controls with the names, positions, design captions and initial states of
// its form. The German captions replace the design captions when the window is created.
struct MainForm {
  // Builds every control into the window, which keeps its designed size.
  void CreateForm(QMainWindow& window);
  // Ties each label to its control, for a screen reader and a click on the label.
  void BindRowLabels() const;
  // The edit or check box that shows a parameter.
  [[nodiscard]] QWidget* ControlOf(Field field) const;

  // Menu.
  QMenu* mnuFile = nullptr;
  QAction* mnuFileNew = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuFileSave = nullptr;
  QAction* mnuFileSaveAs = nullptr;
  QAction* mnuDelimiter1 = nullptr;
  QAction* mnuFileSelectDefaultFolder = nullptr;
  QAction* mnuDelimter2 = nullptr;
  QAction* mnuFileExit = nullptr;
  QMenu* mnuComm = nullptr;
  QAction* mnuCommReadFromDevice = nullptr;
  QAction* mnuCommWriteToDevice = nullptr;
  QAction* N1 = nullptr;
  QAction* mnuCommChangeIdCode = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpAbout = nullptr;

  // Radio parameters.
  QGroupBox* gbxRadioParameters = nullptr;
  QLabel* lblRadioCodeId = nullptr;
  QLabel* lblOld = nullptr;
  FieldEdit* edtRadioCodeOld = nullptr;
  QLabel* lblNew = nullptr;
  FieldEdit* edtRadioCodeNew = nullptr;
  QLabel* lblNoOfShortTransmissions = nullptr;
  FieldEdit* edtNoShortTx = nullptr;
  QLabel* lblNoOfLongTransmissions = nullptr;
  FieldEdit* edtNoLongTx = nullptr;

  // Technical alarms and information.
  QGroupBox* gbxTechnicalAlarmsInfo = nullptr;
  QLabel* lblActivityAlarmActive = nullptr;
  QCheckBox* cbConfig_D3 = nullptr;
  QLabel* lblActivityAlarmInterval = nullptr;
  FieldEdit* edtActivityAlarmInterval = nullptr;
  QLabel* lblRadioTestAlarmActive = nullptr;
  QCheckBox* cbRadioTestAlarmActive = nullptr;
  QLabel* lblRadioTestAlarmInterval = nullptr;
  FieldEdit* edtRadioTestAlarmInterval = nullptr;
  QLabel* lblTransmitTestAlarmWithButtonCounterValue = nullptr;
  QCheckBox* cbConfig_D2 = nullptr;
  QLabel* lblNoOfMissedAckBeforeSleep = nullptr;
  FieldEdit* edtMissedAck = nullptr;
  QLabel* lblBatteryTestInterval = nullptr;
  FieldEdit* edtBatteryTestInterval = nullptr;
  QLabel* lblButtonCounter = nullptr;
  FieldEdit* edtButtonCounter = nullptr;
  QLabel* lblTotalTxCounter = nullptr;
  FieldEdit* edtTotalTxCounter = nullptr;
  QLabel* lblCompatibleAlarmTypes = nullptr;
  QCheckBox* cbConfig_D4 = nullptr;

  // User alarms and inactivity.
  QGroupBox* gbxUserAlarms = nullptr;
  QLabel* lblAlarmButtonActive = nullptr;
  QCheckBox* cbConfig_D1 = nullptr;
  QLabel* lblButtonActivationDelay = nullptr;
  FieldEdit* edtButtonActivationDelay = nullptr;
  QLabel* lblDementiaBlockTime = nullptr;
  FieldEdit* edtDementiaBlockTime = nullptr;
  QFrame* Panel2 = nullptr;
  QLabel* lblInactivitySenseActive = nullptr;
  QCheckBox* cbConfig_D0 = nullptr;
  QLabel* lblInactivityLimit = nullptr;
  FieldEdit* edtInactivityLimit = nullptr;
  QComboBox* cbbxInactivityLimitUnit = nullptr;
  QLabel* lblInactivitySampleInterval = nullptr;
  FieldEdit* edtInactivitySampleInterval = nullptr;
  QLabel* lblInactivityTiltThreshold = nullptr;
  FieldEdit* edtInactivityTiltThreshold = nullptr;
  QLabel* lblInactivityRetransmissionAttempts = nullptr;
  FieldEdit* edtInactivityRetransmissionAttempts = nullptr;
  QLabel* lblIgnoreRetransmissionAck = nullptr;
  QCheckBox* cbConfig_D5 = nullptr;

  // Product information.
  QGroupBox* gbxProductInformation = nullptr;
  QLabel* lblFirmwareVersion = nullptr;
  FieldEdit* edtFirmwareVersion = nullptr;
  QLabel* lblProductionDate = nullptr;
  FieldEdit* edtProductionDate = nullptr;
  QLabel* lblFirmwareType = nullptr;
  FieldEdit* edtFirmwareType = nullptr;

  QPushButton* btnReadFromDevice = nullptr;
  QPushButton* btnWriteToDevice = nullptr;
  QPushButton* btnGetVembaCode = nullptr;

  QStatusBar* sbStatus = nullptr;
  StatusLine* lblStatus = nullptr;  // the status text, in sbStatus
  QTimer* tmrPollOpu = nullptr;
  QTimer* tmrPollOpuInfo = nullptr;

  // A field's row: its label and the edit or check box that shows it.
  struct FieldRow {
    QLabel* label = nullptr;
    QWidget* control = nullptr;
  };
  // Every field's row, filled by CreateForm.
  std::map<Field, FieldRow> fieldRows;

 private:
  void CreateMenu(QMenuBar& bar);
  void ListFieldRows();
  void CreateRadioParameters(QWidget* client);
  void CreateTechnicalAlarmsInfo(QWidget* client);
  void CreateUserAlarms(QWidget* client);
  void CreateProductInformation(QWidget* client);
  void CreateButtonsAndTimers(QWidget* client);
  void SetTabOrder() const;
};
