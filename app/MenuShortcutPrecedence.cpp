#include "app/MenuShortcutPrecedence.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

MenuShortcutPrecedence::MenuShortcutPrecedence(QWidget* window) : QObject(window), window_(window) {
  QCoreApplication::instance()->installEventFilter(this);
}

bool MenuShortcutPrecedence::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return false;
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (widget == nullptr || widget->window() != window_) return false;
  if (!isWindowMenuShortcut(*static_cast<const QKeyEvent*>(event))) return false;
  // Not accepted: the focused widget does not claim the key, so the shortcut fires.
  event->ignore();
  return true;
}

bool MenuShortcutPrecedence::isWindowMenuShortcut(const QKeyEvent& event) const {
  const QKeySequence pressed(event.keyCombination());
  const QList<QAction*> actions = window_->findChildren<QAction*>();
  return std::any_of(actions.begin(), actions.end(), [&pressed](const QAction* action) {
    return !action->shortcut().isEmpty() && action->shortcut() == pressed;
  });
}
