#include "image/ConfigurationDocument.h"

#include "image/FieldRules.h"

#include <QLocale>

CodecContext ConfigurationDocument::Context() const {
  return CodecContext{limitMode_, QLocale()};
}

int ConfigurationDocument::Show(const ParameterImage& image, ImageOrigin expectedOrigin) {
  const ShowResult shown = ShowImageValues(image, expectedOrigin, Context());
  for (const ShownValue& value : shown.values) {
    values_.texts[value.field] = value.text;
    values_.checks[value.field] = value.checked;
    if (value.field == Field::edtInactivityLimit && value.unit != NoUnit)
      values_.selectedUnit = value.unit;
  }
  emit ValuesShown(shown.values);
  emit Changed();
  return shown.status;
}

void ConfigurationDocument::SetFieldText(Field field, const QString& text) {
  if (values_.texts[field] == text) return;
  values_.texts[field] = text;
  emit Changed();
}

void ConfigurationDocument::SetChecked(Field field, bool checked) {
  if (values_.checks.count(field) != 0 && values_.checks[field] == checked) return;
  values_.checks[field] = checked;
  emit Changed();
}

void ConfigurationDocument::SetSelectedUnit(int unit) {
  if (values_.selectedUnit == unit) return;
  values_.selectedUnit = unit;
  emit Changed();
}

int ConfigurationDocument::Build(ParameterImage& image, ImageOrigin origin) const {
  return BuildImageFromFields(image, origin, values_, Context());
}

std::optional<Msg::Id> ConfigurationDocument::UntypedRefusal() const {
  return UntypedTextRefusal(values_, Context());
}
