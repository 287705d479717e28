#include "image/FieldRules.h"

#include "image/Messages.h"

#include <gtest/gtest.h>

namespace {

const QLocale German(QLocale::German, QLocale::Germany);
const QLocale English(QLocale::English, QLocale::UnitedStates);

Refusal refusal(Msg::Id message, const char* putBack) {
  return Refusal{message, QString::fromLatin1(putBack)};
}

RuleVerdict range(Field field, const char* text, const QLocale& locale = German) {
  return CheckRange(field, QString::fromLatin1(text), locale);
}

}  // namespace

TEST(RangeRules, BoundsAreInclusiveAndTheNextValueIsPutBack) {
  EXPECT_EQ(range(Field::edtBatteryTestInterval, "255"), std::nullopt);
  EXPECT_EQ(range(Field::edtBatteryTestInterval, "256"),
            refusal(Msg::BatteryTestIntervalRange, "255"));
  EXPECT_EQ(range(Field::edtNoLongTx, "15"), std::nullopt);
  EXPECT_EQ(range(Field::edtNoLongTx, "16"), refusal(Msg::LongTransmissionsRange, "15"));
  EXPECT_EQ(range(Field::edtNoShortTx, "20"), refusal(Msg::ShortTransmissionsRange, "15"));
  EXPECT_EQ(range(Field::edtActivityAlarmInterval, "256"),
            refusal(Msg::ActivityAlarmIntervalRange, "255"));
  EXPECT_EQ(range(Field::edtInactivityTiltThreshold, "0"), std::nullopt);
}

TEST(RangeRules, OnlyTheSampleIntervalRefusesZeroAndPutsBackOneForEveryRefusal) {
  EXPECT_EQ(range(Field::edtInactivitySampleInterval, "0"), refusal(Msg::SampleIntervalRange, "1"));
  EXPECT_EQ(range(Field::edtInactivitySampleInterval, "300"),
            refusal(Msg::SampleIntervalRange, "1"));
  EXPECT_EQ(range(Field::edtInactivitySampleInterval, "1"), std::nullopt);
  EXPECT_EQ(range(Field::edtInactivitySampleInterval, "255"), std::nullopt);
  // The placeholder reads as 0.
  EXPECT_EQ(range(Field::edtInactivitySampleInterval, "?"), refusal(Msg::SampleIntervalRange, "1"));
  EXPECT_EQ(range(Field::edtBatteryTestInterval, "?"), std::nullopt);
  EXPECT_EQ(range(Field::edtDementiaBlockTime, "abc"), std::nullopt);
}

TEST(RangeRules, EmptyTextAndFieldsWithoutRuleAreLeftAlone) {
  EXPECT_EQ(range(Field::edtInactivitySampleInterval, ""), std::nullopt);
  EXPECT_EQ(range(Field::edtButtonActivationDelay, ""), std::nullopt);
  EXPECT_EQ(range(Field::edtInactivityRetransmissionAttempts, "999"), std::nullopt);
  EXPECT_EQ(range(Field::edtButtonCounter, "99999"), std::nullopt);
}

TEST(RangeRules, PastedNegativeNumbersAreRefusedBecauseTheBytesAreUnsigned) {
  EXPECT_EQ(range(Field::edtNoShortTx, "-1"), refusal(Msg::ShortTransmissionsRange, "15"));
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "-0,5"),
            refusal(Msg::ButtonActivationDelayRange, "25"));
}

TEST(RangeRules, ButtonDelayIsReadWithTheLocaleDecimalSeparator) {
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "2,6"), std::nullopt);
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "25"), std::nullopt);
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "30"),
            refusal(Msg::ButtonActivationDelayRange, "25"));
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "25,5"),
            refusal(Msg::ButtonActivationDelayRange, "25"));
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "25,01"),
            refusal(Msg::ButtonActivationDelayRange, "25"));
  // Not numbers: left for building to report.
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "1,2,3"), std::nullopt);
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "1.000"), std::nullopt);

  EXPECT_EQ(range(Field::edtButtonActivationDelay, "25.5", English),
            refusal(Msg::ButtonActivationDelayRange, "25"));
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "2.6", English), std::nullopt);
  EXPECT_EQ(range(Field::edtButtonActivationDelay, "25,5", English), std::nullopt);
}

TEST(InactivityLimitRule, CountModeTakesOneTo65535) {
  EXPECT_EQ(CheckInactivityLimit("0", LimitAsCount, NoUnit),
            refusal(Msg::InactivityLimitCountRange, "65535"));
  EXPECT_EQ(CheckInactivityLimit("65536", LimitAsCount, UnitHours),
            refusal(Msg::InactivityLimitCountRange, "65535"));
  EXPECT_EQ(CheckInactivityLimit("65535", LimitAsCount, NoUnit), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("1", LimitAsCount, NoUnit), std::nullopt);
}

