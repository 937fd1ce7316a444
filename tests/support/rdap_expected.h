// Compares what the RDAP reader took out of a real answer with the values its
// expected.json lists (tests/data/rdap-answers). Shared by the real-answer
// test and the RDAP bench, so both count fields the same way.
#pragma once

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

#include "whois/rdap_answer.h"

namespace qvtest {

struct RdapCase {
  QString name;
  QByteArray answer;
  QJsonObject expected;
};

// Every case folder under `root` (answer.json and expected.json), by name.
inline std::vector<RdapCase> LoadRdapCases(const QString& root) {
  std::vector<RdapCase> cases;
  const QDir dir(root);
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    QFile answer(dir.filePath(name + QStringLiteral("/answer.json")));
    QFile expected(dir.filePath(name + QStringLiteral("/expected.json")));
    if (!answer.open(QIODevice::ReadOnly) || !expected.open(QIODevice::ReadOnly)) continue;
    cases.push_back({name, answer.readAll(), QJsonDocument::fromJson(expected.readAll()).object()});
  }
  return cases;
}

inline QJsonValue TextOrNull(const std::string& s) {
  return s.empty() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromStdString(s));
}

// The day of a valid date as "YYYY-MM-DD", otherwise null.
inline QJsonValue DateOrNull(const qv::Date& d) { return TextOrNull(d.ToIsoText().substr(0, 10)); }

inline QJsonArray Strings(std::vector<std::string> list, bool sorted) {
  if (sorted) std::sort(list.begin(), list.end());
  QJsonArray out;
  for (const std::string& s : list) out.append(QString::fromStdString(s));
  return out;
}

// The fields compared, each as the expected file writes it.
inline QJsonObject RdapActualFields(const qv::RdapAnswer& a) {
  QJsonObject o;
  o[QStringLiteral("domain")] = TextOrNull(a.domain);
  o[QStringLiteral("registered")] = a.registered;
  o[QStringLiteral("registrar")] = TextOrNull(a.registrar);
  o[QStringLiteral("registrar_iana_id")] = TextOrNull(a.registrarIanaId);
  o[QStringLiteral("created")] = DateOrNull(a.created);
  o[QStringLiteral("expires")] = DateOrNull(a.expires);
  o[QStringLiteral("updated")] = DateOrNull(a.updated);
  o[QStringLiteral("status")] = Strings(a.status, false);
  o[QStringLiteral("name_servers")] = Strings(a.nameServers, true);
  o[QStringLiteral("emails")] = Strings(a.emails, false);
  return o;
}

// The names of the compared fields whose value differs from the expected one.
inline QStringList RdapFieldMismatches(const qv::RdapAnswer& a, const QJsonObject& expected, int* compared = nullptr) {
  const QJsonObject actual = RdapActualFields(a);
  QStringList wrong;
  for (auto it = actual.begin(); it != actual.end(); ++it)
    if (expected.value(it.key()) != it.value()) wrong << it.key();
  if (compared) *compared = int(actual.size());
  return wrong;
}

}  // namespace qvtest
