#include "app/port/PortChoiceController.h"

#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "link/opu/OpuLink.h"
#include "ui/FormHelpers.h"
#include "ui/OperationGuard.h"
#include "ui/UserDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace {

QString portCaption(const UsbSerialPort& port) {
  return port.product.isEmpty() ? FormatText(Msg::CheckPortWithoutName, {port.device})
                                : FormatText(Msg::CheckPortWithName, {port.device, port.product});
}

}  // namespace

TfrmPortChoice::TfrmPortChoice(const std::vector<UsbSerialPort>& ports, const QString& chosenPort,
                               const QString& commandLinePort, QWidget* parent)
    : QDialog(parent), cbbxPort(named(new QComboBox(this), "cbbxPort")) {
  setWindowTitle(Text(Msg::PortChoiceTitle));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(Text(Msg::PortChoiceLabel), this);
  label->setBuddy(cbbxPort);
  layout->addWidget(label);
  layout->addWidget(cbbxPort);
  cbbxPort->setAccessibleName(QString(Text(Msg::PortChoiceLabel)).remove(u'&').remove(u':'));

  cbbxPort->addItem(Text(Msg::PortChoiceAutomatic), QString());
  bool chosenListed = chosenPort.isEmpty();
  for (const UsbSerialPort& port : ports) {
    cbbxPort->addItem(portCaption(port), port.device);
    chosenListed = chosenListed || port.device == chosenPort;
  }
  // A kept port that is not plugged in now stays choosable, so OK does not silently drop it.
  if (!chosenListed) {
    cbbxPort->addItem(FormatText(Msg::PortChoiceAbsent, {chosenPort}), chosenPort);
  }
  cbbxPort->setCurrentIndex(cbbxPort->findData(chosenPort));

  if (!commandLinePort.isEmpty()) {
    auto* note = new QLabel(FormatText(Msg::PortChoiceCommandLineWins, {commandLinePort}), this);
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  AddOkAbortButtons(*this, *layout);
  cbbxPort->setFocus();
}

QString TfrmPortChoice::ChosenPort() const {
  return cbbxPort->currentData().toString();
}

PortChoiceController::PortChoiceController(QWidget& window, QMenu& commMenu, QAction* before,
                                           const VembaIni& settings,
                                           const OpuLinkOptions& commandLine, OpuLink& link,
                                           UserDialogs& dialogs, OperationGuard& guard)
    : QObject(&window),
      mnuCommChoosePort(new QAction(Text(Msg::MenuCommChoosePort), &window)),
      window_(window),
      settings_(settings),
      commandLine_(commandLine),
      link_(link),
      dialogs_(dialogs),
      guard_(guard) {
  mnuCommChoosePort->setObjectName(QStringLiteral("mnuCommChoosePort"));
  commMenu.insertAction(before, mnuCommChoosePort);
  connect(mnuCommChoosePort, &QAction::triggered, this,
          &PortChoiceController::mnuCommChoosePortClick);
  portInForce_ = commandLine_.portPath.isEmpty() ? KeptPort() : commandLine_.portPath;
  link_.UsePort(portInForce_);
}

QString PortChoiceController::KeptPort() const {
  return settings_.ReadSetting(OpuSection, OpuPortKey);
}

OpuLinkOptions PortChoiceController::LinkOptions() const {
  return OpuLinkOptions{portInForce_, commandLine_.traceFile};
}

bool PortChoiceController::ChoosePort(const QString& port) {
  try {
    settings_.WriteSetting(OpuSection, OpuPortKey, port);
  } catch (const IniWriteError& error) {
    dialogs_.ShowError(&window_, error.message());
    return false;
  }
  if (commandLine_.portPath.isEmpty()) {
    portInForce_ = port;
    link_.UsePort(portInForce_);
  }
  return true;
}

void PortChoiceController::mnuCommChoosePortClick() {
  // The link is closed between commands; no command may run while it changes.
  guard_.Run([this] {
    TfrmPortChoice choice(ListUsbPorts(SerialPortPlaces{}), KeptPort(), commandLine_.portPath,
                          &window_);
    if (choice.exec() == QDialog::Accepted) (void)ChoosePort(choice.ChosenPort());
  });
}
