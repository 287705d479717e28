#include "image/SeriesPlan.h"

#include "image/CsvText.h"
#include "image/FieldRules.h"
#include "image/VembaData.h"

#include <algorithm>

namespace {

constexpr int CodeCount = 0x10000;
constexpr int LastCode = 0xFFFF;

QString CodeText(int code) {
  return QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString RadioCodeOf(const QString& text) {
  const QString code = text.trimmed().toUpper();
  if (code.size() != 4 || !std::all_of(code.begin(), code.end(), VembaData::IsHexDigit)) return {};
  if (code == QStringLiteral("0000") || code == QStringLiteral("FFFF")) return {};
  return code;
}

std::vector<Assignment> ParseAssignmentList(const QString& text) {
  std::vector<Assignment> entries;
  const std::vector<QStringList> lines = SplitCsvLines(text);
  for (std::size_t index = 0; index < lines.size(); ++index) {
    QStringList columns = lines[index];
    if (index == 0 && RadioCodeOf(columns.front()).isEmpty() &&
        columns.front().trimmed().compare(QStringLiteral("Code"), Qt::CaseInsensitive) == 0)
      continue;
    // A line of separators or spaces, as a spreadsheet leaves below its rows, names nobody.
    if (std::all_of(columns.begin(), columns.end(),
                    [](const QString& column) { return column.trimmed().isEmpty(); }))
      continue;
    while (columns.size() < 4) columns << QString();
    entries.push_back({columns[0].trimmed(), columns[1].trimmed(), columns[2].trimmed(),
                       columns.mid(3).join(u';').trimmed()});
  }
  return entries;
}

QString FormatAssignmentList(const std::vector<Assignment>& entries) {
  QString text = QStringLiteral("Code;Einrichtung;Raum/Bewohner;Notiz\r\n");
  for (const Assignment& entry : entries) {
    text += CsvLine({entry.code, entry.facility, entry.room, entry.note}) + QStringLiteral("\r\n");
  }
  return text;
}

int NextSequenceCode(int code, int step) {
  int next = code;
  do {
    next = ((next + step) % CodeCount + CodeCount) % CodeCount;
  } while (next == 0 || next == LastCode);
  return next;
}

std::optional<CodeSequence> ParseCodeSequence(const QString& text) {
  const QStringList parts = text.split(u':');
  if (parts.size() != 2) return std::nullopt;
  const QString start = RadioCodeOf(parts[0]);
  bool stepIsNumber = false;
  const int step = parts[1].trimmed().toInt(&stepIsNumber, 16);
  if (start.isEmpty() || !stepIsNumber || step <= 0 || step >= LastCode) return std::nullopt;
  return CodeSequence{start.toInt(nullptr, 16), step};
}

SeriesCodePlan SeriesCodePlan::Keep() {
  return SeriesCodePlan(Kind::Keep);
}

SeriesCodePlan SeriesCodePlan::Sequence(CodeSequence sequence) {
  SeriesCodePlan plan(Kind::Sequence);
  plan.nextCode_ = sequence.start;
  plan.step_ = sequence.step;
  if (plan.nextCode_ == 0 || plan.nextCode_ == LastCode)
    plan.nextCode_ = NextSequenceCode(plan.nextCode_, plan.step_);
  return plan;
}

SeriesCodePlan SeriesCodePlan::List(std::vector<Assignment> entries) {
  SeriesCodePlan plan(Kind::List);
  plan.done_.assign(entries.size(), false);
  plan.entries_ = std::move(entries);
  return plan;
}

bool SeriesCodePlan::Done(int listIndex) const {
  return listIndex >= 0 && listIndex < static_cast<int>(done_.size()) && done_[listIndex];
}

std::optional<PlannedCode> SeriesCodePlan::Propose(std::vector<RefusedCode>* refused) const {
  const auto passOver = [refused](const QString& code, CodeRefusal reason) {
    if (refused != nullptr) refused->push_back({code, reason});
  };
  switch (kind_) {
    case Kind::Keep:
      return PlannedCode{};
    case Kind::Sequence: {
      int code = nextCode_;
      // Every code of the cycle is tried once at most.
      for (int tried = 0; tried < CodeCount; ++tried, code = NextSequenceCode(code, step_)) {
        const CodeRefusal reason = RefusalOf(CodeText(code));
        if (reason == CodeRefusal::None) return PlannedCode{CodeText(code), std::nullopt, -1};
        passOver(CodeText(code), reason);
      }
      return std::nullopt;
    }
    case Kind::List:
      for (int index = 0; index < static_cast<int>(entries_.size()); ++index) {
        if (done_[index]) continue;
        const CodeRefusal reason = RefusalOf(entries_[index].code, index);
        if (reason == CodeRefusal::None)
          return PlannedCode{RadioCodeOf(entries_[index].code), entries_[index], index};
        passOver(entries_[index].code, reason);
      }
      return std::nullopt;
  }
  return std::nullopt;
}

CodeRefusal SeriesCodePlan::RefusalOf(const QString& text, int listIndex) const {
  const QString code = RadioCodeOf(text);
  if (code.isEmpty()) return CodeRefusal::NotACode;
  for (int index = 0; index < static_cast<int>(entries_.size()); ++index) {
    if (index != listIndex && RadioCodeOf(entries_[index].code) == code && listIndex >= 0)
      return CodeRefusal::TwiceOnList;
  }
  if (carried_.contains(code)) return CodeRefusal::UsedInSeries;
  if (recordCodes_.contains(code)) return CodeRefusal::InRecord;
  return CodeRefusal::None;
}

bool SeriesCodePlan::InSeries(const QString& code) const {
  return carried_.contains(RadioCodeOf(code));
}

void SeriesCodePlan::NoteCarried(const QString& code) {
  if (const QString carried = RadioCodeOf(code); !carried.isEmpty()) carried_.insert(carried);
}

void SeriesCodePlan::NotePassed(const PlannedCode& planned) {
  NoteCarried(planned.code);
  if (planned.listIndex >= 0 && planned.listIndex < static_cast<int>(done_.size()))
    done_[planned.listIndex] = true;
  if (kind_ == Kind::Sequence && !planned.code.isEmpty())
    nextCode_ = NextSequenceCode(planned.code.toInt(nullptr, 16), step_);
}

Msg::Id CodeRefusalMessage(CodeRefusal reason) {
  switch (reason) {
    case CodeRefusal::NotACode:
      return Msg::SeriesCodeNotACode;
    case CodeRefusal::TwiceOnList:
      return Msg::SeriesCodeTwiceOnList;
    case CodeRefusal::UsedInSeries:
      return Msg::SeriesCodeUsedInSeries;
    case CodeRefusal::InRecord:
      return Msg::SeriesCodeInRecord;
    case CodeRefusal::None:
      break;
  }
  return Msg::SeriesCodeNotACode;
}

SeriesConfigurationCheck CheckSeriesConfiguration(const ImageBytes& configuration,
                                                  const CodecContext& context) {
  ParameterImage image{};
  VembaData::LoadImageBytes(image, configuration, OriginLoad);
  SeriesConfigurationCheck check;
  const ShowResult shown = ShowImageValues(image, OriginLoad, context);
  if (shown.status == ImageWrongProduct) {
    check.ruleBreak = Msg::InvalidProductType;
  } else if (shown.status != ImageOk) {
    check.ruleBreak = Msg::ConversionFailedAtAddress;
  }
  if (!check.ruleBreak) {
    const std::vector<Msg::Id> breaks = ConfigurationRuleBreaks(image, OriginLoad, context);
    if (!breaks.empty()) check.ruleBreak = breaks.front();
  }
  check.fewMeasurements = InactivityCountOf(image) < RecommendedInactivityCount;
  return check;
}
