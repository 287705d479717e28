#include "image/FieldCatalogue.h"

#include <algorithm>

namespace {

using enum FieldGroup;
using enum KeyFilterKind;
using E = FieldEncoding;
using F = Field;

// The window's rows in their order. The counters, the product data and the old radio code are
// filled by the program only; the old radio code keeps the new one's filter all the same. The
// sample interval is the only field that refuses 0, and it puts back its lower bound whichever
// bound was passed.
constexpr FieldEntry Entries[] = {
    {.field = F::edtRadioCodeOld,
     .key = "radioCode",
     .controlName = "edtRadioCodeOld",
     .group = RadioParameters,
     .caption = Msg::CaptionRadioCode,
     .partCaption = Msg::CaptionCurrent,
     .isCheckBox = false,
     .keyFilter = RadioCode,
     .bytes = {.encoding = E::RadioCode, .address = RadioCodeAddress, .width = 2, .step = 1},
     .form = {.labelName = "lblOld", .designCaption = "Old", .maxLength = 4, .enabled = false}},
    {.field = F::edtRadioCodeNew,
     .key = "newRadioCode",
     .controlName = "edtRadioCodeNew",
     .group = RadioParameters,
     .caption = Msg::CaptionRadioCode,
     .partCaption = Msg::CaptionNew,
     .isCheckBox = false,
     .keyFilter = RadioCode,
     .form = {.labelName = "lblNew", .designCaption = "New", .maxLength = 4}},
    {.field = F::edtNoShortTx,
     .key = "shortTransmissions",
     .controlName = "edtNoShortTx",
     .group = RadioParameters,
     .caption = Msg::CaptionShortTransmissions,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .bytes = {.encoding = E::Nibbles, .address = 0x33, .width = 1, .part = 0, .step = 2},
     .range = FieldRangeRule{0, 15, Msg::ShortTransmissionsRange, "15"},
     .form = {.labelName = "lblNoOfShortTransmissions",
              .designCaption = "Number of short transmissions",
              .initialText = "3",
              .maxLength = 2}},
    {.field = F::edtNoLongTx,
     .key = "longTransmissions",
     .controlName = "edtNoLongTx",
     .group = RadioParameters,
     .caption = Msg::CaptionLongTransmissions,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .bytes = {.encoding = E::Nibbles, .address = 0x33, .width = 1, .part = 1, .step = 2},
     .range = FieldRangeRule{0, 15, Msg::LongTransmissionsRange, "15"},
     .form = {.labelName = "lblNoOfLongTransmissions",
              .designCaption = "Number of long transmissions",
              .initialText = "3",
              .maxLength = 2}},

    {.field = F::cbConfig_D3,
     .key = "activityAlarm",
     .controlName = "cbConfig_D3",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionActivityAlarmActive,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::ConfigBits, .address = 0x2D, .width = 1, .part = 3, .step = 19},
     .guard = {GuardKind::SwitchedOff, 5},
     .form = {.labelName = "lblActivityAlarmActive",
              .designCaption = "Activity alarm active",
              .checked = true}},
    {.field = F::edtActivityAlarmInterval,
     .key = "activityAlarmInterval",
     .controlName = "edtActivityAlarmInterval",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionActivityAlarmInterval,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .unit = Msg::UnitHours,
     .bytes = {.encoding = E::Decimal, .address = 0x37, .width = 1, .step = 3},
     .range = FieldRangeRule{0, 255, Msg::ActivityAlarmIntervalRange, "255"},
     .enabledBy = F::cbConfig_D3,
     .form = {.labelName = "lblActivityAlarmInterval",
              .designCaption = "Activity alarm interval (h)",
              .maxLength = 3}},
    {.field = F::cbRadioTestAlarmActive,
     .key = "radioTestAlarm",
     .controlName = "cbRadioTestAlarmActive",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionRadioTestAlarmActive,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::CheckBit0, .address = 0x29, .width = 1, .step = 4},
     .guard = {GuardKind::SwitchedOff, 3},
     .form = {.labelName = "lblRadioTestAlarmActive", .designCaption = "Radio test alarm active"}},
    {.field = F::edtRadioTestAlarmInterval,
     .key = "radioTestAlarmInterval",
     .controlName = "edtRadioTestAlarmInterval",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionRadioTestAlarmInterval,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .unit = Msg::UnitHours,
     .bytes = {.encoding = E::Decimal, .address = 0x27, .width = 1, .step = 5},
     .range = FieldRangeRule{0, 255, Msg::RadioTestAlarmIntervalRange, "255"},
     .enabledBy = F::cbRadioTestAlarmActive,
     .form = {.labelName = "lblRadioTestAlarmInterval",
              .designCaption = "Radio test alarm interval (h)",
              .initialText = "9",
              .maxLength = 3,
              .enabled = false}},
    {.field = F::cbConfig_D2,
     .key = "testAlarmWithButtonCounter",
     .controlName = "cbConfig_D2",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionTestAlarmWithButtonCounter,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::ConfigBits, .address = 0x2D, .width = 1, .part = 2, .step = 19},
     .enabledBy = F::cbRadioTestAlarmActive,
     .form = {.labelName = "lblTransmitTestAlarmWithButtonCounterValue",
              .designCaption = "Transmit test alarm with button counter value",
              .enabled = false}},
    {.field = F::edtMissedAck,
     .key = "missedAcknowledgements",
     .controlName = "edtMissedAck",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionMissedAckBeforeSleep,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .bytes = {.encoding = E::Decimal, .address = 0x28, .width = 1, .step = 6},
     .range = FieldRangeRule{0, 255, Msg::MissedAckRange, "255"},
     .enabledBy = F::cbRadioTestAlarmActive,
     .form = {.labelName = "lblNoOfMissedAckBeforeSleep",
              .designCaption = "Missed acknowledgements before sleep",
              .initialText = "19",
              .maxLength = 3,
              .enabled = false}},
    {.field = F::edtBatteryTestInterval,
     .key = "batteryTestInterval",
     .controlName = "edtBatteryTestInterval",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionBatteryTestInterval,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .unit = Msg::UnitHours,
     .bytes = {.encoding = E::Decimal, .address = 0x2C, .width = 1, .step = 7},
     .range = FieldRangeRule{0, 255, Msg::BatteryTestIntervalRange, "255"},
     .guard = {GuardKind::SwitchedOff, 4},
     .form = {.labelName = "lblBatteryTestInterval",
              .designCaption = "Battery test interval (h, 0=off)",
              .initialText = "24",
              .maxLength = 3}},
    {.field = F::edtButtonCounter,
     .key = "buttonCounter",
     .controlName = "edtButtonCounter",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionButtonCounter,
     .isCheckBox = false,
     .keyFilter = None,
     .bytes = {.encoding = E::Decimal, .address = 0x2A, .width = 2, .step = 8},
     .form = {.labelName = "lblButtonCounter",
              .designCaption = "Button counter",
              .enabled = false}},
    {.field = F::edtTotalTxCounter,
     .key = "totalTransmissions",
     .controlName = "edtTotalTxCounter",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionTotalTxCounter,
     .isCheckBox = false,
     .keyFilter = None,
     .bytes = {.encoding = E::Decimal, .address = 0x38, .width = 2, .step = 9},
     .form = {.labelName = "lblTotalTxCounter",
              .designCaption = "Total transmissions",
              .enabled = false}},
    {.field = F::cbConfig_D4,
     .key = "compatibleAlarmTypes",
     .controlName = "cbConfig_D4",
     .group = TechnicalAlarms,
     .caption = Msg::CaptionCompatibleAlarmTypes,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::ConfigBits, .address = 0x2D, .width = 1, .part = 4, .step = 19},
     .rerunsRuleOf = F::cbRadioTestAlarmActive,
     .form = {.labelName = "lblCompatibleAlarmTypes", .designCaption = "Compatible alarm types"}},

    {.field = F::cbConfig_D1,
     .key = "alarmButton",
     .controlName = "cbConfig_D1",
     .group = UserAlarms,
     .caption = Msg::CaptionAlarmButtonActive,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::ConfigBits, .address = 0x2D, .width = 1, .part = 1, .step = 19},
     .guard = {GuardKind::SwitchedOff, 1, true},
     .form = {.labelName = "lblAlarmButtonActive",
              .designCaption = "Alarm button active",
              .checked = true}},
    {.field = F::edtButtonActivationDelay,
     .key = "buttonActivationDelay",
     .controlName = "edtButtonActivationDelay",
     .group = UserAlarms,
     .caption = Msg::CaptionButtonActivationDelay,
     .isCheckBox = false,
     .keyFilter = Decimal,
     .unit = Msg::UnitSeconds,
     .bytes = {.encoding = E::ButtonDelay, .address = 0x36, .width = 1, .step = 10},
     .range = FieldRangeRule{0, 25, Msg::ButtonActivationDelayRange, "25"},
     .enabledBy = F::cbConfig_D1,
     .form = {.labelName = "lblButtonActivationDelay",
              .designCaption = "Button activation delay (s)",
              .initialText = "0,1",
              .maxLength = 4}},
    {.field = F::edtDementiaBlockTime,
     .key = "dementiaBlockTime",
     .controlName = "edtDementiaBlockTime",
     .group = UserAlarms,
     .caption = Msg::CaptionDementiaBlockTime,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .unit = Msg::UnitMinutes,
     .bytes = {.encoding = E::Decimal, .address = 0x32, .width = 1, .step = 11},
     .range = FieldRangeRule{0, 255, Msg::DementiaBlockTimeRange, "255"},
     .enabledBy = F::cbConfig_D1,
     .guard = {GuardKind::RaisedByHalf, 6},
     .form = {.labelName = "lblDementiaBlockTime",
              .designCaption = "Dementia block time (min)",
              .initialText = "0",
              .maxLength = 3}},
    {.field = F::cbConfig_D0,
     .key = "inactivitySensing",
     .controlName = "cbConfig_D0",
     .group = UserAlarms,
     .caption = Msg::CaptionInactivitySenseActive,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::ConfigBits, .address = 0x2D, .width = 1, .part = 0, .step = 19},
     .guard = {GuardKind::SwitchedOff, 2, true},
     .form = {.labelName = "lblInactivitySenseActive",
              .designCaption = "Inactivity sensing active",
              .checked = true}},
    {.field = F::edtInactivityLimit,
     .key = "inactivityLimit",
     .controlName = "edtInactivityLimit",
     .group = UserAlarms,
     .caption = Msg::CaptionInactivityLimit,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .bytes = {.encoding = E::InactivityLimit,
               .address = InactivityCountAddress,
               .width = 2,
               .step = 12},
     .enabledBy = F::cbConfig_D0,
     .guard = {GuardKind::RaisedByHalf, 7},
     .form = {.labelName = "lblInactivityLimit",
              .designCaption = "Inactivity limit",
              .initialText = "0",
              .maxLength = 5}},
    {.field = F::edtInactivitySampleInterval,
     .key = "sampleInterval",
     .controlName = "edtInactivitySampleInterval",
     .group = UserAlarms,
     .caption = Msg::CaptionSampleInterval,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .unit = Msg::UnitMinutes,
     .bytes = {.encoding = E::Decimal, .address = SampleIntervalAddress, .width = 1, .step = 13},
     .range = FieldRangeRule{1, 255, Msg::SampleIntervalRange, "1"},
     .form = {.labelName = "lblInactivitySampleInterval",
              .designCaption = "Inactivity sample interval (min)",
              .initialText = "0",
              .maxLength = 3,
              .enabled = false}},
    {.field = F::edtInactivityTiltThreshold,
     .key = "tiltThreshold",
     .controlName = "edtInactivityTiltThreshold",
     .group = UserAlarms,
     .caption = Msg::CaptionTiltThreshold,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .bytes = {.encoding = E::Decimal, .address = 0x31, .width = 1, .step = 14},
     .range = FieldRangeRule{0, 255, Msg::TiltThresholdRange, "255"},
     .form = {.labelName = "lblInactivityTiltThreshold",
              .designCaption = "Tilt threshold",
              .initialText = "0",
              .maxLength = 3,
              .enabled = false}},
    {.field = F::edtInactivityRetransmissionAttempts,
     .key = "retransmissionAttempts",
     .controlName = "edtInactivityRetransmissionAttempts",
     .group = UserAlarms,
     .caption = Msg::CaptionRetransmissionAttempts,
     .isCheckBox = false,
     .keyFilter = Numeric,
     .bytes = {.encoding = E::Decimal, .address = 0x3A, .width = 1, .step = 15},
     // Its two typed digits bound it.
     .range = FieldRangeRule{0, 99, Msg::RetransmissionAttemptsRange},
     .enabledBy = F::cbConfig_D0,
     .form = {.labelName = "lblInactivityRetransmissionAttempts",
              .designCaption = "Retransmission attempts",
              .initialText = "0",
              .maxLength = 2}},
    {.field = F::cbConfig_D5,
     .key = "ignoreRetransmissionAck",
     .controlName = "cbConfig_D5",
     .group = UserAlarms,
     .caption = Msg::CaptionIgnoreRetransmissionAck,
     .isCheckBox = true,
     .keyFilter = None,
     .bytes = {.encoding = E::ConfigBits, .address = 0x2D, .width = 1, .part = 5, .step = 19},
     .enabledBy = F::cbConfig_D0,
     .rerunsRuleOf = F::cbConfig_D0,
     .form = {.labelName = "lblIgnoreRetransmissionAck",
              .designCaption = "Ignore acknowledgements of retransmissions"}},

    {.field = F::edtFirmwareVersion,
     .key = "firmwareVersion",
     .controlName = "edtFirmwareVersion",
     .group = ProductInformation,
     .caption = Msg::CaptionFirmwareVersion,
     .isCheckBox = false,
     .keyFilter = None,
     .bytes = {.encoding = E::FirmwareVersion, .address = 0x2F, .width = 1, .step = 16},
     .form = {.labelName = "lblFirmwareVersion",
              .designCaption = "Firmware version",
              .enabled = false}},
    {.field = F::edtProductionDate,
     .key = "productionDate",
     .controlName = "edtProductionDate",
     .group = ProductInformation,
     .caption = Msg::CaptionProductionDate,
     .isCheckBox = false,
     .keyFilter = None,
     .bytes = {.encoding = E::ProductionDate, .address = 0x22, .width = 3, .step = 17},
     .form = {.labelName = "lblProductionDate",
              .designCaption = "Production date",
              .enabled = false}},
    {.field = F::edtFirmwareType,
     .key = "firmwareType",
     .controlName = "edtFirmwareType",
     .group = ProductInformation,
     .caption = Msg::CaptionFirmwareType,
     .isCheckBox = false,
     .keyFilter = None,
     .bytes = {.encoding = E::ProductType, .address = ProductTypeAddress, .width = 1, .step = 18},
     .form = {.labelName = "lblFirmwareType", .designCaption = "Firmware type", .enabled = false}},
};

}  // namespace

std::span<const FieldEntry> FieldCatalogue() {
  return Entries;
}

const FieldEntry& CatalogueEntry(Field field) {
  // Every field has its entry; the catalogue's test holds each enumerator against it.
  return *std::ranges::find(Entries, field, &FieldEntry::field);
}

std::optional<Field> FieldNamed(const QString& name) {
  for (const FieldEntry& entry : Entries) {
    if (name == QLatin1String(entry.key) || name == QLatin1String(entry.controlName)) {
      return entry.field;
    }
  }
  return std::nullopt;
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
