#pragma once

#include "app/ConfigurationFiles.h"
#include "image/FieldCatalogue.h"
#include "image/FieldRules.h"
#include "image/ImageCodec.h"

#include <QLocale>
#include <QString>

// The main window as the File commands see it, without a window: it shows images into a set of
// field values and builds images from them with the codec, keeps the status and title texts,
// and answers the 12-measurement question from the script.
class FakeConfigurationView final : public ConfigurationView {
 public:
  FieldValues fields;
  QString status;
  QString title;
  // The answer to the 12-measurement question, and how often it was asked.
  bool confirmInactivityCount = true;
  int inactivityCountQuestions = 0;

  int ShowImage(const ParameterImage& image, ImageOrigin expectedOrigin) override {
    const ShowResult result = ShowImageValues(image, expectedOrigin, ShownCodecContext());
    for (const ShownValue& shown : result.values) {
      if (IsCheckBox(shown.field)) {
        fields.checks[shown.field] = shown.checked;
        continue;
      }
      if (shown.field == Field::edtInactivityLimit && shown.unit != NoUnit) {
        fields.selectedUnit = shown.unit;
      }
      fields.texts[shown.field] = shown.text;
    }
    return result.status;
  }
  int BuildImage(ParameterImage& image, ImageOrigin origin) override {
    return BuildImageFromFields(image, origin, fields, ShownCodecContext());
  }
  std::optional<Msg::Id> UntypedFieldRefusal() const override {
    return UntypedTextRefusal(fields, ShownCodecContext());
  }
  bool ConfirmInactivityCount(const ParameterImage& image) override {
    if (InactivityCountOf(image) >= RecommendedInactivityCount) return true;
    ++inactivityCountQuestions;
    return confirmInactivityCount;
  }
  void SetStatusText(const QString& text) override { status = text; }
  void SetTitleText(const QString& text) override { title = text; }
  void EmptyNewRadioCode() override { fields.texts[Field::edtRadioCodeNew].clear(); }
  CodecContext ShownCodecContext() const override { return CodecContext{LimitAsTime, QLocale()}; }
  FieldValues ShownFieldValues() const override { return fields; }

  [[nodiscard]] QString text(Field field) const { return fields.text(field); }
};
