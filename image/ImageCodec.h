#pragma once

#include "image/ParameterImage.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

// The main window's controls that show parameters, by their control names.
enum class Field {
  edtRadioCodeOld,
  edtRadioCodeNew,
  edtProductionDate,
  edtRadioTestAlarmInterval,
  edtMissedAck,
  cbRadioTestAlarmActive,
  edtButtonCounter,
  edtBatteryTestInterval,
  cbConfig_D0,
  cbConfig_D1,
  cbConfig_D2,
  cbConfig_D3,
  cbConfig_D4,
  cbConfig_D5,
  edtFirmwareType,
  edtFirmwareVersion,
  edtInactivitySampleInterval,
  edtInactivityTiltThreshold,
  edtDementiaBlockTime,
  edtNoShortTx,
  edtNoLongTx,
  edtInactivityLimit,
  edtButtonActivationDelay,
  edtActivityAlarmInterval,
  edtTotalTxCounter,
  edtInactivityRetransmissionAttempts,
};
// A new field is added at the end, and FieldCount then names it; its row in the field table
// (FieldCatalogue) says everything else about it.
inline constexpr int FieldCount = static_cast<int>(Field::edtInactivityRetransmissionAttempts) + 1;

// How edtInactivityLimit shows and takes the 16-bit inactivity count.
enum class InactivityLimitModeKind : int { LimitAsCount = 0, LimitAsTime = 1 };
using enum InactivityLimitModeKind;

// Units of cbbxInactivityLimitUnit (item index); NoUnit while none is selected.
inline constexpr int NoUnit = -1;
inline constexpr int UnitMinutes = 0;
inline constexpr int UnitHours = 1;

// The largest whole number of hours that is not above 65535 minutes.
inline constexpr int MaxLimitHours = 1092;

// One setter call of the window while an image is shown, in the order they must happen.
struct ShownValue {
  Field field;
  QString text;          // for edit fields
  bool checked = false;  // for check boxes
  // Inactivity limit only: the unit to put in force before the text (NoUnit in count mode) and
  // the typed maximum length to set after it.
  int unit = NoUnit;
  int maxLength = 0;
};

struct ShowResult {
  std::vector<ShownValue> values;
  int status = ImageOk;
};

// The window's current values, as BuildImage reads them.
struct FieldValues {
  std::map<Field, QString> texts;
  std::map<Field, bool> checks;
  int selectedUnit = NoUnit;

  [[nodiscard]] QString text(Field field) const;
  [[nodiscard]] bool checked(Field field) const;
};

// The settings the codec needs besides the image and the fields.
struct CodecContext {
  InactivityLimitModeKind limitMode = LimitAsTime;
  QLocale locale;
};

// The values to show for every parameter whose cells carry the expected origin, and the status:
// ImageOk, ImageWrongProduct, or the address of the field handled last that could not be shown.
[[nodiscard]] ShowResult ShowImageValues(const ParameterImage& image, ImageOrigin expectedOrigin,
                                         const CodecContext& context);

// Writes every field into the image, stamping the origin on the cells written; ImageOk or the
// address (48, 52, 54) of the field set last that could not be converted.
[[nodiscard]] int BuildImageFromFields(ParameterImage& image, ImageOrigin origin,
                                       const FieldValues& fields, const CodecContext& context);

// Fewer identical position measurements than this before an inactivity alarm risk false alarms.
inline constexpr int RecommendedInactivityCount = 12;

// The 16-bit inactivity count that BuildImage stored at InactivityCountAddress.
[[nodiscard]] int InactivityCountOf(const ParameterImage& image);

// Count, start address and the data bytes, each as two upper-case hex digits.
[[nodiscard]] QString FormatImageSegment(const ParameterImage& image, int count, int start);

struct ImageBlock {
  int count;
  int start;
};

// The blocks a write to the transmitter sends: the runs of written bytes of the parameter map,
// in address order (the radio code block is sent only after a confirmed code change).
[[nodiscard]] std::vector<ImageBlock> ConfigurationWriteBlocks();
// The image addresses whose bytes a field shows and is built into, in address order.
[[nodiscard]] std::vector<int> AddressesOf(Field field);
inline constexpr ImageBlock RadioCodeBlock{2, RadioCodeAddress};
