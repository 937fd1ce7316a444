#include "whois/rdap_answer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QLocale>
#include <algorithm>
#include <cmath>

#include "platform/ascii.h"
#include "platform/host_name.h"
#include "whois/availability.h"
#include "whois/normalise.h"
#include "whois/rdap_directory.h"

namespace qv {
namespace {

std::string Utf8(const QString& s) { return s.toStdString(); }

std::string Lower(const QString& s) { return Utf8(s.trimmed().toLower()); }

bool SameText(const QJsonValue& v, const char* text) {
  return v.toString().trimmed().compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
}

// A host name as the record keeps it: lower case, no trailing dot, A-labels.
std::string HostName(const QJsonObject& o) {
  QString name = o.value(QLatin1String("ldhName")).toString().trimmed();
  if (name.isEmpty()) name = o.value(QLatin1String("unicodeName")).toString().trimmed();
  while (name.endsWith(QLatin1Char('.'))) name.chop(1);
  const std::string ace = AceHostName(Utf8(name));
  return ToLowerAscii(ace.empty() ? Utf8(name) : ace);
}

// An identifier the services send as text or as a number. A whole number
// is written without a fraction; any other (1.5, 1e300) as JSON wrote it,
// never cut to a different whole number.
std::string IdText(const QJsonValue& v) {
  if (v.isDouble()) {
    const double d = v.toDouble();
    if (std::trunc(d) == d && std::fabs(d) < 9.0e18) return std::to_string(static_cast<long long>(d));
    return Utf8(QString::number(d, 'g', QLocale::FloatingPointShortest));
  }
  return Utf8(v.toString().trimmed());
}

// "YYYY-MM-DD" at the start of an RFC 3339 time; the time and zone after it
// are left aside, as a whois date keeps only the day.
Date EventDate(const QString& text) {
  const QString t = text.trimmed();
  if (t.size() < 10 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-')) return Date::Invalid();
  bool okY = false, okM = false, okD = false;
  const int y = t.left(4).toInt(&okY), m = t.mid(5, 2).toInt(&okM), d = t.mid(8, 2).toInt(&okD);
  if (!okY || !okM || !okD || m < 1 || m > 12 || d < 1 || d > 31) return Date::Invalid();
  return Date::FromYmd(y, m, d);
}

bool HasRole(const QJsonObject& entity, const char* role) {
  for (const QJsonValue& r : entity.value(QLatin1String("roles")).toArray())
    if (SameText(r, role)) return true;
  return false;
}

// The text of a vCard property's value; for a structured value (org as a
// list) its first non-empty part.
QString PropertyText(const QJsonValue& value) {
  if (value.isString()) return value.toString().trimmed();
  for (const QJsonValue& part : value.toArray())
    if (part.isString() && !part.toString().trimmed().isEmpty()) return part.toString().trimmed();
  return {};
}

struct Card {
  std::string fn, org;
  std::vector<std::string> emails;
};

// The jCard of an entity: ["vcard", [[name, params, type, value], ...]].
Card ReadCard(const QJsonObject& entity) {
  Card card;
  const QJsonArray properties = entity.value(QLatin1String("vcardArray")).toArray().at(1).toArray();
  for (const QJsonValue& p : properties) {
    const QJsonArray property = p.toArray();
    const QString name = property.at(0).toString().toLower();
    const QString text = PropertyText(property.at(3));
    if (text.isEmpty()) continue;
    if (name == QLatin1String("fn") && card.fn.empty()) {
      card.fn = Utf8(text);
    } else if (name == QLatin1String("org") && card.org.empty()) {
      card.org = Utf8(text);
    } else if (name == QLatin1String("email")) {
      QString address = text;
      if (address.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) address = address.mid(7);
      card.emails.push_back(Lower(address));
    }
  }
  return card;
}

void SetOnce(std::string& field, const std::string& value) {
  if (field.empty()) field = value;
}

// The registrar is the first entity with that role, however deep; contacts
// take the first address of their role.
void ReadEntities(const QJsonArray& entities, RdapAnswer& a, bool& registrarSeen) {
  for (const QJsonValue& v : entities) {
    const QJsonObject entity = v.toObject();
    const Card card = ReadCard(entity);
    a.emails.insert(a.emails.end(), card.emails.begin(), card.emails.end());
    const std::string email = card.emails.empty() ? std::string() : card.emails.front();
    if (HasRole(entity, "registrar") && !registrarSeen) {
      registrarSeen = true;
      a.registrar = !card.fn.empty() ? card.fn : !card.org.empty() ? card.org : IdText(entity.value(QLatin1String("handle")));
      for (const QJsonValue& id : entity.value(QLatin1String("publicIds")).toArray())
        if (SameText(id.toObject().value(QLatin1String("type")), "IANA Registrar ID"))
          a.registrarIanaId = IdText(id.toObject().value(QLatin1String("identifier")));
    }
    if (HasRole(entity, "registrant")) {
      SetOnce(a.ownerEmail, email);
      SetOnce(a.ownerName, card.fn);
      SetOnce(a.organization, card.org);
    }
    if (HasRole(entity, "administrative")) SetOnce(a.adminEmail, email);
    if (HasRole(entity, "technical")) SetOnce(a.techEmail, email);
    if (HasRole(entity, "billing")) SetOnce(a.billingEmail, email);
    ReadEntities(entity.value(QLatin1String("entities")).toArray(), a, registrarSeen);
  }
}

void ReadEvents(const QJsonArray& events, RdapAnswer& a) {
  for (const QJsonValue& v : events) {
    const QJsonObject event = v.toObject();
    const QJsonValue action = event.value(QLatin1String("eventAction"));
    Date* target = SameText(action, "registration") ? &a.created
                   : SameText(action, "expiration") ? &a.expires
                   : SameText(action, "last changed") ? &a.updated
                                                      : nullptr;
    if (!target || !target->IsNull()) continue;
    const Date date = EventDate(event.value(QLatin1String("eventDate")).toString());
    if (date.IsValid()) *target = date;
  }
}

// The registrar's own RDAP record of the name: a "related" link of the RDAP
// media type that is not the answer itself.
std::string RegistrarLink(const QJsonObject& domain) {
  for (const QJsonValue& v : domain.value(QLatin1String("links")).toArray()) {
    const QJsonObject link = v.toObject();
    if (!SameText(link.value(QLatin1String("rel")), "related")) continue;
    if (!SameText(link.value(QLatin1String("type")), "application/rdap+json")) continue;
    const QString href = link.value(QLatin1String("href")).toString().trimmed();
    if (href.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
        href.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
      return Utf8(href);
  }
  return {};
}

RdapAnswer ReadDomain(const QJsonObject& o) {
  RdapAnswer a;
  a.registered = true;
  a.domain = HostName(o);
  a.handle = IdText(o.value(QLatin1String("handle")));
  for (const QJsonValue& s : o.value(QLatin1String("status")).toArray())
    if (!s.toString().trimmed().isEmpty()) a.status.push_back(Utf8(s.toString().trimmed()));
  for (const QJsonValue& ns : o.value(QLatin1String("nameservers")).toArray()) {
    const std::string host = HostName(ns.toObject());
    if (!host.empty()) a.nameServers.push_back(host);
  }
  ReadEvents(o.value(QLatin1String("events")).toArray(), a);
  bool registrarSeen = false;
  ReadEntities(o.value(QLatin1String("entities")).toArray(), a, registrarSeen);
  std::sort(a.emails.begin(), a.emails.end());
  a.emails.erase(std::unique(a.emails.begin(), a.emails.end()), a.emails.end());
  a.registrarLink = RegistrarLink(o);
  return a;
}

std::string ErrorObjectText(const QJsonObject& o) {
  std::string text = "The RDAP service answered with error " + IdText(o.value(QLatin1String("errorCode")));
  const QString title = o.value(QLatin1String("title")).toString().trimmed();
  if (!title.isEmpty()) text += " (" + Utf8(title) + ")";
  return text + ".";
}

}  // namespace

RdapReading ReadRdapAnswer(std::string_view json) {
  RdapReading r;
  if (json.size() > kRdapMaxAnswerBytes) {
    r.error = "The RDAP answer is larger than 1 MiB.";
    return r;
  }
  QJsonParseError parseError;
  // Read in place: the answer is not copied for the parser.
  const QJsonDocument doc =
      QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), qsizetype(json.size())), &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    r.error = "The RDAP answer is not valid JSON: " + Utf8(parseError.errorString()) +
              " at byte " + std::to_string(parseError.offset) + ".";
    return r;
  }
  if (!doc.isObject()) {
    r.error = "The RDAP answer is not a JSON object.";
    return r;
  }
  const QJsonObject o = doc.object();
  if (o.contains(QLatin1String("errorCode"))) {
    if (IdText(o.value(QLatin1String("errorCode"))) == "404") return r;  // not registered
    r.error = ErrorObjectText(o);
    return r;
  }
  const bool domain = SameText(o.value(QLatin1String("objectClassName")), "domain") ||
                      o.value(QLatin1String("ldhName")).isString();
  if (!domain) {
    r.error = "The RDAP answer is not a domain object.";
    return r;
  }
  r.answer = ReadDomain(o);
  return r;
}

