#include "app/Texts.h"

#include <map>

namespace {

const std::map<int, const char*>& textTable() {
  static const std::map<int, const char*> table = {
      {10000, "U-KOVA Programmiergerät"},
      {19999, "\\ORVEL\\U-KOVA Programmer (DE)\\"},
  };
  return table;
}

}  // namespace

QString Text(int number) {
  const auto& table = textTable();
  const auto entry = table.find(number);
  return entry == table.end() ? QString() : QString::fromUtf8(entry->second);
}

QString FormatText(int number, const QStringList& arguments) {
  const QString pattern = Text(number);
  QString result;
  qsizetype argument = 0;
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    if (pattern.at(i) == u'%' && i + 1 < pattern.size() && pattern.at(i + 1) == u's') {
      result += argument < arguments.size() ? arguments.at(argument) : QString();
      ++argument;
      ++i;
    } else {
      result += pattern.at(i);
    }
  }
  return result;
}
