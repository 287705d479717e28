#pragma once

#include "image/FieldRules.h"

#include <QObject>

class MainForm;
class QLineEdit;
class TfrmMain;
class UserDialogs;

// The main window's field rules: which keys each field takes, the range rule that judges every
// change of a field's text, the limit's unit conversion and the check boxes that enable other
// controls. The rules themselves are pure (image/FieldRules.h); here they are bound to controls.
class MainFieldRules : public QObject {
 public:
  MainFieldRules(TfrmMain& window, UserDialogs& dialogs);

 private:
  void BindKeyFilters();
  void BindCheckBoxDependencies();
  void validateNumericKeyPress(QObject* sender, QChar& key);
  void validateFloatNumericKeyPress(QObject* sender, QChar& key);
  void validateRadioCodeKeyPress(QObject* sender, QChar& key);
  void edtInactivityLimitChange();
  void edtValidateRadioCode(QObject* sender);
  void cbbxInactivityLimitUnitChange();
  void ApplyRangeRule(Field field);
  void ApplyCheckBoxDependency(Field governingBox);
  void ShowRefusal(QLineEdit* edit, const RuleVerdict& verdict);

  TfrmMain& window_;
  MainForm& form_;
  UserDialogs& dialogs_;
};
