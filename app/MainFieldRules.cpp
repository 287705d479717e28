// The main window's field rules: which keys each field takes, the range rule that judges every
// change of a field's text, the limit's unit conversion and the check boxes that enable other
// controls. The rules themselves are pure (image/FieldRules.h); here they are bound to controls.

#include "app/Main.h"
#include "app/MenuShortcutPrecedence.h"
#include "ui/KeyFilter.h"
#include "ui/Texts.h"
#include "ui/UserDialogs.h"

#include <QLocale>

void TfrmMain::BindFieldRules() {
  using ChangeHandler = void (TfrmMain::*)();
  const std::pair<FieldEdit*, ChangeHandler> changeHandlers[] = {
      {form.edtNoShortTx, &TfrmMain::edtNoShortTxChange},
      {form.edtNoLongTx, &TfrmMain::edtNoLongTxChange},
      {form.edtBatteryTestInterval, &TfrmMain::edtBatteryTestIntervalChange},
      {form.edtRadioTestAlarmInterval, &TfrmMain::edtRadioTestAlarmIntervalChange},
      {form.edtMissedAck, &TfrmMain::edtMissedAckChange},
      {form.edtActivityAlarmInterval, &TfrmMain::edtActivityAlarmIntervalChange},
      {form.edtDementiaBlockTime, &TfrmMain::edtDementiaBlockTimeChange},
      {form.edtButtonActivationDelay, &TfrmMain::edtButtonActivationDelayChange},
      {form.edtInactivitySampleInterval, &TfrmMain::edtInactivitySampleIntervalChange},
      {form.edtInactivityTiltThreshold, &TfrmMain::edtInactivityTiltThresholdChange},
      {form.edtInactivityLimit, &TfrmMain::edtInactivityLimitChange},
  };
  for (const auto& [edit, handler] : changeHandlers) {
    connect(edit, &FieldEdit::fieldTextChanged, this, handler);
  }
  connect(form.edtRadioCodeNew, &FieldEdit::fieldTextChanged, this,
          [this] { edtValidateRadioCode(form.edtRadioCodeNew); });
  // The user's choice only: ShowImage selects the unit of a shown value without converting it.
  connect(form.cbbxInactivityLimitUnit, &QComboBox::activated, this,
          &TfrmMain::cbbxInactivityLimitUnitChange);
  BindKeyFilters();
  BindCheckBoxDependencies();
  new MenuShortcutPrecedence(this);
}

void TfrmMain::BindKeyFilters() {
  using KeyHandler = void (TfrmMain::*)(QObject*, QChar&);
  const auto filterRunning = [this](KeyHandler handler) {
    return new KeyPressFilter(
        [this, handler](QObject* sender, QChar& key) { (this->*handler)(sender, key); }, this);
  };
  const std::map<KeyFilterKind, KeyPressFilter*> filters = {
      {KeyFilterKind::Numeric, filterRunning(&TfrmMain::validateNumericKeyPress)},
      {KeyFilterKind::Decimal, filterRunning(&TfrmMain::validateFloatNumericKeyPress)},
      {KeyFilterKind::RadioCode, filterRunning(&TfrmMain::validateRadioCodeKeyPress)},
  };
  for (const auto& [field, control] : fieldControls_) {
    const KeyFilterKind kind = KeyFilterOf(field);
    if (kind != KeyFilterKind::None) control->installEventFilter(filters.at(kind));
  }
}

void TfrmMain::BindCheckBoxDependencies() {
  using ClickHandler = void (TfrmMain::*)();
  const std::map<Field, ClickHandler> clickHandlers = {
      {Field::cbConfig_D3, &TfrmMain::cbConfig_D3Click},
      {Field::cbRadioTestAlarmActive, &TfrmMain::cbRadioTestAlarmActiveClick},
      {Field::cbConfig_D1, &TfrmMain::cbConfig_D1Click},
      {Field::cbConfig_D0, &TfrmMain::cbConfig_D0Click},
  };
  // Toggled, not clicked: ShowImage changes the boxes through the same setter as the user.
  for (const CheckBoxDependency& dependency : CheckBoxDependencies()) {
    const ClickHandler handler = clickHandlers.at(dependency.governingBox);
    for (const Field trigger : dependency.triggers) {
      connect(static_cast<QCheckBox*>(ControlOf(trigger)), &QCheckBox::toggled, this, handler);
    }
  }
}

void TfrmMain::validateNumericKeyPress(QObject*, QChar& key) {
  if (!VembaData::IsDigitKey(key)) key = QChar();
}

void TfrmMain::validateFloatNumericKeyPress(QObject*, QChar& key) {
  if (!VembaData::IsDecimalKey(key, QLocale().decimalPoint().at(0))) key = QChar();
}

void TfrmMain::validateRadioCodeKeyPress(QObject*, QChar& key) {
  if (!VembaData::IsHexDigitKey(key)) key = QChar();
}

void TfrmMain::ApplyRangeRule(Field field) {
  auto* edit = static_cast<FieldEdit*>(ControlOf(field));
  ShowRefusal(edit, CheckRange(field, edit->text(), QLocale()));
}

void TfrmMain::edtInactivityLimitChange() {
  ShowRefusal(form.edtInactivityLimit,
              CheckInactivityLimit(form.edtInactivityLimit->text(), InactivityLimitMode(),
                                   form.cbbxInactivityLimitUnit->currentIndex()));
}

void TfrmMain::edtValidateRadioCode(QObject* sender) {
  auto* edit = qobject_cast<QLineEdit*>(sender);
  if (edit == nullptr) return;
  ShowRefusal(edit, CheckRadioCode(edit->text()));
}

void TfrmMain::ShowRefusal(QLineEdit* edit, const RuleVerdict& verdict) {
  if (!verdict) return;
  environment_.dialogs->ShowError(this, Text(verdict->message));
  // Putting the text back is a change too: the rule runs once more and accepts it.
  if (verdict->putBack) edit->setText(*verdict->putBack);
}

void TfrmMain::cbbxInactivityLimitUnitChange() {
  const int chosenUnit = form.cbbxInactivityLimitUnit->currentIndex();
  const std::optional<LimitConversion> conversion =
      ConvertLimitUnit(form.edtInactivityLimit->text(), LastLimitUnit(), chosenUnit);
  if (!conversion) return;
  SetLastLimitUnit(chosenUnit);
  // The value is judged in its new unit even when its text stays the same ("0" hours become
  // "0" minutes, which minutes refuse).
  if (form.edtInactivityLimit->text() == conversion->text) {
    edtInactivityLimitChange();
  } else {
    form.edtInactivityLimit->setText(conversion->text);
  }
  form.edtInactivityLimit->setTypedMaxLength(conversion->typedMaxLength);
}

void TfrmMain::ApplyCheckBoxDependency(Field governingBox) {
  const bool enabled = static_cast<const QCheckBox*>(ControlOf(governingBox))->isChecked();
  for (const CheckBoxDependency& dependency : CheckBoxDependencies()) {
    if (dependency.governingBox != governingBox) continue;
    for (const Field dependant : dependency.dependants) {
      ControlOf(dependant)->setEnabled(enabled);
      if (dependant == Field::edtInactivityLimit) form.cbbxInactivityLimitUnit->setEnabled(enabled);
    }
  }
}