std::string RdapStatusText(const std::vector<std::string>& status) {
  std::string joined;
  for (const std::string& s : status) {
    std::string code;
    for (char c : s)
      if (c != ' ' && c != '\t' && c != '_' && c != '-') code += c;
    code = ToUpperAscii(code);
    if (code == "ACTIVE") code = "OK";
    if (code.empty()) continue;
    if (!joined.empty()) joined += ", ";
    joined += code;
  }
  return joined;
}

WhoisFields RdapToWhoisFields(const RdapAnswer& a, std::string_view source) {
  WhoisFields f;
  f.source = std::string(source);
  if (!a.registered) {
    f.availability = ToUpperAscii(kVerdictFree);
    f.status = f.availability;
    return f;
  }
  f.availability = ToUpperAscii(kVerdictTaken);
  f.status = RdapStatusText(a.status);
  if (f.status.empty()) f.status = f.availability;
  f.registrar = a.registrar;
  f.domainId = a.handle;
  f.referralServer = RdapServerKey(a.registrarLink);
  const auto setDate = [](const Date& d, Date& out, bool& found) {
    found = d.IsValid();
    if (found) out = d;
  };
  setDate(a.created, f.createdDate, f.createdFound);
  setDate(a.expires, f.expiryDate, f.expiryFound);
  setDate(a.updated, f.updatedDate, f.updatedFound);
  f.adminEmail = a.adminEmail;
  f.techEmail = a.techEmail;
  f.billingEmail = a.billingEmail;
  f.ownerEmail = a.ownerEmail;
  f.ownerName = a.ownerName;
  f.organization = a.organization;
  f.nameServers = a.nameServers;
  return f;
}

