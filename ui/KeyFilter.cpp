#include "ui/KeyFilter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include <algorithm>

std::optional<QChar> KeyPressCharacter(int key, Qt::KeyboardModifiers modifiers,
                                       const QString& text) {
  // AltGr arrives as Ctrl+Alt on some systems and then types the text it shows.
  const bool control =
      modifiers.testFlag(Qt::ControlModifier) && !modifiers.testFlag(Qt::AltModifier);
  if (control && key >= Qt::Key_A && key <= Qt::Key_Z) return QChar(key - Qt::Key_A + 1);
  switch (key) {
    case Qt::Key_Backspace:
      return QChar(u'\b');
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return QChar(u'\r');
    case Qt::Key_Escape:
      return QChar(u'\x1b');
    default:
      break;
  }
  // Tab moves the focus, and Delete's text on some systems is the DEL character: neither types.
  // Every other text is typed by the edit, also an invisible one (a soft hyphen, a direction mark,
  // a private-use character, half of a character outside the basic plane), so it is judged.
  if (text.isEmpty() || text.at(0).category() == QChar::Other_Control) return std::nullopt;
  return text.at(0);
}

KeyPressFilter::KeyPressFilter(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::InputMethod) {
    filterCommitString(watched, *static_cast<QInputMethodEvent*>(event));
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const auto* keyEvent = static_cast<const QKeyEvent*>(event);
  const std::optional<QChar> character =
      KeyPressCharacter(keyEvent->key(), keyEvent->modifiers(), keyEvent->text());
  if (!character) return false;
  QChar key = *character;
  handler_(watched, key);
  if (key.isNull()) return true;
  // A key that types several characters (a composed one, or a pair of surrogates) is typed only
  // when every one of them passes.
  const QString text = keyEvent->text();
  return text.size() > 1 && *character == text.at(0) &&
         std::any_of(text.begin() + 1, text.end(), [&](QChar next) {
           handler_(watched, next);
           return next.isNull();
         });
}

void KeyPressFilter::filterCommitString(QObject* watched, QInputMethodEvent& event) const {
  const QString committed = event.commitString();
  QString kept;
  for (const QChar character : committed) {
    // Committed text is entered as it stands: a control character in it would not edit.
    if (!character.isPrint()) continue;
    QChar key = character;
    handler_(watched, key);
    if (!key.isNull()) kept += key;
  }
  // The preedit text is not entered yet and stays as the input method shows it.
  if (kept != committed) {
    event.setCommitString(kept, event.replacementStart(), event.replacementLength());
  }
}
