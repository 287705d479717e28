#include "files/ConfigurationSheet.h"

#include "files/ImageFiles.h"
#include "files/ProgramVersion.h"
#include "image/FieldCatalogue.h"
#include "image/ParameterImage.h"
#include "image/Texts.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr double TitlePoints = 16;
constexpr double HeadingPoints = 11.5;
constexpr double BodyPoints = 10;
// Shares of the width the captions take; the values start after them.
constexpr double HeaderCaptionShare = 0.25;
constexpr double CaptionShare = 0.6;
constexpr double MarginMillimetres = 18;
// A line to write on is this many text lines high, room for a hand's writing above its rule.
constexpr double WriteOnLines = 2.2;

}  // namespace

QFont SheetFont(double points, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  // No ligatures: "fi" drawn as one glyph would not be found by a search for "Konfiguration".
  font.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

namespace {

// Lays the sheet out from the top of a column of the given width and returns the height it
// takes; it paints only when asked, so that the same code measures and draws.
class SheetLayout {
 public:
  SheetLayout(QPainter& painter, double width, bool paint)
      : painter_(painter), width_(width), paint_(paint) {}

  double Lay(const SheetContent& content) {
    Line(content.title, SheetFont(TitlePoints, true), 0.6);
    for (const SheetRow& row : content.header) Row(row, true, HeaderCaptionShare);
    Rule();
    for (const SheetGroup& group : content.groups) {
      Line(group.caption, SheetFont(HeadingPoints, true), 0.2);
      for (const SheetRow& row : group.rows) Row(row, false, CaptionShare);
      top_ += LineHeight(SheetFont(BodyPoints, false)) * 0.5;
    }
    if (!content.signOff.rows.empty()) {
      Rule();
      Line(content.signOff.caption, SheetFont(HeadingPoints, true), 0.2);
      for (const SheetRow& row : content.signOff.rows) WriteOnRow(row);
    }
    return top_;
  }

 private:
  double LineHeight(const QFont& font) const {
    return QFontMetricsF(font, painter_.device()).lineSpacing();
  }

  void Line(const QString& text, const QFont& font, double gapAfter) {
    const double height = LineHeight(font);
    if (paint_) {
      painter_.setFont(font);
      painter_.drawText(QRectF(0, top_, width_, height), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    top_ += height * (1 + gapAfter);
  }

  // A caption that does not fit its column wraps; the row grows with it.
  void Row(const SheetRow& row, bool boldCaption, double captionShare) {
    const QFont captionFont = SheetFont(BodyPoints, boldCaption);
    const QFont valueFont = SheetFont(BodyPoints, false);
    const double captionWidth = width_ * captionShare;
    const QRectF captionArea(0, top_, captionWidth * 0.97, 1e6);
    const QRectF valueArea(captionWidth, top_, width_ - captionWidth, 1e6);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const double height = std::max(QFontMetricsF(captionFont, painter_.device())
                                       .boundingRect(captionArea, flags, row.caption)
                                       .height(),
                                   QFontMetricsF(valueFont, painter_.device())
                                       .boundingRect(valueArea, flags, row.value)
                                       .height());
    if (paint_) {
      painter_.setFont(captionFont);
      painter_.drawText(captionArea, flags, row.caption);
      painter_.setFont(valueFont);
      painter_.drawText(valueArea, flags, row.value);
    }
    top_ += height + LineHeight(valueFont) * 0.25;
  }

  // A caption and a rule under the value's column: the value stands on it when known, a blank
  // rule is left to write on by hand.
  void WriteOnRow(const SheetRow& row) {
    const QFont font = SheetFont(BodyPoints, false);
    const double lineHeight = LineHeight(font);
    const double height = lineHeight * WriteOnLines;
    const double captionWidth = width_ * HeaderCaptionShare;
    const QRectF textArea(0, top_, width_, height - lineHeight * 0.15);
    if (paint_) {
      painter_.setFont(font);
      painter_.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, row.caption);
      painter_.drawText(textArea.adjusted(captionWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom,
                        row.value);
      painter_.drawLine(QPointF(captionWidth, top_ + height), QPointF(width_, top_ + height));
    }
    top_ += height;
  }

  void Rule() {
    const double gap = LineHeight(SheetFont(BodyPoints, false)) * 0.5;
    top_ += gap;
    if (paint_) painter_.drawLine(QPointF(0, top_), QPointF(width_, top_));
    top_ += gap;
  }

  QPainter& painter_;
  double width_;
  bool paint_;
  double top_ = 0;
};

}  // namespace

QString SheetCaption(Field field, InactivityLimitModeKind limitMode) {
  // Without the blanks some captions carry at their end.
  const QString caption = Text(FieldCaptionText(field, limitMode)).trimmed();
  const std::optional<Msg::Id> part = CatalogueEntry(field).partCaption;
  return part ? caption + QStringLiteral(" – ") + Text(*part).trimmed() : caption;
}

std::vector<SheetGroup> SheetFieldGroups(InactivityLimitModeKind limitMode,
                                         const std::function<QString(Field)>& shownValue) {
  std::vector<SheetGroup> groups;
  for (const FieldGroup group : FieldGroups) {
    SheetGroup& sheetGroup = groups.emplace_back(SheetGroup{Text(GroupCaptionText(group)), {}});
    for (const FieldEntry& entry : FieldCatalogue()) {
      if (entry.group != group) continue;
      sheetGroup.rows.push_back({SheetCaption(entry.field, limitMode), shownValue(entry.field)});
    }
  }
  return groups;
}

SheetContent BuildConfigurationSheet(const QString& radioCode, const QString& sourceText,
                                     InactivityLimitModeKind limitMode,
                                     const std::function<QString(Field)>& shownValue) {
  SheetContent sheet;
  sheet.title = Text(Msg::SheetTitle);
  sheet.header = {
      {Text(FieldCaptionText(Field::edtRadioCodeOld, limitMode)).trimmed(), radioCode},
      {Text(Msg::SheetSource), sourceText},
      {Text(Msg::SheetCreatedAt), SheetTimeText(QDateTime::currentDateTime())},
      {Text(Msg::SheetCreatedWith),
       FormatText(Msg::ProgramAndVersion, {Text(Msg::ProgramTitle), GetProgramVersion()})},
  };
  sheet.groups = SheetFieldGroups(limitMode, shownValue);
  return sheet;
}

SheetGroup SheetSignOff(const SheetRecipient& known) {
  return {Text(Msg::SheetSignOff),
          {{Text(Msg::RecordColumnSite), known.site.simplified()},
           {Text(Msg::RecordColumnResident), known.resident.simplified()},
           {Text(Msg::RecordColumnTechnician), known.technician.simplified()},
           {Text(Msg::SheetSignOffDate), QString()},
           {Text(Msg::SheetSignOffSignature), QString()}}};
}

QString SheetTimeText(const QDateTime& time) {
  return time.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString SheetSourceText(ImageSourceKind imageSource, const QString& filePath,
                        const QDateTime& readTime, SinceRead sinceRead) {
  switch (imageSource) {
    case SourceDefault:
      return Text(Msg::SheetSourceDefault);
    case SourceFile:
    case SourceSavedAs:
      return FormatText(Msg::SheetSourceFile, {QFileInfo(filePath).fileName()});
    case SourceTransmitter: {
      const Msg::Id text = sinceRead == SinceRead::Unchanged ? Msg::SheetSourcePendant
                           : sinceRead == SinceRead::Changed ? Msg::SheetSourcePendantChanged
                                                             : Msg::SheetSourcePendantWritten;
      return FormatText(text, {SheetTimeText(readTime)});
    }
    default:
      return {};
  }
}

void PaintConfigurationSheet(QPainter& painter, const QPagedPaintDevice& device,
                             const SheetContent& content) {
  // The painter's origin is the top left corner of the page's printable area.
  const double width = device.width();
  const double height = device.height();
  const double needed = SheetLayout(painter, width, false).Lay(content);
  const double scale = needed > height ? height / needed : 1.0;
  painter.save();
  painter.scale(scale, scale);
  (void)SheetLayout(painter, width / scale, true).Lay(content);
  painter.restore();
}

QPageLayout SheetPageLayout() {
  return QPageLayout(
      QPageSize(QPageSize::A4), QPageLayout::Portrait,
      QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
      QPageLayout::Millimeter);
}

bool WriteConfigurationSheetPdf(const QString& path, const SheetContent& content, QString& error) {
  return WritePdfDocument(path, content.title, error,
                          [&content](QPainter& painter, QPdfWriter& writer) {
                            PaintConfigurationSheet(painter, writer, content);
                          });
}

bool WritePdfDocument(const QString& path, const QString& title, QString& error,
                      const std::function<void(QPainter&, QPdfWriter&)>& paint,
                      QPageLayout::Orientation orientation) {
  // The document is made in memory and then replaces the file as a whole, so a full disk keeps the
  // old file and is reported.
  if (IsWriteProtected(path)) {
    error = Text(Msg::FileWriteProtected);
    return false;
  }
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setTitle(title);
    writer.setCreator(Text(Msg::ProgramTitle));
    QPageLayout layout = SheetPageLayout();
    layout.setOrientation(orientation);
    writer.setPageLayout(layout);
    QPainter painter;
    if (!painter.begin(&writer)) {
      error = pdf.errorString();
      return false;
    }
    paint(painter, writer);
    painter.end();
  }
  if (!ReplaceFile(path, pdf.data())) {
    error = Text(Msg::FileNotWritten);
    return false;
  }
  return true;
}
