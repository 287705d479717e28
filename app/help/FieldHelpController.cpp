#include "app/help/FieldHelpController.h"

#include "app/Main.h"
#include "files/DataFolders.h"
#include "files/ImageFiles.h"
#include "image/FieldCatalogue.h"
#include "image/Texts.h"
#include "image/VembaData.h"
#include "ui/FieldHelp.h"

#include <QLabel>

FieldHelpController::FieldHelpController(TfrmMain& main) : QObject(&main), main_(main) {
  QComboBox* unit = main_.form.cbbxInactivityLimitUnit;
  const QString name = main_.form.edtInactivityLimit->accessibleName() + QStringLiteral(", ") +
                       Text(Msg::UnitSelectorName);
  unit->setAccessibleName(name);
  // Linux screen readers name a combo box by the label it is the buddy of and take the name
  // above for its value; the row's visible label is the limit field's, so the box gets one unseen.
  auto* unitLabel = new QLabel(name, unit->parentWidget());
  unitLabel->setObjectName(QStringLiteral("lblInactivityLimitUnit"));
  unitLabel->setBuddy(unit);
  unitLabel->hide();
  readFactoryValues();
  describeFields();
  connect(unit, &QComboBox::currentIndexChanged, this, [this] { describeFields(); });
}

void FieldHelpController::readFactoryValues() {
  ImageBytes bytes{};
  if (!ReadImageFile(DataFilePath(main_.DataFolder, FactoryImageFileName), bytes)) return;
  ParameterImage image{};
  VembaData::LoadImageBytes(image, bytes, OriginLoad);
  const ShowResult shown = ShowImageValues(image, OriginLoad, main_.Document().Context());
  if (shown.status != ImageOk) return;
  for (const ShownValue& value : shown.values) factory_.insert_or_assign(value.field, value);
}

void FieldHelpController::describeFields() {
  const CodecContext context = main_.Document().Context();
  const int unit = main_.form.cbbxInactivityLimitUnit->currentIndex();
  for (const FieldEntry& entry : FieldCatalogue()) {
    const auto factory = factory_.find(entry.field);
    ApplyFieldHelp(
        main_.form.ControlOf(entry.field),
        FieldHelp(entry.field, context, unit,
                  factory != factory_.end() ? std::optional(factory->second) : std::nullopt));
  }
}
