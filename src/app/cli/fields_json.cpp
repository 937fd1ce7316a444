#include "app/cli/fields_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <cstdio>

#include "platform/ascii.h"
#include "platform/text.h"

namespace qv::cli {
namespace {

QJsonValue Text(std::string_view s) { return ToQString(s); }

QJsonValue DateValue(bool found, const Date& date) {
  if (!found || !date.IsValid()) return QJsonValue::Null;
  const DateParts p = date.Parts();
  return QString::asprintf("%04d-%02d-%02d", p.year, p.month, p.day);
}

QJsonArray TextList(const std::vector<std::string>& list) {
  QJsonArray out;
  for (const std::string& s : list) out.append(ToQString(s));
  return out;
}

}  // namespace

QJsonObject WhoisFieldsJson(const WhoisFields& f) {
  QJsonArray servers;
  for (const std::string& host : f.nameServers)
    servers.append(ToQString(ToLowerAscii(host)));
  QJsonObject o;
  o[QStringLiteral("source")] = Text(f.source);
  o[QStringLiteral("availability")] = Text(f.availability);
  o[QStringLiteral("status")] = Text(f.status);
  o[QStringLiteral("registrar")] = Text(f.registrar);
  o[QStringLiteral("domain_id")] = Text(f.domainId);
  o[QStringLiteral("referral_server")] = Text(f.referralServer);
  o[QStringLiteral("created")] = DateValue(f.createdFound, f.createdDate);
  o[QStringLiteral("expires")] = DateValue(f.expiryFound, f.expiryDate);
  o[QStringLiteral("updated")] = DateValue(f.updatedFound, f.updatedDate);
  o[QStringLiteral("name_servers")] = servers;
  o[QStringLiteral("admin_email")] = Text(f.adminEmail);
  o[QStringLiteral("tech_email")] = Text(f.techEmail);
  o[QStringLiteral("billing_email")] = Text(f.billingEmail);
  o[QStringLiteral("owner_email")] = Text(f.ownerEmail);
  o[QStringLiteral("owner_name")] = Text(f.ownerName);
  o[QStringLiteral("date_order")] = Text(f.dateOrder);
  return o;
}

QJsonObject RdapAnswerJson(const RdapAnswer& a, std::string_view source) {
  QJsonObject o = WhoisFieldsJson(RdapToWhoisFields(a, source));
  o[QStringLiteral("domain")] = Text(a.domain);
  o[QStringLiteral("registrar_iana_id")] =
      a.registrarIanaId.empty() ? QJsonValue(QJsonValue::Null) : Text(a.registrarIanaId);
  o[QStringLiteral("status_list")] = TextList(a.status);
  o[QStringLiteral("emails")] = TextList(a.emails);
  o[QStringLiteral("organization")] = Text(a.organization);
  o[QStringLiteral("registrar_link")] = Text(a.registrarLink);
  return o;
}

void PrintJson(const QJsonObject& o) {
  const QByteArray json = QJsonDocument(o).toJson(QJsonDocument::Indented);
  std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
}

}  // namespace qv::cli
