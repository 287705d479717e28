#include "image/FieldCatalogue.h"

#include <algorithm>

namespace {

using enum FieldGroup;
using enum KeyFilterKind;
constexpr bool CheckBox = true;
constexpr bool Edit = false;

// The window's rows in their order. The counters, the product data and the old radio code are
// filled by the program only; the old radio code keeps the new one's filter all the same.
constexpr FieldEntry Entries[] = {
    {Field::edtRadioCodeOld, RadioParameters, Msg::CaptionRadioCode, Msg::CaptionCurrent, Edit,
     RadioCode},
    {Field::edtRadioCodeNew, RadioParameters, Msg::CaptionRadioCode, Msg::CaptionNew, Edit,
     RadioCode},
    {Field::edtNoShortTx, RadioParameters, Msg::CaptionShortTransmissions, {}, Edit, Numeric},
    {Field::edtNoLongTx, RadioParameters, Msg::CaptionLongTransmissions, {}, Edit, Numeric},

    {Field::cbConfig_D3, TechnicalAlarms, Msg::CaptionActivityAlarmActive, {}, CheckBox, None},
    {Field::edtActivityAlarmInterval,
     TechnicalAlarms,
     Msg::CaptionActivityAlarmInterval,
     {},
     Edit,
     Numeric,
     Msg::UnitHours},
    {Field::cbRadioTestAlarmActive,
     TechnicalAlarms,
     Msg::CaptionRadioTestAlarmActive,
     {},
     CheckBox,
     None},
    {Field::edtRadioTestAlarmInterval,
     TechnicalAlarms,
     Msg::CaptionRadioTestAlarmInterval,
     {},
     Edit,
     Numeric,
     Msg::UnitHours},
    {Field::cbConfig_D2,
     TechnicalAlarms,
     Msg::CaptionTestAlarmWithButtonCounter,
     {},
     CheckBox,
     None},
    {Field::edtMissedAck, TechnicalAlarms, Msg::CaptionMissedAckBeforeSleep, {}, Edit, Numeric},
    {Field::edtBatteryTestInterval,
     TechnicalAlarms,
     Msg::CaptionBatteryTestInterval,
     {},
     Edit,
     Numeric,
     Msg::UnitHours},
    {Field::edtButtonCounter, TechnicalAlarms, Msg::CaptionButtonCounter, {}, Edit, None},
    {Field::edtTotalTxCounter, TechnicalAlarms, Msg::CaptionTotalTxCounter, {}, Edit, None},
    {Field::cbConfig_D4, TechnicalAlarms, Msg::CaptionCompatibleAlarmTypes, {}, CheckBox, None},

    {Field::cbConfig_D1, UserAlarms, Msg::CaptionAlarmButtonActive, {}, CheckBox, None},
    {Field::edtButtonActivationDelay,
     UserAlarms,
     Msg::CaptionButtonActivationDelay,
     {},
     Edit,
     Decimal,
     Msg::UnitSeconds},
    {Field::edtDementiaBlockTime,
     UserAlarms,
     Msg::CaptionDementiaBlockTime,
     {},
     Edit,
     Numeric,
     Msg::UnitMinutes},
    {Field::cbConfig_D0, UserAlarms, Msg::CaptionInactivitySenseActive, {}, CheckBox, None},
    {Field::edtInactivityLimit, UserAlarms, Msg::CaptionInactivityLimit, {}, Edit, Numeric},
    {Field::edtInactivitySampleInterval,
     UserAlarms,
     Msg::CaptionSampleInterval,
     {},
     Edit,
     Numeric,
     Msg::UnitMinutes},
    {Field::edtInactivityTiltThreshold, UserAlarms, Msg::CaptionTiltThreshold, {}, Edit, Numeric},
    {Field::edtInactivityRetransmissionAttempts,
     UserAlarms,
     Msg::CaptionRetransmissionAttempts,
     {},
     Edit,
     Numeric},
    {Field::cbConfig_D5, UserAlarms, Msg::CaptionIgnoreRetransmissionAck, {}, CheckBox, None},

    {Field::edtFirmwareVersion, ProductInformation, Msg::CaptionFirmwareVersion, {}, Edit, None},
    {Field::edtProductionDate, ProductInformation, Msg::CaptionProductionDate, {}, Edit, None},
    {Field::edtFirmwareType, ProductInformation, Msg::CaptionFirmwareType, {}, Edit, None},
};

}  // namespace

std::span<const FieldEntry> FieldCatalogue() {
  return Entries;
}

const FieldEntry& CatalogueEntry(Field field) {
  // Every field has its entry; the catalogue's test holds each enumerator against it.
  return *std::ranges::find(Entries, field, &FieldEntry::field);
}

Msg::Id GroupCaptionText(FieldGroup group) {
  switch (group) {
    case RadioParameters:
      return Msg::CaptionRadioParameters;
    case TechnicalAlarms:
      return Msg::CaptionTechnicalAlarms;
    case UserAlarms:
      return Msg::CaptionUserAlarms;
    case ProductInformation:
      return Msg::CaptionProductInformation;
  }
  return Msg::CaptionRadioParameters;
}

Msg::Id FieldCaptionText(Field field, InactivityLimitModeKind limitMode) {
  // In service mode the limit is entered as the raw count, and its caption says so.
  if (field == Field::edtInactivityLimit && limitMode == LimitAsCount) {
    return Msg::CaptionInactivityLimitCount;
  }
  return CatalogueEntry(field).caption;
}

std::optional<Msg::Id> FieldUnitText(Field field, InactivityLimitModeKind limitMode,
                                     int selectedUnit) {
  if (field != Field::edtInactivityLimit) return CatalogueEntry(field).unit;
  if (limitMode == LimitAsCount || selectedUnit == NoUnit) return std::nullopt;
  return selectedUnit == UnitHours ? Msg::UnitHours : Msg::UnitMinutes;
}

bool IsFilledByProgram(Field field) {
  const FieldEntry& entry = CatalogueEntry(field);
  return field == Field::edtRadioCodeOld || (!entry.isCheckBox && entry.keyFilter == None);
}

bool IsCheckBox(Field field) {
  return CatalogueEntry(field).isCheckBox;
}

KeyFilterKind KeyFilterOf(Field field) {
  return CatalogueEntry(field).keyFilter;
}
