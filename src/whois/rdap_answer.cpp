#include "whois/rdap_answer.h"

#include <QJsonDocument>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/ascii.h"
#include "platform/host_name.h"
#include "whois/availability.h"
#include "whois/normalise.h"
#include "whois/rdap_directory.h"
#include "whois/rdap_json.h"
#include "whois/rdap_text.h"

namespace qv {
namespace {

using rdaptext::SameText;
using rdaptext::Trimmed;

bool SameText(const JsonValue* v, std::string_view text) { return SameText(StringOf(v), text); }

// A host name as the record keeps it: lower case, no trailing dot, A-labels.
std::string HostName(const JsonValue& o) {
  std::string name = Trimmed(StringOf(Member(&o, "ldhName")));
  if (name.empty()) name = Trimmed(StringOf(Member(&o, "unicodeName")));
  while (!name.empty() && name.back() == '.') name.pop_back();
  const std::string ace = AceHostName(name);
  return ToLowerAscii(ace.empty() ? name : ace);
}

// An identifier the services send as text or as a number. A whole number
// is written without a fraction; any other (1.5, 1e300) in its shortest
// decimal form, never cut to a different whole number.
std::string IdText(const JsonValue* v) {
  if (v && v->IsNumber()) {
    const double d = v->GetDouble();
    if (std::trunc(d) == d && std::fabs(d) < 9.0e18) return std::to_string(static_cast<long long>(d));
    return QString::number(d, 'g', QLocale::FloatingPointShortest).toStdString();
  }
  return Trimmed(StringOf(v));
}

// "YYYY-MM-DD" at the start of an RFC 3339 time; the time and zone after it
// are left aside, as a whois date keeps only the day.
Date EventDate(std::string_view text) {
  const QString t = QString::fromUtf8(text.data(), qsizetype(text.size())).trimmed();
  if (t.size() < 10 || t[4] != QLatin1Char('-') || t[7] != QLatin1Char('-')) return Date::Invalid();
  bool okY = false, okM = false, okD = false;
  const int y = t.left(4).toInt(&okY), m = t.mid(5, 2).toInt(&okM), d = t.mid(8, 2).toInt(&okD);
  if (!okY || !okM || !okD || m < 1 || m > 12 || d < 1 || d > 31) return Date::Invalid();
  return Date::FromYmd(y, m, d);
}

bool HasRole(const JsonValue& entity, std::string_view role) {
  for (const JsonValue& r : Elements(Member(&entity, "roles")))
    if (SameText(&r, role)) return true;
  return false;
}

// The text of a vCard property's value; for a structured value (org as a
// list) its first non-empty part.
std::string PropertyText(const JsonValue* value) {
  if (value && value->IsString()) return Trimmed(StringOf(value));
  for (const JsonValue& part : Elements(value)) {
    std::string text = Trimmed(StringOf(&part));
    if (!text.empty()) return text;
  }
  return {};
}

struct Card {
  std::string fn, org;
  std::vector<std::string> emails;
};

// The jCard of an entity: ["vcard", [[name, params, type, value], ...]].
Card ReadCard(const JsonValue& entity) {
  Card card;
  for (const JsonValue& property : Elements(Element(Member(&entity, "vcardArray"), 1))) {
    std::string text = PropertyText(Element(&property, 3));
    if (text.empty()) continue;
    const std::string name = rdaptext::Lower(StringOf(Element(&property, 0)));
    if (name == "fn" && card.fn.empty()) {
      card.fn = std::move(text);
    } else if (name == "org" && card.org.empty()) {
      card.org = std::move(text);
    } else if (name == "email") {
      card.emails.push_back(rdaptext::EmailAddress(text));
    }
  }
  return card;
}

void SetOnce(std::string& field, const std::string& value) {
  if (field.empty()) field = value;
}

// The registrar is the first entity with that role, however deep; contacts
// take the first address of their role.
void ReadEntities(const JsonValue* entities, RdapAnswer& a, bool& registrarSeen) {
  for (const JsonValue& entity : Elements(entities)) {
    const Card card = ReadCard(entity);
    a.emails.insert(a.emails.end(), card.emails.begin(), card.emails.end());
    const std::string email = card.emails.empty() ? std::string() : card.emails.front();
    if (!registrarSeen && HasRole(entity, "registrar")) {
      registrarSeen = true;
      a.registrar = !card.fn.empty() ? card.fn : !card.org.empty() ? card.org : IdText(Member(&entity, "handle"));
      for (const JsonValue& id : Elements(Member(&entity, "publicIds")))
        if (SameText(Member(&id, "type"), "IANA Registrar ID"))
          a.registrarIanaId = IdText(Member(&id, "identifier"));
    }
    if (HasRole(entity, "registrant")) {
      SetOnce(a.ownerEmail, email);
      SetOnce(a.ownerName, card.fn);
      SetOnce(a.organization, card.org);
    }
    if (HasRole(entity, "administrative")) SetOnce(a.adminEmail, email);
    if (HasRole(entity, "technical")) SetOnce(a.techEmail, email);
    if (HasRole(entity, "billing")) SetOnce(a.billingEmail, email);
    ReadEntities(Member(&entity, "entities"), a, registrarSeen);
  }
}

void ReadEvents(const JsonValue* events, RdapAnswer& a) {
  for (const JsonValue& event : Elements(events)) {
    const JsonValue* action = Member(&event, "eventAction");
    Date* target = SameText(action, "registration") ? &a.created
                   : SameText(action, "expiration") ? &a.expires
                   : SameText(action, "last changed") ? &a.updated
                                                      : nullptr;
    if (!target || !target->IsNull()) continue;
    const Date date = EventDate(StringOf(Member(&event, "eventDate")));
    if (date.IsValid()) *target = date;
  }
}

// The registrar's own RDAP record of the name: a "related" link of the RDAP
// media type that is not the answer itself.
std::string RegistrarLink(const JsonValue& domain) {
  for (const JsonValue& link : Elements(Member(&domain, "links"))) {
    if (!SameText(Member(&link, "rel"), "related")) continue;
    if (!SameText(Member(&link, "type"), "application/rdap+json")) continue;
    std::string href = Trimmed(StringOf(Member(&link, "href")));
    if (rdaptext::StartsWithNoCase(href, "https://") || rdaptext::StartsWithNoCase(href, "http://"))
      return href;
  }
  return {};
}

RdapAnswer ReadDomain(const JsonValue& o) {
  RdapAnswer a;
  a.registered = true;
  a.domain = HostName(o);
  a.handle = IdText(Member(&o, "handle"));
  for (const JsonValue& s : Elements(Member(&o, "status"))) {
    std::string status = Trimmed(StringOf(&s));
    if (!status.empty()) a.status.push_back(std::move(status));
  }
  for (const JsonValue& ns : Elements(Member(&o, "nameservers"))) {
    std::string host = HostName(ns);
    if (!host.empty()) a.nameServers.push_back(std::move(host));
  }
  ReadEvents(Member(&o, "events"), a);
  bool registrarSeen = false;
  ReadEntities(Member(&o, "entities"), a, registrarSeen);
  std::sort(a.emails.begin(), a.emails.end());
  a.emails.erase(std::unique(a.emails.begin(), a.emails.end()), a.emails.end());
  a.registrarLink = RegistrarLink(o);
  return a;
}

std::string ErrorObjectText(const JsonValue& o) {
  std::string text = "The RDAP service answered with error " + IdText(Member(&o, "errorCode"));
  const std::string title = Trimmed(StringOf(Member(&o, "title")));
  if (!title.empty()) text += " (" + title + ")";
  return text + ".";
}

}  // namespace

RdapReading ReadRdapAnswer(std::string_view json) {
  RdapReading r;
  if (json.size() > kRdapMaxAnswerBytes) {
    r.error = "The RDAP answer is larger than 1 MiB.";
    return r;
  }
  JsonTree tree;
  r.error = tree.Read(json);
  if (!r.error.empty()) return r;
  const JsonValue& o = tree.root();
  if (const JsonValue* code = Member(&o, "errorCode")) {
    if (IdText(code) == "404") return r;  // not registered
    r.error = ErrorObjectText(o);
    return r;
  }
  const JsonValue* ldhName = Member(&o, "ldhName");
  const bool domain = SameText(Member(&o, "objectClassName"), "domain") || (ldhName && ldhName->IsString());
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
