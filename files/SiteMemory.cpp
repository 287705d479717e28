#include "files/SiteMemory.h"

#include "files/AssignmentListFile.h"
#include "files/DataFolders.h"
#include "image/Texts.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QString memoryPath(const QString& dataFolder) {
  return DataFilePath(dataFolder, SiteMemoryFileName);
}

// The lines kept so far; none when the file exists but cannot be read, which must not be replaced
// by a shorter one.
std::optional<std::vector<Assignment>> keptLines(const QString& path) {
  if (!QFileInfo::exists(path)) return std::vector<Assignment>{};
  return ReadAssignmentListFile(path);
}

}  // namespace

std::optional<Assignment> AssignmentFor(const std::vector<Assignment>& list, const QString& code) {
  const QString wanted = RadioCodeOf(code);
  if (wanted.isEmpty()) return std::nullopt;
  const auto found = std::find_if(list.begin(), list.end(), [&](const Assignment& entry) {
    return RadioCodeOf(entry.code) == wanted;
  });
  if (found == list.end()) return std::nullopt;
  return *found;
}

std::optional<Assignment> RecalledAssignment(const QString& dataFolder, const QString& code) {
  const std::optional<std::vector<Assignment>> lines = keptLines(memoryPath(dataFolder));
  if (!lines) return std::nullopt;
  return AssignmentFor(*lines, code);
}

bool RememberAssignment(const QString& dataFolder, const Assignment& entry,
                        const QString& formerCode) {
  const QString code = RadioCodeOf(entry.code);
  if (code.isEmpty()) return true;
  const QString path = memoryPath(dataFolder);
  std::optional<std::vector<Assignment>> lines = keptLines(path);
  if (!lines) return false;
  const QString former = RadioCodeOf(formerCode);
  const auto before = lines->size();
  std::erase_if(*lines, [&](const Assignment& line) {
    return !former.isEmpty() && former != code && RadioCodeOf(line.code) == former;
  });
  bool changed = lines->size() != before;
  const auto same = [&](const Assignment& line) { return RadioCodeOf(line.code) == code; };
  const auto kept = std::find_if(lines->begin(), lines->end(), same);
  if (kept == lines->end()) {
    lines->push_back({code, entry.facility, entry.room, QString()});
    changed = true;
  } else if (kept->facility != entry.facility || kept->room != entry.room) {
    kept->facility = entry.facility;
    kept->room = entry.room;
    changed = true;
  }
  return !changed || WriteAssignmentListFile(path, *lines);
}

QString PendantCodeOf(const OperationOutcome& outcome) {
  const QString after = RadioCodeOf(outcome.codeAfter);
  return after.isEmpty() ? RadioCodeOf(outcome.codeBefore) : after;
}

std::optional<Assignment> RecalledFor(const QString& dataFolder, const OperationOutcome& outcome) {
  for (const QString& code : {outcome.codeBefore, outcome.codeAfter})
    if (auto kept = RecalledAssignment(dataFolder, code)) return kept;
  return std::nullopt;
}

QString RememberRecipientOf(const QString& dataFolder, const OperationOutcome& outcome) {
  if (outcome.site.isEmpty() && outcome.resident.isEmpty()) return {};
  const QString code = PendantCodeOf(outcome);
  if (RememberAssignment(dataFolder, {code, outcome.site, outcome.resident, QString()},
                         outcome.codeBefore))
    return {};
  return FormatText(Msg::RecipientNotKept, {code, memoryPath(dataFolder)});
}