TEST(InactivityLimitRule, TimeModeJudgesInTheSelectedUnit) {
  EXPECT_EQ(CheckInactivityLimit("1092", LimitAsTime, UnitHours), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("1093", LimitAsTime, UnitHours),
            refusal(Msg::InactivityLimitHoursRange, "1"));
  EXPECT_EQ(CheckInactivityLimit("0", LimitAsTime, UnitHours),
            refusal(Msg::InactivityLimitHoursRange, "1"));
  EXPECT_EQ(CheckInactivityLimit("1093", LimitAsTime, UnitMinutes), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("65535", LimitAsTime, UnitMinutes), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("65536", LimitAsTime, UnitMinutes),
            refusal(Msg::InactivityLimitMinutesRange, "1"));
  EXPECT_EQ(CheckInactivityLimit("?", LimitAsTime, UnitMinutes),
            refusal(Msg::InactivityLimitMinutesRange, "1"));
}

TEST(InactivityLimitRule, NothingIsJudgedWithoutUnitOrText) {
  EXPECT_EQ(CheckInactivityLimit("0", LimitAsTime, NoUnit), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("99999", LimitAsTime, NoUnit), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("", LimitAsTime, UnitHours), std::nullopt);
  EXPECT_EQ(CheckInactivityLimit("", LimitAsCount, NoUnit), std::nullopt);
}

TEST(RadioCodeRule, RefusesAllZerosAndAllOnesInAnyCaseWithoutPuttingBack) {
  const Refusal refused{Msg::ReservedRadioCode, std::nullopt};
  EXPECT_EQ(CheckRadioCode("0000"), refused);
  EXPECT_EQ(CheckRadioCode("ffff"), refused);
  EXPECT_EQ(CheckRadioCode("FfFf"), refused);
  EXPECT_EQ(CheckRadioCode("000"), std::nullopt);
  EXPECT_EQ(CheckRadioCode("FFF"), std::nullopt);
  EXPECT_EQ(CheckRadioCode("0001"), std::nullopt);
  EXPECT_EQ(CheckRadioCode(""), std::nullopt);
}

TEST(NewRadioCode, OnlyFourHexDigitsThatAreNotReservedAreSent) {
  struct Case {
    const char* code;
    std::optional<int> write;
    std::optional<int> codeChange;
  };
  const std::optional<int> sent;
  const Case cases[] = {
      {"beef", sent, sent},
      {"0FFF", sent, sent},
      {"000F", sent, sent},
      {"", sent, Msg::NewCodeNotFourHexDigits},  // the write then changes no code
      {"0", Msg::ReservedRadioCode, Msg::NewCodeNotFourHexDigits},
      {"000", Msg::ReservedRadioCode, Msg::NewCodeNotFourHexDigits},
      {"0000", Msg::ReservedRadioCode, Msg::ReservedRadioCode},
      {"fFfF", Msg::ReservedRadioCode, Msg::ReservedRadioCode},
      {"12", Msg::NewCodeNotFourHexDigits, Msg::NewCodeNotFourHexDigits},
      {"GGGG", Msg::NewCodeNotFourHexDigits, Msg::NewCodeNotFourHexDigits},
      {"0000x", Msg::NewCodeNotFourHexDigits, Msg::NewCodeNotFourHexDigits},
      {"FFFF ", Msg::NewCodeNotFourHexDigits, Msg::NewCodeNotFourHexDigits},
      {"1A\b2", Msg::NewCodeNotFourHexDigits, Msg::NewCodeNotFourHexDigits},
      {"\u00b9234", Msg::NewCodeNotFourHexDigits,
       Msg::NewCodeNotFourHexDigits},  // a dead key's superscript one
      {"\u0661\u0662\u0663\u0664", Msg::NewCodeNotFourHexDigits,
       Msg::NewCodeNotFourHexDigits},  // Arabic-Indic digits
  };
  for (const Case& c : cases) {
    const QString code = QString::fromUtf8(c.code);
    EXPECT_EQ(NewRadioCodeRefusal(code, NewCodeSender::Write), c.write) << c.code;
    EXPECT_EQ(NewRadioCodeRefusal(code, NewCodeSender::CodeChange), c.codeChange) << c.code;
  }
  EXPECT_EQ(RadioCodeAsSent("c0de"), "C0DE");
}

