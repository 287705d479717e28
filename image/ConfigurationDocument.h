#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

// The configuration the window shows and every feature reads (the sheet, the field help, the
// comparison, the File commands, a series, a write): its field values as shown, how they are shown
// (the limit's mode and the locale), and what an image shown or built makes of them. The values
// are kept rather than bytes because a number typed halfway ("1,") is not yet a byte, and must not
// be lost while the technician types it; the bytes are built from the values when asked for.
class ConfigurationDocument : public QObject {
  Q_OBJECT

 public:
  explicit ConfigurationDocument(QObject* parent = nullptr) : QObject(parent) {}

  [[nodiscard]] const FieldValues& Values() const { return values_; }
  [[nodiscard]] QString FieldText(Field field) const { return values_.text(field); }
  // The limit's mode, and the user's locale as it is now.
  [[nodiscard]] CodecContext Context() const;
  void SetLimitMode(InactivityLimitModeKind mode) { limitMode_ = mode; }

  // Every field's value of `image` through the codec: as far as it goes when a field cannot be
  // shown. Tells ValuesShown for the window to put them in its fields; the codec's status.
  int Show(const ParameterImage& image, ImageOrigin expectedOrigin);
  // One field edited, by the user or by a rule that put its value back.
  void SetFieldText(Field field, const QString& text);
  void SetChecked(Field field, bool checked);
  void SetSelectedUnit(int unit);

  // The values built into an image, stamping `origin`; ImageOk or the address that failed.
  [[nodiscard]] int Build(ParameterImage& image, ImageOrigin origin) const;
  // The range message of a numeric field whose text must not be built at all.
  [[nodiscard]] std::optional<Msg::Id> UntypedRefusal() const;

 signals:
  void ValuesShown(const std::vector<ShownValue>& values);
  void Changed();

 private:
  FieldValues values_;
  InactivityLimitModeKind limitMode_ = LimitAsTime;
};
