#pragma once

#include "app/ConfigurationFiles.h"
#include "image/ConfigurationDocument.h"
#include "image/ImageCodec.h"

#include <QString>

// The main window as the File commands see it, without a window: its configuration document,
// the status and title texts, and the 12-measurement question answered from the script.
class FakeConfigurationView final : public ConfigurationView {
 public:
  ConfigurationDocument document;
  QString status;
  QString title;
  // The answer to the 12-measurement question, and how often it was asked.
  bool confirmInactivityCount = true;
  int inactivityCountQuestions = 0;

  bool ConfirmInactivityCount(const ParameterImage& image) override {
    if (InactivityCountOf(image) >= RecommendedInactivityCount) return true;
    ++inactivityCountQuestions;
    return confirmInactivityCount;
  }
  void SetStatusText(const QString& text) override { status = text; }
  void SetTitleText(const QString& text) override { title = text; }
  void EmptyNewRadioCode() override { document.SetFieldText(Field::edtRadioCodeNew, {}); }

  void setText(Field field, const QString& text) { document.SetFieldText(field, text); }
  [[nodiscard]] QString text(Field field) const { return document.FieldText(field); }
};
