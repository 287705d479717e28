#include "files/SeriesSummary.h"

#include "image/ImageComparison.h"
#include "image/ParameterImage.h"
#include "image/Texts.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <map>

namespace {

constexpr double TitlePoints = 16;
constexpr double BodyPoints = 10;

}  // namespace

SheetContent SheetOfImage(const ImageBytes& configuration, const CodecContext& context,
                          const QString& title, const std::vector<SheetRow>& header) {
  ParameterImage image{};
  VembaData::LoadImageBytes(image, configuration, OriginLoad);
  // Check boxes as yes or no and the limit with its unit, as the window's sheet shows them.
  const std::map<Field, QString> values = ShownFieldTexts(image, OriginLoad, context, &Text);
  // A series' pendants are for many residents: its table names each, the sheet none.
  return SheetContent{title,
                      header,
                      SheetFieldGroups(context.limitMode,
                                       [&values](Field field) {
                                         const auto found = values.find(field);
                                         return found == values.end() ? QString() : found->second;
                                       }),
                      {}};
}

void PaintSeriesSummary(QPainter& painter, const QPagedPaintDevice& device,
                        const SeriesSummaryContent& content, const std::function<void()>& newPage) {
  const double width = device.width();
  const double height = device.height();
  double top = 0;
  const auto line = [&](const QString& text, const QFont& font) {
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    painter.drawText(QPointF(0, top + metrics.ascent()), text);
    top += metrics.height() * 1.3;
  };
  line(content.title, SheetFont(TitlePoints, true));
  for (const QString& text : content.lines) line(text, SheetFont(BodyPoints, false));
  top += QFontMetricsF(SheetFont(BodyPoints, false), &device).height();

  const auto row = [&](const QStringList& cells, bool bold) {
    const QFont font = SheetFont(BodyPoints, bold);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &device);
    double left = 0;
    double tallest = metrics.height();
    std::vector<QRectF> boxes;
    const std::vector<double>& shares = content.columnShares;
    for (qsizetype column = 0; column < cells.size() && column < std::ssize(shares); ++column) {
      const double columnWidth = width * shares[static_cast<std::size_t>(column)];
      const QRectF box(left, top, columnWidth * 0.96, height);
      tallest =
          std::max(tallest, metrics.boundingRect(box, Qt::TextWordWrap, cells[column]).height());
      boxes.push_back(box);
      left += columnWidth;
    }
    if (top + tallest > height) {
      newPage();
      top = 0;
      for (QRectF& box : boxes) box.moveTop(0);
    }
    for (std::size_t column = 0; column < boxes.size(); ++column)
      painter.drawText(boxes[column], Qt::TextWordWrap, cells[static_cast<qsizetype>(column)]);
    top += tallest + metrics.height() * 0.3;
  };
  row(content.heads, true);
  for (const QStringList& cells : content.rows) row(cells, false);
}

bool WriteSeriesSummaryPdf(const QString& path, const SheetContent& sheet,
                           const SeriesSummaryContent& summary, QString& error) {
  return WritePdfDocument(path, summary.title, error, [&](QPainter& painter, QPdfWriter& writer) {
    PaintConfigurationSheet(painter, writer, sheet);
    writer.newPage();
    PaintSeriesSummary(painter, writer, summary, [&writer] { writer.newPage(); });
  });
}
