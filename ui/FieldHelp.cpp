#include "ui/FieldHelp.h"

#include "image/FieldCatalogue.h"
#include "image/FieldRules.h"
#include "image/Texts.h"

#include <QWidget>

namespace {

QString withUnit(const QString& value, std::optional<Msg::Id> unit) {
  return unit ? value + u' ' + Text(*unit) : value;
}

QString description(Field field, const CodecContext& context, int selectedUnit) {
  if (IsFilledByProgram(field)) return Text(Msg::FilledByProgramHelp);
  if (KeyFilterOf(field) == KeyFilterKind::RadioCode) return Text(Msg::RadioCodeHelp);
  const std::optional<FieldRange> range = FieldRangeOf(field, context.limitMode, selectedUnit);
  if (!range) return {};
  QLocale locale = context.locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  const QString text = FormatText(
      Msg::FieldRangeHelp, {locale.toString(range->minimum), locale.toString(range->maximum)});
  return withUnit(text, FieldUnitText(field, context.limitMode, selectedUnit));
}

// The factory value as the window would show it, in the factory image's own unit.
QString factoryValue(Field field, const CodecContext& context, const ShownValue& factory) {
  if (IsCheckBox(field)) return Text(factory.checked ? Msg::SwitchedOn : Msg::SwitchedOff);
  if (factory.text.isEmpty()) return {};
  return withUnit(factory.text, FieldUnitText(field, context.limitMode, factory.unit));
}

}  // namespace

FieldHelpTexts FieldHelp(Field field, const CodecContext& context, int selectedUnit,
                         const std::optional<ShownValue>& factory) {
  FieldHelpTexts help{description(field, context, selectedUnit), {}};
  QStringList lines;
  if (!help.description.isEmpty()) lines << help.description;
  if (factory && !IsFilledByProgram(field)) {
    if (const QString value = factoryValue(field, context, *factory); !value.isEmpty()) {
      lines << FormatText(Msg::FactoryValueHelp, {value});
    }
  }
  help.toolTip = lines.join(u'\n');
  return help;
}

void ApplyFieldHelp(QWidget* control, const FieldHelpTexts& help) {
  control->setAccessibleDescription(help.description);
  control->setToolTip(help.toolTip);
}
