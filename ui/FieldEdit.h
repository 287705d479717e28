#pragma once

#include <QKeyEvent>
#include <QLineEdit>

// An edit field whose maximum length limits typing only: text set by the program or pasted is
// never cut (131070 minutes must survive in a 5-character field).
class FieldEdit : public QLineEdit {
  Q_OBJECT

 public:
  using QLineEdit::QLineEdit;

  void setTypedMaxLength(int length) { typedMaxLength_ = length; }
  [[nodiscard]] int typedMaxLength() const { return typedMaxLength_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (wouldPassTypedMaxLength(*event)) {
      event->accept();
      return;
    }
    QLineEdit::keyPressEvent(event);
  }

 private:
  [[nodiscard]] bool wouldPassTypedMaxLength(const QKeyEvent& event) const {
    if (typedMaxLength_ <= 0 || event.text().isEmpty() || !event.text().at(0).isPrint()) {
      return false;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
      return false;
    }
    const qsizetype kept = text().size() - selectedText().size();
    return kept + event.text().size() > typedMaxLength_;
  }

  int typedMaxLength_ = 0;
};
