#pragma once

#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/VembaData.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Where each pendant of a series gets its radio code from, and which codes it must not get.

// The most pendants one series expects: a care home's plan, not a production run.
constexpr int LargestSeries = 999;

// One line of an assignment list: the code a care home's plan gives one pendant.
struct Assignment {
  QString code;  // as the list has it; RadioCodeOf tells whether it is a code at all
  QString facility;
  QString room;  // room or resident
  QString note;

  bool operator==(const Assignment&) const = default;
};

// The radio code `text` names, in the four upper-case digits the pendant gets; empty when it is
// not four hexadecimal digits, or is 0000 or FFFF, which no pendant may carry.
[[nodiscard]] QString RadioCodeOf(const QString& text);

// An assignment list's text (UTF-8 decoded, ";" between columns, quotes where needed): its lines
// in order. A head line whose first column is not a code ("Code") and empty lines are left out.
[[nodiscard]] std::vector<Assignment> ParseAssignmentList(const QString& text);
// The text of an assignment list, with its head line and CR LF line ends.
[[nodiscard]] QString FormatAssignmentList(const std::vector<Assignment>& entries);

// The next code of a sequence: `step` on from `code`, round past FFFF, skipping 0000 and FFFF.
[[nodiscard]] int NextSequenceCode(int code, int step);
struct CodeSequence {
  int start = 0;
  int step = 1;
};
// "START:STEP" in hex, as the command line takes it ("7001:1"); none when it is not one.
[[nodiscard]] std::optional<CodeSequence> ParseCodeSequence(const QString& text);

// Why a code is not given to the next pendant.
enum class CodeRefusal {
  None,
  NotACode,      // not four hex digits, or 0000 / FFFF
  TwiceOnList,   // the assignment list has it on another line as well
  UsedInSeries,  // a pendant of this series already carries it
  InRecord,      // the programming record gave it to another pendant
};

// A code the plan proposes, with the list line it comes from.
struct PlannedCode {
  QString code;                          // empty: the pendant keeps its code
  std::optional<Assignment> assignment;  // the list's line
  int listIndex = -1;                    // that line's index in the list; -1 for none
};

struct RefusedCode {
  QString code;
  CodeRefusal reason = CodeRefusal::None;
  bool operator==(const RefusedCode&) const = default;
};

// The code plan of one series: keep each pendant's code, a sequence, or an assignment list.
class SeriesCodePlan {
 public:
  enum class Kind { Keep, Sequence, List };

  [[nodiscard]] static SeriesCodePlan Keep();
  [[nodiscard]] static SeriesCodePlan Sequence(CodeSequence sequence);
  [[nodiscard]] static SeriesCodePlan List(std::vector<Assignment> entries);

  [[nodiscard]] Kind PlanKind() const { return kind_; }
  [[nodiscard]] const std::vector<Assignment>& Entries() const { return entries_; }
  [[nodiscard]] bool Done(int listIndex) const;
  // The codes the programming record names as given to pendants before this series.
  void SetRecordCodes(const QSet<QString>& codes) { recordCodes_ = codes; }

  // The code for the next pendant; none when the list or the sequence has no code left.
  // `refused` gets each code passed over on the way, with its reason.
  [[nodiscard]] std::optional<PlannedCode> Propose(
      std::vector<RefusedCode>* refused = nullptr) const;
  // Why `code` may not go to a pendant now; `listIndex` is the line it comes from, if any.
  [[nodiscard]] CodeRefusal RefusalOf(const QString& code, int listIndex = -1) const;
  // Whether a pendant of this series already carries `code`.
  [[nodiscard]] bool InSeries(const QString& code) const;

  // A pendant now carries `code` (its write went through, whether or not its check did).
  void NoteCarried(const QString& code);
  // The pendant given `planned` passed: its list line is done, the sequence goes on.
  void NotePassed(const PlannedCode& planned);

 private:
  explicit SeriesCodePlan(Kind kind) : kind_(kind) {}

  Kind kind_;
  int nextCode_ = 0;
  int step_ = 1;
  std::vector<Assignment> entries_;
  std::vector<bool> done_;
  QSet<QString> recordCodes_;
  QSet<QString> carried_;
};

// The message that gives the reason, with the code as its argument.
[[nodiscard]] Msg::Id CodeRefusalMessage(CodeRefusal reason);

// What a series checks of its configuration before the first pendant: the message of a field
// that cannot be shown or breaks its rule (none when every field keeps to it), and whether the
// inactivity count gives the 12-measurement warning.
struct SeriesConfigurationCheck {
  std::optional<Msg::Id> ruleBreak;
  bool fewMeasurements = false;
};
[[nodiscard]] SeriesConfigurationCheck CheckSeriesConfiguration(const ImageBytes& configuration,
                                                                const CodecContext& context);
