#include "ui/FieldEdit.h"

#include <QSignalBlocker>

#include <algorithm>

std::optional<LimitedEdit> LimitUserEdit(const QString& before, const QString& after,
                                         int maxLength) {
  if (maxLength <= 0 || after.size() <= maxLength) return std::nullopt;
  // The part that differs is what the edit put in; around it the text stayed.
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype prefix = 0;
  while (prefix < shorter && before.at(prefix) == after.at(prefix)) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix &&
         before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix)) {
    ++suffix;
  }
  const qsizetype inserted = after.size() - prefix - suffix;
  const qsizetype room = std::max<qsizetype>(0, maxLength - (after.size() - inserted));
  if (inserted <= room) return std::nullopt;
  return LimitedEdit{after.left(prefix) + after.mid(prefix, room) + after.right(suffix),
                     static_cast<int>(prefix + room)};
}

FieldEdit::FieldEdit(QWidget* parent) : FieldEdit(QString(), parent) {}

FieldEdit::FieldEdit(const QString& text, QWidget* parent)
    : QLineEdit(text, parent), reportedText_(text) {
  // textEdited comes for the user's edits only, and before textChanged reports them.
  connect(this, &QLineEdit::textEdited, this, &FieldEdit::limitUserEdit);
  connect(this, &QLineEdit::textChanged, this, &FieldEdit::passOnChange);
}

void FieldEdit::limitUserEdit(const QString& edited) {
  const std::optional<LimitedEdit> limited = LimitUserEdit(reportedText_, edited, typedMaxLength_);
  if (!limited) return;
  if (limited->text == reportedText_) {
    // Nothing of the edit is left: the text never changed, so nobody hears of it.
    const QSignalBlocker silent(this);
    setText(limited->text);
  } else {
    setText(limited->text);
  }
  setCursorPosition(limited->cursor);
}

void FieldEdit::passOnChange(const QString& changed) {
  // After a cut, textChanged still reports the uncut edit, which the field no longer holds.
  if (changed != text()) return;
  reportedText_ = changed;
  emit fieldTextChanged(changed);
}