StoredRdapAnswer SplitStoredRdapAnswer(std::string_view stored) {
  // The footer is the last one: the JSON before it may quote anything.
  const std::string tag = "\n" + std::string(kWhoisSourceTag);
  const std::size_t footer = stored.rfind(tag);
  if (footer == std::string_view::npos) return {stored, {}};
  std::string source(stored.substr(footer + tag.size()));
  source = source.substr(0, source.find(']'));
  return {stored.substr(0, footer), std::move(source)};
}

WhoisFields ParseStoredRdapAnswer(std::string_view stored) {
  const auto [body, source] = SplitStoredRdapAnswer(stored);
  const RdapReading reading = ReadRdapAnswer(body);
  if (reading.error.empty()) return RdapToWhoisFields(reading.answer, source);
  WhoisFields f;
  f.source = source;
  f.availability = kVerdictError;
  f.status = kVerdictError;
  return f;
}

std::string PrettyRdapAnswer(std::string_view stored) {
  const auto [body, source] = SplitStoredRdapAnswer(stored);
  if (body.size() > kRdapMaxAnswerBytes) return std::string(stored);
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(body.data(), qsizetype(body.size())));
  if (!doc.isObject()) return std::string(stored);
  std::string pretty = doc.toJson(QJsonDocument::Indented).toStdString();
  if (source.empty()) return pretty;
  return pretty + std::string(kWhoisSourceTag) + source + "]";
}

bool LooksLikeRdapAnswer(std::string_view body) {
  const std::size_t first = body.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && body[first] == '{';
}

}  // namespace qv
