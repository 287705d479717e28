#pragma once

#include "image/ImageCodec.h"
#include "image/ParameterImage.h"

#include <QDateTime>
#include <QPageLayout>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QFont;
class QPainter;
class QPagedPaintDevice;
class QPdfWriter;

// One caption and its value as the sheet prints them.
struct SheetRow {
  QString caption;
  QString value;
};

struct SheetGroup {
  QString caption;
  std::vector<SheetRow> rows;
};

// Everything the configuration sheet shows: a title, the lines about the configuration (radio
// code, source, date, program), the window's groups with their fields and, when it has rows, the
// part for whom and by whom the pendant was programmed, each row on a line to write on.
struct SheetContent {
  QString title;
  std::vector<SheetRow> header;
  std::vector<SheetGroup> groups;
  SheetGroup signOff;
};

// What the program knows of whom a sheet is for and who made it; empty where it knows nothing.
struct SheetRecipient {
  QString site;
  QString resident;
  QString technician;
};

// The sheet's part to sign: site, resident or room and technician as far as known, left blank to
// be written in by hand where not, then the date and the signature, always by hand.
[[nodiscard]] SheetGroup SheetSignOff(const SheetRecipient& known);

// The caption of a field's row as the sheet prints it: the radio code's two fields as the row's
// caption and their own ("Funkcode – Aktuell").
[[nodiscard]] QString SheetCaption(Field field, InactivityLimitModeKind limitMode);

// The window's four groups with every field, in the window's order, each value as `shownValue`
// gives it.
[[nodiscard]] std::vector<SheetGroup> SheetFieldGroups(
    InactivityLimitModeKind limitMode, const std::function<QString(Field)>& shownValue);

// The whole sheet of one configuration: the title, the lines about it (the radio code it names,
// where it came from as SheetSourceText says, when and with what the sheet was made) and the
// field groups. The window hands in its fields' values; a front end without a window the codec's
// showing.
[[nodiscard]] SheetContent BuildConfigurationSheet(const QString& radioCode,
                                                   const QString& sourceText,
                                                   InactivityLimitModeKind limitMode,
                                                   const std::function<QString(Field)>& shownValue);

// A moment as the sheet writes it: day, month, year, hours and minutes.
[[nodiscard]] QString SheetTimeText(const QDateTime& time);

// What became of a configuration read from the transmitter before the sheet was made.
enum class SinceRead {
  Unchanged,
  Changed,            // the window shows values the transmitter never had
  ChangedAndWritten,  // ...and they were written to it afterwards
};

// Where the shown configuration came from, in words for the sheet: the file's name, the factory
// configuration, or the transmitter with the time it was read and what became of it since.
[[nodiscard]] QString SheetSourceText(ImageSourceKind imageSource, const QString& filePath,
                                      const QDateTime& readTime,
                                      SinceRead sinceRead = SinceRead::Unchanged);

// The page the sheet is laid out for, on paper as in a PDF: A4 upright with its margins.
[[nodiscard]] QPageLayout SheetPageLayout();

// Paints the sheet on the device's first page, shrunk to fit when it would not.
void PaintConfigurationSheet(QPainter& painter, const QPagedPaintDevice& device,
                             const SheetContent& content);

// Writes the sheet as a one-page A4 PDF with selectable text. The file is replaced as a whole, so
// that a failed write leaves the earlier file (or none); false with the reason in error.
[[nodiscard]] bool WriteConfigurationSheetPdf(const QString& path, const SheetContent& content,
                                              QString& error);

// Writes an A4 PDF that `paint` draws (it may start new pages on the writer), replaced as a whole
// like the sheet's; false with the reason in error.
[[nodiscard]] bool WritePdfDocument(const QString& path, const QString& title, QString& error,
                                    const std::function<void(QPainter&, QPdfWriter&)>& paint,
                                    QPageLayout::Orientation orientation = QPageLayout::Portrait);

// The sheet's font in this size, so that every page the program prints reads alike.
[[nodiscard]] QFont SheetFont(double points, bool bold);
