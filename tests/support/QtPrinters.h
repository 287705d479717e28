#pragma once

#include <QString>

#include <ostream>

// Lets test failures show texts as text rather than as UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
