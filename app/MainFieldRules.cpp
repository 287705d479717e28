#include "app/MainFieldRules.h"

#include "app/Main.h"
#include "image/FieldCatalogue.h"
#include "image/Texts.h"
#include "ui/KeyFilter.h"
#include "ui/UserDialogs.h"

#include <QLocale>

MainFieldRules::MainFieldRules(TfrmMain& window, UserDialogs& dialogs)
    : QObject(&window), window_(window), form_(window.form), dialogs_(dialogs) {
  // Each kind of field's rule judges every change of its text: the range of a field with one, the
  // limit's by its mode and unit, the reserved codes for the radio code the user types.
  for (const FieldEntry& entry : FieldCatalogue()) {
    auto* edit = qobject_cast<FieldEdit*>(form_.ControlOf(entry.field));
    if (edit == nullptr) continue;
    const Field field = entry.field;
    if (entry.bytes.encoding == FieldEncoding::InactivityLimit) {
      connect(edit, &FieldEdit::fieldTextChanged, this, &MainFieldRules::edtInactivityLimitChange);
    } else if (entry.range) {
      connect(edit, &FieldEdit::fieldTextChanged, this, [this, field] { ApplyRangeRule(field); });
    } else if (entry.keyFilter == KeyFilterKind::RadioCode && !IsFilledByProgram(field)) {
      connect(edit, &FieldEdit::fieldTextChanged, this,
              [this, edit] { edtValidateRadioCode(edit); });
    }
  }
  // The user's choice only: ShowImage selects the unit of a shown value without converting it.
  connect(form_.cbbxInactivityLimitUnit, &QComboBox::activated, this,
          &MainFieldRules::cbbxInactivityLimitUnitChange);
  BindKeyFilters();
  BindCheckBoxDependencies();
}

void MainFieldRules::BindKeyFilters() {
  using KeyHandler = void (MainFieldRules::*)(QObject*, QChar&);
  const auto filterRunning = [this](KeyHandler handler) {
    return new KeyPressFilter(
        [this, handler](QObject* sender, QChar& key) { (this->*handler)(sender, key); }, this);
  };
  const std::map<KeyFilterKind, KeyPressFilter*> filters = {
      {KeyFilterKind::Numeric, filterRunning(&MainFieldRules::validateNumericKeyPress)},
      {KeyFilterKind::Decimal, filterRunning(&MainFieldRules::validateFloatNumericKeyPress)},
      {KeyFilterKind::RadioCode, filterRunning(&MainFieldRules::validateRadioCodeKeyPress)},
  };
  for (const FieldEntry& entry : FieldCatalogue()) {
    if (entry.keyFilter == KeyFilterKind::None) continue;
    form_.ControlOf(entry.field)->installEventFilter(filters.at(entry.keyFilter));
  }
}

void MainFieldRules::BindCheckBoxDependencies() {
  // Toggled, not clicked: ShowImage changes the boxes through the same setter as the user.
  for (const CheckBoxDependency& dependency : CheckBoxDependencies()) {
    const Field governingBox = dependency.governingBox;
    for (const Field trigger : dependency.triggers) {
      connect(static_cast<QCheckBox*>(form_.ControlOf(trigger)), &QCheckBox::toggled, this,
              [this, governingBox] { ApplyCheckBoxDependency(governingBox); });
    }
  }
}

void MainFieldRules::validateNumericKeyPress(QObject*, QChar& key) {
  if (!VembaData::IsDigitKey(key)) key = QChar();
}

void MainFieldRules::validateFloatNumericKeyPress(QObject*, QChar& key) {
  if (!VembaData::IsDecimalKey(key, QLocale().decimalPoint().at(0))) key = QChar();
}

void MainFieldRules::validateRadioCodeKeyPress(QObject*, QChar& key) {
  if (!VembaData::IsHexDigitKey(key)) key = QChar();
}

void MainFieldRules::ApplyRangeRule(Field field) {
  auto* edit = static_cast<FieldEdit*>(form_.ControlOf(field));
  ShowRefusal(edit, CheckRange(field, edit->text(), QLocale()));
}

void MainFieldRules::edtInactivityLimitChange() {
  ShowRefusal(form_.edtInactivityLimit,
              CheckInactivityLimit(form_.edtInactivityLimit->text(), window_.InactivityLimitMode(),
                                   form_.cbbxInactivityLimitUnit->currentIndex()));
}

void MainFieldRules::edtValidateRadioCode(QObject* sender) {
  auto* edit = qobject_cast<QLineEdit*>(sender);
  if (edit == nullptr) return;
  ShowRefusal(edit, CheckRadioCode(edit->text()));
}

void MainFieldRules::ShowRefusal(QLineEdit* edit, const RuleVerdict& verdict) {
  if (!verdict) return;
  dialogs_.ShowError(&window_, Text(verdict->message));
  // Putting the text back is a change too: the rule runs once more and accepts it.
  if (verdict->putBack) edit->setText(*verdict->putBack);
}

void MainFieldRules::cbbxInactivityLimitUnitChange() {
  const int chosenUnit = form_.cbbxInactivityLimitUnit->currentIndex();
  const std::optional<LimitConversion> conversion =
      ConvertLimitUnit(form_.edtInactivityLimit->text(), window_.LastLimitUnit(), chosenUnit);
  if (!conversion) return;
  window_.SetLastLimitUnit(chosenUnit);
  // The value is judged in its new unit even when its text stays the same ("0" hours become
  // "0" minutes, which minutes refuse).
  if (form_.edtInactivityLimit->text() == conversion->text) {
    edtInactivityLimitChange();
  } else {
    form_.edtInactivityLimit->setText(conversion->text);
  }
  form_.edtInactivityLimit->setTypedMaxLength(conversion->typedMaxLength);
}

void MainFieldRules::ApplyCheckBoxDependency(Field governingBox) {
  const bool enabled = static_cast<const QCheckBox*>(form_.ControlOf(governingBox))->isChecked();
  for (const CheckBoxDependency& dependency : CheckBoxDependencies()) {
    if (dependency.governingBox != governingBox) continue;
    for (const Field dependant : dependency.dependants) {
      form_.ControlOf(dependant)->setEnabled(enabled);
      if (dependant == Field::edtInactivityLimit)
        form_.cbbxInactivityLimitUnit->setEnabled(enabled);
    }
  }
}
