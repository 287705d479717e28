#include "app/who/RecipientController.h"

#include "app/Main.h"
#include "files/SafetyNet.h"
#include "files/SiteMemory.h"
#include "image/Texts.h"
#include "ui/FormHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolBar>

namespace {

// Room for a care home's name or a room and a name in the strip's width.
constexpr int FieldWidth = 220;

QLineEdit* addField(QToolBar& bar, const char* name, Msg::Id caption) {
  auto* label = new QLabel(Text(caption), &bar);
  auto* edit = named(new QLineEdit(&bar), name);
  edit->setFixedWidth(FieldWidth);
  // A file dropped here opens as anywhere on the window, rather than becoming its path as text.
  edit->setAcceptDrops(false);
  edit->setToolTip(Text(Msg::RecipientFieldTip));
  bar.addWidget(label);
  bar.addWidget(edit);
  BindRowLabel(label, edit);
  return edit;
}

}  // namespace

RecipientController::RecipientController(TfrmMain& window,
                                         std::function<std::vector<Assignment>()> openList,
                                         OperationObserver& next)
    : QObject(&window),
      tbrRecipient(named(new QToolBar(&window), "tbrRecipient")),
      window_(window),
      openList_(std::move(openList)),
      next_(next) {
  tbrRecipient->setMovable(false);
  tbrRecipient->setFloatable(false);
  tbrRecipient->toggleViewAction()->setEnabled(false);
  tbrRecipient->setContextMenuPolicy(Qt::PreventContextMenu);
  edtSite = addField(*tbrRecipient, "edtSite", Msg::RecipientSite);
  tbrRecipient->addSeparator();
  edtResident = addField(*tbrRecipient, "edtResident", Msg::RecipientResident);
  tbrRecipient->addSeparator();
  lblRecipientFor = named(new QLabel(tbrRecipient), "lblRecipientFor");
  tbrRecipient->addWidget(lblRecipientFor);
  window.addToolBar(Qt::TopToolBarArea, tbrRecipient);
  for (QLineEdit* edit : {edtSite, edtResident})
    connect(edit, &QLineEdit::textEdited, this, &RecipientController::Typed);
}

void RecipientController::Typed() {
  typed_ = true;
  lblRecipientFor->setText(Text(Msg::RecipientForNext));
}

Assignment RecipientController::RecipientOf(const QString& code) const {
  const QString pendant = RadioCodeOf(code);
  if (typed_ || (!pendant.isEmpty() && pendant == shownFor_))
    return {pendant, edtSite->text().simplified(), edtResident->text().simplified(), QString()};
  if (auto line = AssignmentFor(openList_(), pendant)) return *line;
  if (auto recalled = RecalledAssignment(window_.DataFolder, pendant)) return *recalled;
  return {pendant, QString(), QString(), QString()};
}

void RecipientController::OperationFinished(const OperationOutcome& outcome) {
  std::optional<Assignment> given;
  if (typed_)
    given = Assignment{{}, edtSite->text().simplified(), edtResident->text().simplified(), {}};
  const OperationOutcome stamped = StampRecipient(window_.DataFolder, outcome, given, openList_());
  // A line without a pendant (the OPU not reached, no button pressed) binds nothing: what was
  // typed stays for the next attempt. A series' unit shows in the series window, not here.
  const QString code = PendantCodeOf(outcome);
  if (outcome.series.isEmpty() && !code.isEmpty()) ShowFor(code, stamped.site, stamped.resident);
  next_.OperationFinished(stamped);
}

void RecipientController::ShowFor(const QString& code, const QString& site,
                                  const QString& resident) {
  edtSite->setText(site);
  edtResident->setText(resident);
  typed_ = false;
  shownFor_ = RadioCodeOf(code);
  lblRecipientFor->setText(FormatText(Msg::RecipientForCode, {code}));
}
