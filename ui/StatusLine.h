#pragma once

#include <QLabel>
#include <QString>

class QResizeEvent;

// The status bar's one line of text. A text wider than the line is cut at its end with "…"; the
// whole text stays in the tooltip and with a screen reader, so that a cause and its remedy are
// never lost at the window's edge. Line breaks in the text become blanks.
class StatusLine : public QLabel {
 public:
  explicit StatusLine(QWidget* parent = nullptr);

  void SetFullText(const QString& text);
  [[nodiscard]] const QString& FullText() const { return fullText_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitText();

  QString fullText_;
};
