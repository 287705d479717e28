#include "ui/FormHelpers.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <algorithm>

// Resources of a static library must be registered by name, outside any namespace.
static void registerPendantResource() {
  Q_INIT_RESOURCE(pendant);
}

namespace {

// Clicks the label's button when the label is clicked: pressed and released on the label with
// the left button, as a click on the button itself.
class LabelClicksButton : public QObject {
 public:
  LabelClicksButton(QLabel* label, QAbstractButton* button) : QObject(label), button_(button) {
    label->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto* label = static_cast<QLabel*>(watched);
    if (event->type() == QEvent::MouseButtonPress) {
      pressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease && pressed_) {
      pressed_ = false;
      const auto* release = static_cast<QMouseEvent*>(event);
      if (release->button() == Qt::LeftButton &&
          label->rect().contains(release->position().toPoint()) && button_->isEnabled()) {
        button_->setFocus(Qt::MouseFocusReason);
        button_->click();
      }
    }
    return false;
  }

 private:
  QAbstractButton* button_;
  bool pressed_ = false;
};

// The caption as spoken: without the mnemonic marks ("&&" stands for one "&").
QString withoutMnemonics(const QString& caption) {
  QString spoken;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption.at(i) == u'&' && i + 1 < caption.size()) ++i;
    spoken += caption.at(i);
  }
  return spoken;
}

}  // namespace

void BindRowLabel(QLabel* label, QWidget* control, const QString& rowCaption) {
  const QString caption = withoutMnemonics(label->text()).trimmed();
  control->setAccessibleName(rowCaption.isEmpty() ? caption : rowCaption + u' ' + caption);
  label->setBuddy(control);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) new LabelClicksButton(label, button);
}

void CentreOnScreen(QWidget& window) {
  const QWidget* owner = window.parentWidget();
  const QScreen* screen = owner != nullptr ? owner->screen() : window.screen();
  if (screen == nullptr) return;
  // The room beside the desktop's panels. Before the window manager has framed the window its
  // frame is unknown: a title bar is allowed for, and the move then places the window itself,
  // below where its title bar will go. A window that fits the room (the main window is fitted to
  // it) so keeps its title bar on the screen. Halves truncate toward zero.
  const QRect area = screen->availableGeometry();
  const bool framed = window.frameGeometry().size() != window.size();
  const int titleBar =
      framed ? 0 : window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
  const QSize outer = window.frameGeometry().size() + QSize(0, titleBar);
  window.move(area.left() + (area.width() - outer.width()) / 2,
              area.top() + (area.height() - outer.height()) / 2 + titleBar);
}

QSize FittedWindowSize(QSize designed, QSize room, int scrollBarWidth) {
  if (designed.height() > room.height()) designed.rwidth() += scrollBarWidth;
  return designed.boundedTo(room);
}

namespace {

// The largest width the capped columns may each keep so that all together take no more than
// `available` (a binary search over the cap); 0 when not even that fits.
int commonCap(const std::vector<int>& wanted, const std::vector<bool>& capped, int available) {
  const auto total = [&](int cap) {
    int sum = 0;
    for (std::size_t at = 0; at < wanted.size(); ++at)
      sum += capped[at] ? std::min(wanted[at], cap) : wanted[at];
    return sum;
  };
  int fits = 0;
  int tooWide = *std::max_element(wanted.begin(), wanted.end()) + 1;
  if (total(fits) > available) return 0;
  while (tooWide - fits > 1) {
    const int cap = (fits + tooWide) / 2;
    (total(cap) <= available ? fits : tooWide) = cap;
  }
  return fits;
}

}  // namespace

std::vector<int> FittedColumnWidths(const std::vector<int>& wanted,
                                    const std::vector<bool>& keptWhole, int available) {
  if (wanted.empty()) return wanted;
  std::vector<bool> capped(wanted.size());
  for (std::size_t at = 0; at < wanted.size(); ++at) capped[at] = !keptWhole[at];
  int cap = commonCap(wanted, capped, available);
  if (cap == 0) {
    capped.assign(wanted.size(), true);
    cap = commonCap(wanted, capped, available);
  }
  std::vector<int> widths = wanted;
  for (std::size_t at = 0; at < widths.size(); ++at)
    if (capped[at]) widths[at] = std::min(widths[at], cap);
  return widths;
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

void ReleaseFocusTracking(QWidget& window) {
  QWindow* const handle = window.windowHandle();
  if (handle == nullptr) return;
  const char* const focusObjectChanged = SIGNAL(focusObjectChanged(QObject*));
  const char* const updateFocusObject = SLOT(_q_updateFocusObject(QObject*));
  QObject::disconnect(handle, focusObjectChanged, qApp, updateFocusObject);
  // A window that still holds the activation keeps the one connection Qt undoes when another
  // window takes it.
  if (QGuiApplication::focusWindow() == handle)
    QObject::connect(handle, focusObjectChanged, qApp, updateFocusObject);
}

void AddOkAbortButtons(QDialog& dialog, QLayout& layout) {
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(OkCaption, QDialogButtonBox::AcceptRole);
  buttons->addButton(AbortCaption, QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout.addWidget(buttons);
}
