#include "app/who/RecipientController.h"

#include "app/Main.h"
#include "files/SiteMemory.h"
#include "ui/FormHelpers.h"
#include "image/Texts.h"

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

std::optional<Assignment> RecipientController::Known(const OperationOutcome& outcome) const {
  const std::vector<Assignment> list = openList_();
  for (const QString& code : {outcome.codeAfter, outcome.codeBefore})
    if (auto line = AssignmentFor(list, code)) return line;
  return RecalledFor(window_.DataFolder, outcome);
}

void RecipientController::OperationFinished(const OperationOutcome& outcome) {
  OperationOutcome stamped = outcome;
  // A series' unit names its own from its list line; the fields stay the technician's.
  if (outcome.series.isEmpty()) {
    if (typed_) {
      stamped.site = edtSite->text().simplified();
      stamped.resident = edtResident->text().simplified();
    } else if (const auto known = Known(outcome)) {
      stamped.site = known->facility;
      stamped.resident = known->room;
    }
    // A line without a pendant (the OPU not reached, no button pressed) binds nothing: what was
    // typed stays for the next attempt.
    const QString code = PendantCodeOf(outcome);
    if (!code.isEmpty()) ShowFor(code, stamped.site, stamped.resident);
  }
  next_.OperationFinished(stamped);
  const QString problem = RememberRecipientOf(window_.DataFolder, stamped);
  if (problem.isEmpty()) return;
  // After the operation's own report, never instead of it.
  const QString own = window_.StatusText();
  window_.SetStatusText((own.isEmpty() ? QString() : own + QStringLiteral(" \u2013 ")) + problem);
}

void RecipientController::ShowFor(const QString& code, const QString& site,
                                  const QString& resident) {
  edtSite->setText(site);
  edtResident->setText(resident);
  typed_ = false;
  shownFor_ = RadioCodeOf(code);
  lblRecipientFor->setText(FormatText(Msg::RecipientForCode, {code}));
}
