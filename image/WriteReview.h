#pragma once

#include "image/ImageCodec.h"
#include "image/ImageComparison.h"
#include "image/ParameterImage.h"
#include "image/VembaData.h"

#include <QString>

#include <optional>
#include <set>
#include <vector>

// What a write will do to a transmitter, judged before anything is sent: the fields it changes
// against what the program last knew of that transmitter, and the alarm functions it switches off
// or lengthens a lot. A missed alarm can hurt a resident, so those are asked about separately.

// The fields whose change asks before a write: the emergency button, inactivity sensing, the
// radio test alarm, the battery test and the activity alarm when switched off; the dementia block
// time and the inactivity limit when raised by more than half. In this order.
[[nodiscard]] const std::vector<Field>& GuardedFields();

// A guarded field's name in the settings: its control name, as every earlier version wrote it.
[[nodiscard]] QString GuardedFieldKey(Field field);
// The guarded fields named in the settings' list of silenced questions (comma-separated control
// names, or the fields' stable names); names of other fields and unknown names are passed over.
[[nodiscard]] std::set<Field> SilencedFieldsOf(const QString& setting);
// The settings' list of silenced questions, in the order the write asks them.
[[nodiscard]] QString SilencedFieldsSetting(const std::set<Field>& silenced);

struct WriteReview {
  bool known = false;  // the program knew the transmitter's configuration before this write
  // The fields the write sends whose shown value changes; only when known.
  std::vector<ComparedField> changes;
  // The guarded fields the write switches off or raises; left names it unknown when nothing is
  // known.
  std::vector<ComparedField> alarms;

  [[nodiscard]] bool NeedsQuestion() const { return !changes.empty() || !alarms.empty(); }
};

// Judges the write of `outgoing` (origin OriginWrite) to a transmitter whose last known bytes are
// `known` (none when the program kept nothing of it). With nothing known, only a configuration
// with the emergency button or inactivity sensing off is asked about. Fields in `silenced` are
// never asked about.
[[nodiscard]] WriteReview ReviewWrite(const std::optional<ImageBytes>& known,
                                      const ParameterImage& outgoing, const CodecContext& context,
                                      const TextLookup& text, const std::set<Field>& silenced);

// The warning before a configuration is written or saved whose inactivity alarm would follow
// after fewer than 12 identical position measurements: its limit, with the unit, and its interval
// as shown in `context`, and the count.
[[nodiscard]] QString FewMeasurementsText(const ImageBytes& configuration,
                                          const CodecContext& context);
// The same warning for the texts a window shows: the limit with its unit, and the interval.
[[nodiscard]] QString FewMeasurementsText(const QString& limit, const QString& interval, int count);
