#include "ui/FormHelpers.h"

#include <QScreen>

// Resources of a static library must be registered by name, outside any namespace.
static void registerPendantResource() {
  Q_INIT_RESOURCE(pendant);
}

void CentreOnScreen(QWidget& window) {
  const QWidget* owner = window.parentWidget();
  const QScreen* screen = owner != nullptr ? owner->screen() : window.screen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  const QSize outer = window.frameGeometry().size();
  window.move(area.left() + (area.width() - outer.width()) / 2,
              area.top() + (area.height() - outer.height()) / 2);
}

void CentreOnOwner(QWidget& dialog) {
  const QWidget* owner = dialog.parentWidget();
  if (owner == nullptr) return;
  dialog.move(owner->x() + (owner->width() - dialog.width()) / 2,
              owner->y() + (owner->height() - dialog.height()) / 2);
}

QPixmap PendantPicture() {
  static const bool registered = (registerPendantResource(), true);
  (void)registered;
  return QPixmap(QStringLiteral(":/images/pendant.jpg"));
}
