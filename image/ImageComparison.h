#pragma once

#include "image/FieldCatalogue.h"
#include "image/ImageCodec.h"
#include "image/Messages.h"
#include "image/ParameterImage.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

// Comparing two configurations field by field, as the window would show each of them: the values
// are the codec's showing of each image, so a comparison needs no window.

// The text table, handed in: the comparison names check-box states and units by their texts.
using TextLookup = std::function<QString(Msg::Id)>;
// The text table's formatting, handed in: a text with its "%s" places filled in order.
using TextFormatter = std::function<QString(Msg::Id, const QStringList&)>;

// One field of two configurations, as shown: edits with their text (the inactivity limit with its
// unit), check boxes as the table's yes or no.
struct ComparedField {
  Field field;
  QString left;
  QString right;
  bool differs = false;
};

// Every field `image` shows, as the window shows it: check boxes as yes or no, the inactivity
// limit with its unit.
[[nodiscard]] std::map<Field, QString> ShownFieldTexts(const ParameterImage& image,
                                                       ImageOrigin origin,
                                                       const CodecContext& context,
                                                       const TextLookup& text);

// Every field that either image shows, in the window's show order, with both values. A side whose
// cells lack the expected origin shows what the window would (a placeholder, or nothing).
[[nodiscard]] std::vector<ComparedField> CompareImages(
    const ParameterImage& left, ImageOrigin leftOrigin, const ParameterImage& right,
    ImageOrigin rightOrigin, const CodecContext& context, const TextLookup& text);

// The window's configuration beside another, both shown as the window shows values: the
// inactivity limit in the window's chosen unit (`typed.selectedUnit`; in minutes where a side's
// time is no whole number of hours), numbers with the decimal separator of `context`, the rows in
// the window's order. `built` is the image the window's fields build; a row differs when the two
// sides would write different bytes. Where a number typed in the window stands for another value
// than its bytes show (the codec rounds it), the window's side says both with `typedText`'s text
// ("91 Minuten (eingegeben: 90 Minuten)").
[[nodiscard]] std::vector<ComparedField> CompareWindowWithImage(
    const FieldValues& typed, const ParameterImage& built, ImageOrigin builtOrigin,
    const ParameterImage& other, ImageOrigin otherOrigin, const CodecContext& context,
    const TextLookup& text, const TextFormatter& format, Msg::Id typedText);

// Whether the window's configuration (`window`, built over a copy of `read` with origin OriginRead)
// shows another value than the transmitter's read in a field the read delivered: the window was
// changed after the read. Showing another unit for the same count is no change.
[[nodiscard]] bool WindowChangedSinceRead(const ParameterImage& read, const ParameterImage& window,
                                          const CodecContext& context);

// The fields owning a byte that a write sends and that the transmitter did not keep: `sent` is
// the image the write built, `readBack` the transmitter's bytes read afterwards (origin
// OriginRead). A written byte the read did not return counts as not kept. When a byte differs in
// a bit that no field shows, both values carry the bytes in hex, so the difference is never
// hidden.
[[nodiscard]] std::vector<ComparedField> FieldsNotKept(const ParameterImage& sent,
                                                       const ParameterImage& readBack,
                                                       const CodecContext& context,
                                                       const TextLookup& text);

// One line per field, each with its line end: `lineText` filled with the caption and both values.
[[nodiscard]] QString ComparedFieldLines(const std::vector<ComparedField>& rows, Msg::Id lineText,
                                         InactivityLimitModeKind limitMode,
                                         const TextFormatter& format);

// The German lines that name each field the transmitter did not keep, one per field and each with
// its line end: "<caption>: geschrieben <sent>, gelesen <read back>".
[[nodiscard]] QString UnkeptFieldLines(const std::vector<ComparedField>& unkept,
                                       InactivityLimitModeKind limitMode,
                                       const TextFormatter& format);
