#include "app/who/TechnicianController.h"

#include "files/IniFile.h"
#include "files/VembaIni.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"
#include "ui/UserDialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Room for any name a person has; a longer one kept by hand is shown whole.
constexpr int LongestTypedName = 80;

}  // namespace

TfrmSettings::TfrmSettings(const QString& technician, bool firstAsk, QWidget* parent)
    : QDialog(parent), edtTechnician(named(new QLineEdit(this), "edtTechnician")) {
  setObjectName(QStringLiteral("frmSettings"));
  setWindowTitle(Text(Msg::SettingsTitle));
  auto* layout = new QVBoxLayout(this);
  if (firstAsk) {
    auto* why = named(new QLabel(Text(Msg::SettingsFirstAsk), this), "lblFirstAsk");
    why->setWordWrap(true);
    layout->addWidget(why);
  }
  auto* label = named(new QLabel(Text(Msg::SettingsTechnicianLabel), this), "lblTechnician");
  layout->addWidget(label);
  layout->addWidget(edtTechnician);
  BindRowLabel(label, edtTechnician);
  edtTechnician->setMaxLength(std::max<int>(LongestTypedName, static_cast<int>(technician.size())));
  edtTechnician->setText(technician);
  edtTechnician->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
  auto* note = named(new QLabel(Text(Msg::SettingsTechnicianNote), this), "lblTechnicianNote");
  note->setWordWrap(true);
  layout->addWidget(note);
  AddOkAbortButtons(*this, *layout);
  edtTechnician->setFocus();
}

QString TfrmSettings::Technician() const {
  return edtTechnician->text().simplified();
}

TechnicianController::TechnicianController(QWidget& window, QMenu& fileMenu, QAction* before,
                                           QStatusBar& statusBar, const VembaIni& settings,
                                           UserDialogs& dialogs, OperationObserver& next)
    : QObject(&window),
      mnuFileSettings(new QAction(Text(Msg::MenuFileSettings), &window)),
      lblTechnician(named(new QLabel(&statusBar), "lblTechnician")),
      window_(window),
      settings_(settings),
      dialogs_(dialogs),
      next_(next),
      name_(KeptTechnicianName(settings)) {
  mnuFileSettings->setObjectName(QStringLiteral("mnuFileSettings"));
  fileMenu.insertAction(before, mnuFileSettings);
  connect(mnuFileSettings, &QAction::triggered, this, &TechnicianController::mnuFileSettingsClick);
  statusBar.addPermanentWidget(lblTechnician);
  ShowName();
}

bool TechnicianController::SetName(const QString& name) {
  name_ = name.simplified();
  ShowName();
  try {
    settings_.WriteSetting(TechnicianSection, TechnicianNameKey, name_);
  } catch (const IniWriteError& error) {
    dialogs_.ShowError(&window_, error.message());
    return false;
  }
  return true;
}

void TechnicianController::AskIfUnset() {
  if (name_.isEmpty()) OpenSettings(true);
}

void TechnicianController::OperationFinished(const OperationOutcome& outcome) {
  OperationOutcome stamped = outcome;
  stamped.technician = name_;
  next_.OperationFinished(stamped);
}

void TechnicianController::mnuFileSettingsClick() {
  OpenSettings(false);
}

void TechnicianController::OpenSettings(bool firstAsk) {
  if (frmSettings != nullptr) return;
  frmSettings = new TfrmSettings(name_, firstAsk, &window_);
  connect(frmSettings, &QDialog::finished, this, [this](int result) {
    if (result == QDialog::Accepted) (void)SetName(frmSettings->Technician());
    frmSettings->deleteLater();
    frmSettings = nullptr;
  });
  // Window-modal without waiting: the start goes on to show the window behind it.
  frmSettings->open();
}

void TechnicianController::ShowName() {
  lblTechnician->setText(name_.isEmpty() ? Text(Msg::TechnicianNone)
                                         : FormatText(Msg::TechnicianShown, {name_}));
}
