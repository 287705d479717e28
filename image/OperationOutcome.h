#pragma once

#include "image/VembaData.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The transmitter operations an outcome names.
enum class OperationKind { Read, Write, ChangeCode, Verify };

// How one transmitter operation ended, whichever front end ran it: what the programming record
// and the backups keep. The record's wording (operation names, "OK") and the backup's kind are
// derived where the record is written.
struct OperationOutcome {
  OperationKind kind = OperationKind::Read;
  QString codeBefore;    // the code the transmitter was identified by; empty when none
  QString codeAfter;     // the code it has afterwards, as far as the operation knows
  int resultNumber = 0;  // the message the operation ended with; 0 when it succeeded
  QString resultText;    // that message's text
  // The 256 bytes read or sent, as a configuration file holds them (the radio code at 0x20); a
  // read or write has them only when it succeeded.
  std::optional<ImageBytes> image;
  QDateTime finishedAt;
  // A unit of a series: the series' identifier and the unit's line of the assignment list.
  QString series = {};
  QString assignment = {};
  // Who programmed the pendant and for whom: the technician's name, the site (a care home, a
  // ward) and the resident or room there; each empty when nobody gave it.
  QString technician = {};
  QString site = {};
  QString resident = {};
};
