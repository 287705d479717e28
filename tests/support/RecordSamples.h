#pragma once

#include "files/ProgrammingRecord.h"

#include <vector>

// A write as the record holds it: by Eva, for room 1 at the site.
inline RecordEntry sampleWrite(const QString& time, const QString& code, const QString& series = {},
                               const QString& site = {}) {
  return RecordEntry{time,   "Schreiben", code,  code, "OK",  "", "", QString(64, u'a'),
                     series, "",          "Eva", site, "Zi 1"};
}

// Four writes on four days: two of one code, two in one series, sites that share a name's start.
inline std::vector<RecordEntry> sampleWrites() {
  return {sampleWrite("2026-12-01T09:00:00+01:00", "1A2B", "S1", "Haus Linde"),
          sampleWrite("2026-12-02T09:00:00+01:00", "3C4D", "S1", "Haus Eiche"),
          sampleWrite("2026-12-03T09:00:00+01:00", "1A2B", "", "Haus Eiche"),
          sampleWrite("2026-12-04T09:00:00+01:00", "5E6F", "", "Haus Linde; Nord")};
}
