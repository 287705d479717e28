#include "app/check/ConnectionCheckController.h"

#include "app/check/ConnectionCheckWindow.h"
#include "image/Texts.h"
#include "ui/OperationGuard.h"

#include <QAction>
#include <QMenu>

#include <utility>

ConnectionCheckController::ConnectionCheckController(QWidget& window, QMenu& helpMenu,
                                                     QAction* before,
                                                     std::function<OpuLinkOptions()> linkOptions,
                                                     OperationGuard& guard)
    : QObject(&window),
      mnuHelpConnectionCheck(new QAction(Text(Msg::MenuHelpConnectionCheck), &window)),
      window_(window),
      linkOptions_(std::move(linkOptions)),
      guard_(guard) {
  mnuHelpConnectionCheck->setObjectName(QStringLiteral("mnuHelpConnectionCheck"));
  helpMenu.insertAction(before, mnuHelpConnectionCheck);
  connect(mnuHelpConnectionCheck, &QAction::triggered, this,
          &ConnectionCheckController::mnuHelpConnectionCheckClick);
}

void ConnectionCheckController::mnuHelpConnectionCheckClick() {
  // The check talks to the OPU through a link of its own, while no other command may.
  guard_.Run([this] {
    TfrmConnectionCheck check(linkOptions_(), SerialPortPlaces{}, &window_);
    check.exec();
  });
}
