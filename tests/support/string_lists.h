// The standard strings the program works with as the Qt lists that
// data-driven tests state their cases in, and back.
#pragma once

#include <QStringList>
#include <string>
#include <vector>

namespace qvtest {

inline QStringList QtList(const std::vector<std::string>& strings) {
  QStringList list;
  for (const std::string& s : strings) list << QString::fromStdString(s);
  return list;
}

inline std::vector<std::string> StdList(const QStringList& list) {
  std::vector<std::string> strings;
  for (const QString& s : list) strings.push_back(s.toStdString());
  return strings;
}

// "a|b|c" as {"a", "b", "c"}; an empty text as no strings at all.
inline std::vector<std::string> SplitAtBars(const QString& joined) {
  return joined.isEmpty() ? std::vector<std::string>{} : StdList(joined.split('|'));
}

}  // namespace qvtest
