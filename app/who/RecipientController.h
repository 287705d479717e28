#pragma once

#include "image/SeriesPlan.h"
#include "link/OperationRecord.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class TfrmMain;
class QToolBar;

// For whom each operation is: a site (Einrichtung) and a resident or room (Raum/Bewohner) in a
// strip under the menu, typed while the window waits, never asked. What the technician typed goes
// into the next record line. Untouched since the last operation, the fields give way to what is
// known of the pendant the operation identified: its line on the series window's open assignment
// list, else what was recorded for its code the last time (files/SiteMemory.h). After each
// operation that identified a pendant the fields show what its line recorded, for that pendant.
// The record's observer chain passes through here before the technician's name is added.
class RecipientController : public QObject, public OperationObserver {
 public:
  // `openList`: the assignment list the series window holds; finished operations go on to `next`.
  RecipientController(TfrmMain& window, std::function<std::vector<Assignment>()> openList,
                      OperationObserver& next);

  // Stamps the outcome with its site and resident, hands it on and remembers them for its code.
  void OperationFinished(const OperationOutcome& outcome) override;

  // For whom the pendant with `code` is as far as known: what the fields hold when typed in or
  // shown for that pendant, else its line on the open list, else what was recorded for it last;
  // empty site and resident when nothing is known.
  [[nodiscard]] Assignment RecipientOf(const QString& code) const;

  QToolBar* tbrRecipient;
  QLineEdit* edtSite;
  QLineEdit* edtResident;
  // Whom the fields name: the pendant of the last line, or the next pendant once typed in.
  QLabel* lblRecipientFor;

 private:
  void ShowFor(const QString& code, const QString& site, const QString& resident);
  void Typed();

  TfrmMain& window_;
  std::function<std::vector<Assignment>()> openList_;
  OperationObserver& next_;
  bool typed_ = false;  // the fields were typed in since the last operation's line
  QString shownFor_;    // the pendant whose line the fields show, while not typed in
};