TEST(LimitUnitConversion, MinutesToHoursRoundsAHalfUpWithAtLeastOneHour) {
  const auto toHours = [](const char* minutes) {
    return ConvertLimitUnit(QString::fromLatin1(minutes), UnitMinutes, UnitHours);
  };
  EXPECT_EQ(toHours("90"), (LimitConversion{"2", 4}));
  EXPECT_EQ(toHours("89"), (LimitConversion{"1", 4}));
  EXPECT_EQ(toHours("150"), (LimitConversion{"3", 4}));
  EXPECT_EQ(toHours("30"), (LimitConversion{"1", 4}));
  EXPECT_EQ(toHours("0"), (LimitConversion{"1", 4}));
  EXPECT_EQ(toHours(""), (LimitConversion{"1", 4}));
  EXPECT_EQ(toHours("65535"), (LimitConversion{"1092", 4}));
}

TEST(LimitUnitConversion, HoursToMinutesMultipliesWithoutOverflow) {
  const auto toMinutes = [](const char* hours) {
    return ConvertLimitUnit(QString::fromLatin1(hours), UnitHours, UnitMinutes);
  };
  EXPECT_EQ(toMinutes("2"), (LimitConversion{"120", 5}));
  EXPECT_EQ(toMinutes("0"), (LimitConversion{"0", 5}));
  // A pasted number far beyond the field; the rule then refuses it.
  EXPECT_EQ(toMinutes("2147483647"), (LimitConversion{"128849018820", 5}));
}

TEST(LimitUnitConversion, IsNotReversibleAndDoesNothingWithoutAChange) {
  const auto hours = ConvertLimitUnit("100", UnitMinutes, UnitHours);
  ASSERT_TRUE(hours);
  EXPECT_EQ(ConvertLimitUnit(hours->text, UnitHours, UnitMinutes)->text, "120");

  EXPECT_EQ(ConvertLimitUnit("90", UnitMinutes, UnitMinutes), std::nullopt);
  EXPECT_EQ(ConvertLimitUnit("90", NoUnit, UnitHours), std::nullopt);
}

TEST(UntypedTextRefusal, ANumericTextWithACharacterNoKeyTypesNeverBecomesAByte) {
  const struct {
    Field field;
    QString text;
    InactivityLimitModeKind mode;
    int unit;
    std::optional<Msg::Id> refusal;
  } rows[] = {
      {Field::edtBatteryTestInterval, QStringLiteral("24"), LimitAsTime, UnitHours, std::nullopt},
      {Field::edtBatteryTestInterval, QStringLiteral(""), LimitAsTime, UnitHours, std::nullopt},
      {Field::edtBatteryTestInterval, QStringLiteral("2") + QChar(0x00AD) + QStringLiteral("4"),
       LimitAsTime, UnitHours, Msg::BatteryTestIntervalRange},
      {Field::edtNoShortTx, QStringLiteral("3") + QChar(0x200C), LimitAsTime, UnitHours,
       Msg::ShortTransmissionsRange},
      {Field::edtDementiaBlockTime, QStringLiteral("?"), LimitAsTime, UnitHours,
       Msg::DementiaBlockTimeRange},
      {Field::edtMissedAck, QStringLiteral(" 19"), LimitAsTime, UnitHours, Msg::MissedAckRange},
      {Field::edtInactivityTiltThreshold, QStringLiteral("+5"), LimitAsTime, UnitHours,
       Msg::TiltThresholdRange},
      {Field::edtButtonActivationDelay, QStringLiteral("0,1"), LimitAsTime, UnitHours,
       std::nullopt},
      {Field::edtButtonActivationDelay, QStringLiteral("0.1"), LimitAsTime, UnitHours,
       Msg::ButtonActivationDelayRange},
      {Field::edtInactivityLimit, QStringLiteral("12") + QChar(0x200E), LimitAsTime, UnitHours,
       Msg::InactivityLimitHoursRange},
      {Field::edtInactivityLimit, QStringLiteral("7") + QChar(0xE000), LimitAsTime, UnitMinutes,
       Msg::InactivityLimitMinutesRange},
      {Field::edtInactivityLimit, QString::fromUcs4(U"1\U0001F600"), LimitAsCount, NoUnit,
       Msg::InactivityLimitCountRange},
      {Field::edtInactivityRetransmissionAttempts, QStringLiteral("3\u00A0"), LimitAsTime,
       UnitHours, Msg::RetransmissionAttemptsRange},
      // Fields without a key filter, and the radio codes, are judged elsewhere.
      {Field::edtProductionDate, QStringLiteral("YYMMDD"), LimitAsTime, UnitHours, std::nullopt},
      {Field::edtRadioCodeNew, QStringLiteral("BEEF"), LimitAsTime, UnitHours, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text.toStdString());
    FieldValues fields;
    fields.texts[Field::edtNoLongTx] = QStringLiteral("3");
    fields.texts[row.field] = row.text;
    fields.selectedUnit = row.unit;
    EXPECT_EQ(UntypedTextRefusal(fields, CodecContext{row.mode, German}), row.refusal);
  }
}
