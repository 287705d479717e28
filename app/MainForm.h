#pragma once

#include "image/FieldCatalogue.h"
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
  FieldEdit* edtRadioCodeOld = nullptr;
  FieldEdit* edtRadioCodeNew = nullptr;
  FieldEdit* edtNoShortTx = nullptr;
  FieldEdit* edtNoLongTx = nullptr;

  // Technical alarms and information.
  QGroupBox* gbxTechnicalAlarmsInfo = nullptr;
  QCheckBox* cbConfig_D3 = nullptr;
  FieldEdit* edtActivityAlarmInterval = nullptr;
  QCheckBox* cbRadioTestAlarmActive = nullptr;
  FieldEdit* edtRadioTestAlarmInterval = nullptr;
  QCheckBox* cbConfig_D2 = nullptr;
  FieldEdit* edtMissedAck = nullptr;
  FieldEdit* edtBatteryTestInterval = nullptr;
  FieldEdit* edtButtonCounter = nullptr;
  FieldEdit* edtTotalTxCounter = nullptr;
  QCheckBox* cbConfig_D4 = nullptr;

  // User alarms and inactivity.
  QGroupBox* gbxUserAlarms = nullptr;
  QCheckBox* cbConfig_D1 = nullptr;
  FieldEdit* edtButtonActivationDelay = nullptr;
  FieldEdit* edtDementiaBlockTime = nullptr;
  QFrame* Panel2 = nullptr;
  QCheckBox* cbConfig_D0 = nullptr;
  QLabel* lblInactivityLimit = nullptr;
  FieldEdit* edtInactivityLimit = nullptr;
  QComboBox* cbbxInactivityLimitUnit = nullptr;
  FieldEdit* edtInactivitySampleInterval = nullptr;
  FieldEdit* edtInactivityTiltThreshold = nullptr;
  FieldEdit* edtInactivityRetransmissionAttempts = nullptr;
  QCheckBox* cbConfig_D5 = nullptr;

  // Product information.
  QGroupBox* gbxProductInformation = nullptr;
  FieldEdit* edtFirmwareVersion = nullptr;
  FieldEdit* edtProductionDate = nullptr;
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
  void CreateFieldRows(QWidget* client);
  void CreateFieldRow(QWidget* group, const FieldEntry& entry, int row);
  void BindNamedControls();
  void CreateButtonsAndTimers(QWidget* client);
  void SetTabOrder() const;
};
