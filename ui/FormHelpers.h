#pragma once

#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

// What the program's forms share: control names, placement, the standard button captions and the
// pendant picture.

// The captions of the standard buttons; message boxes and dialogs carry them themselves.
inline const QString OkCaption = QStringLiteral("&OK");
inline const QString AbortCaption = QStringLiteral("&Abbruch");
inline const QString YesCaption = QStringLiteral("&Ja");
inline const QString NoCaption = QStringLiteral("&Nein");

// The integer property in which a control or timer keeps a state of its own (the poll timer its
// job, the inactivity limit its display mode, the unit selector the unit in force).
inline constexpr char TagProperty[] = "Tag";

// Gives a control the name the program and its tests know it by.
template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Centres a window, its frame included (a title bar allowed for before the desktop has framed
// it), in the room the desktop's panels leave on the screen its owner is on (its own when it has
// none). Halves truncate toward zero, so a window larger than the room gets a negative offset.
void CentreOnScreen(QWidget& window);

// The size of a window whose designed size may not fit the room on the screen: bounded by the
// room, and widened by a scroll bar when only its height does not fit, so that the content scrolls
// up and down but not sideways as well.
[[nodiscard]] QSize FittedWindowSize(QSize designed, QSize room, int scrollBarWidth);

// The widths of a table's columns so that together they fit `available`: the columns marked to
// keep their width keep it, the others give up from the widest down, each to one common cap. When
// even the kept ones do not fit, every column is capped alike.
[[nodiscard]] std::vector<int> FittedColumnWidths(const std::vector<int>& wanted,
                                                  const std::vector<bool>& keptWhole,
                                                  int available);

// Centres a dialog on its owner window; a dialog without owner stays where it is.
void CentreOnOwner(QWidget& dialog);

// Makes `label` the row label of `control`, as on a desktop form: the label's caption (after
// `rowCaption`, where the label names only part of its row) becomes the control's accessible
// name, which a screen reader says instead of the group's title; the label's mnemonic moves to
// the control; and a click on a check box's label clicks the box. Call it once the captions are
// set: a later caption is not taken up.
void BindRowLabel(QLabel* label, QWidget* control, const QString& rowCaption = {});

// Qt connects a window's focus-object signal to the application each time the window becomes
// active, and undoes it when another window takes the activation; a dialog that hides while it
// is active hands the focus on without that, so a dialog shown again and again collects one
// connection per showing. Call when a dialog that is kept for reuse has hidden: it keeps one
// connection while it holds the activation, none otherwise.
void ReleaseFocusTracking(QWidget& window);

// "&OK" and "&Abbruch" at the foot of a dialog's layout, accepting and rejecting it.
void AddOkAbortButtons(QDialog& dialog, QLayout& layout);

// Our drawing of the pendant transmitter, at its display size of 121 x 160.
[[nodiscard]] QPixmap PendantPicture();
