#include "ui/StatusLine.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <QSizePolicy>

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
  // The line takes the width the bar gives it; a long text must not widen the fixed window.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setTextFormat(Qt::PlainText);
}

void StatusLine::SetFullText(const QString& text) {
  fullText_ = text;
  setToolTip(text);
  setAccessibleDescription(text);
  FitText();
}

void StatusLine::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  FitText();
}

void StatusLine::FitText() {
  QString oneLine = fullText_;
  oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
  oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
  oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
  setText(fontMetrics().elidedText(oneLine, Qt::ElideRight, contentsRect().width()));
}
