#include "app/copy/RunningCopyController.h"

#include "app/Main.h"
#include "image/Texts.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QTimer>

namespace {

constexpr int busyRetryMs = 500;

QString quotedList(const QStringList& items) {
  QStringList quoted;
  for (const QString& item : items) quoted << u'„' + item + u'“';
  return quoted.join(QStringLiteral(", "));
}

}  // namespace

RunningCopyController::RunningCopyController(TfrmMain& main, UserDialogs& dialogs)
    : QObject(&main), main_(main), dialogs_(dialogs) {}

void RunningCopyController::Take(const HandedStart& start) {
  bringToFront();
  if (main_.OperationRunning()) {
    QTimer::singleShot(busyRetryMs, this, [this, start] { Take(start); });
    return;
  }
  const HandedStartPlan plan = PlanHandedStart(start);
  if (!plan.settingsNotTaken.isEmpty()) {
    dialogs_.ShowInformation(&main_,
                             FormatText(Msg::RunningCopyUsed, {quotedList(plan.settingsNotTaken)}));
  }
  if (!plan.file.isEmpty()) main_.WMDropFiles({plan.file});
}

void RunningCopyController::bringToFront() {
  main_.setWindowState(main_.windowState() & ~Qt::WindowMinimized);
  main_.show();
  main_.raise();
  main_.activateWindow();
  // Where the desktop keeps the focus where it is, the taskbar entry asks for attention.
  QApplication::alert(&main_);
}
