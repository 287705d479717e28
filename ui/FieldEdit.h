#pragma once

#include <QLineEdit>
#include <QString>

#include <optional>

// What is left of a user's edit once a maximum length has cut it: the text and the cursor
// position after the kept part of what was put in.
struct LimitedEdit {
  QString text;
  int cursor = 0;

  friend bool operator==(const LimitedEdit&, const LimitedEdit&) = default;
};

// Cuts what an edit put into a text (typed, pasted, dropped or committed by an input method) so
// that the text is no longer than maxLength, as a desktop edit field does: the text that was
// there stays, even when the program had set it longer, and only the new part is shortened.
// None when the edit fits, or when maxLength is 0 (no limit).
[[nodiscard]] std::optional<LimitedEdit> LimitUserEdit(const QString& before, const QString& after,
                                                       int maxLength);

// An edit field whose maximum length limits what the user puts in by every route (typing,
// pasting, dropping, input methods), but never text set by the program: 131070 minutes must
// survive in a 5-character field. QLineEdit::setMaxLength would cut setText too.
class FieldEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit FieldEdit(QWidget* parent = nullptr);
  explicit FieldEdit(const QString& text, QWidget* parent = nullptr);

  void setTypedMaxLength(int length) { typedMaxLength_ = length; }
  [[nodiscard]] int typedMaxLength() const { return typedMaxLength_; }

 signals:
  // The text has changed: text set by the program, or the user's edit after the maximum length
  // has cut it. Rules bind here, not to textChanged, which also reports the uncut edit once
  // more after the cut text.
  void fieldTextChanged(const QString& text);

 private:
  void limitUserEdit(const QString& edited);
  void passOnChange(const QString& changed);

  int typedMaxLength_ = 0;
  QString reportedText_;  // the text before the change being made
};
