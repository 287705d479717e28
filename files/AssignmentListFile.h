#pragma once

#include "image/SeriesPlan.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

// Assignment lists on disk: UTF-8 with ";" between columns and CR LF line ends, as the
// programming record is, so that the same spreadsheet opens both.

// The list's lines; none when the file cannot be read. A byte-order mark is taken off.
[[nodiscard]] std::optional<std::vector<Assignment>> ReadAssignmentListFile(const QString& path);
// Replaces the file with the list; false when it did not reach the disk.
[[nodiscard]] bool WriteAssignmentListFile(const QString& path,
                                           const std::vector<Assignment>& entries);

// The codes the programming record in `dataFolder` saw written to pendants: no other pendant may
// be given one of them. Empty when there is no record yet.
[[nodiscard]] QSet<QString> CodesGivenInRecord(const QString& dataFolder);
