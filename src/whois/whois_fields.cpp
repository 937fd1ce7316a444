#include "whois/whois_fields.h"

#include <algorithm>
#include <optional>

#include "platform/ascii.h"
#include "whois/availability.h"
#include "whois/field_extraction.h"
#include "whois/field_text.h"
#include "whois/normalise.h"
#include "whois/rdap_answer.h"
#include "whois/server_directory.h"

namespace qv {
namespace {

// Block layouts put a sub-label under the field's label ("Registrar:" and on
// the next line "Name: Example Registrar"); the value is what follows it.
std::string WithoutSubLabel(std::string value) {
  static constexpr std::string_view kSubLabels[] = {"name:", "organization:", "organisation:"};
  const std::string lower = ToLowerAscii(value.substr(0, 16));
  for (std::string_view label : kSubLabels) {
    if (!lower.starts_with(label)) continue;
    const std::string_view rest =
        fieldtext::Trim(std::string_view(value).substr(label.size()), " \t");
    if (!rest.empty()) return std::string(rest);
  }
  return value;
}

// Some registries name the registrar by its handle ("Registrar: MARK-0292")
// and describe it in a block of its own further down, where the handle's line
// is followed by "Name: MarkMonitor International Limited". The name is what
// a user knows the registrar by; a value that is no handle (it holds a blank,
// or no digit) stays as it is.
std::string RegistrarNameOfHandle(std::string_view text, std::string registrar) {
  constexpr std::size_t npos = std::string_view::npos;
  if (registrar.empty() || registrar.find_first_of(" \t") != std::string::npos ||
      registrar.find_first_of("0123456789") == std::string::npos)
    return registrar;
  for (std::size_t at = text.find(registrar); at != npos; at = text.find(registrar, at + 1)) {
    // Only blanks may follow the handle on its line (looked at one character
    // past them, so a long line is never scanned once per occurrence).
    const std::size_t br = text.find_first_not_of(" \t", at + registrar.size());
    if (br == npos) break;
    if (text[br] != '\r' && text[br] != '\n') continue;
    const std::size_t lf = text.rfind('\n', at);
    const std::size_t lineStart = lf == npos ? 0 : lf + 1;
    if (ToLowerAscii(text.substr(lineStart, 9)) != "registrar") continue;
    std::size_t next = br + 1;
    if (text[br] == '\r' && next < text.size() && text[next] == '\n') ++next;
    const std::size_t nextEnd = std::min(text.find_first_of("\r\n", next), text.size());
    const std::string_view line = text.substr(next, nextEnd - next);
    if (ToLowerAscii(line.substr(0, 5)) != "name:") continue;
    const std::string_view name = fieldtext::Trim(line.substr(5), " \t");
    if (!name.empty()) return std::string(name);
  }
  return registrar;
}

// The referral server only when the value can be a host name. A registry that
// leaves "Registrar WHOIS Server:" empty makes the label take the next line
// ("Registrar URL: http://..." or "Registrar: Example, Inc."), which is no
// server to ask and would only turn a good answer into a failed follow-up.
std::string ReferralHost(std::string_view value) {
  value = fieldtext::Trim(value, " \t\r\n");
  const auto hostChar = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '.' || c == '_';
  };
  for (char c : value)
    if (!hostChar(c)) return "";
  return std::string(value);
}

// Today's registries follow each status with the address of its
// explanation ("clientTransferProhibited https://icann.org/epp#..."); the
// status is the code before it.
std::string WithoutStatusLink(std::string status) {
  const std::string lower = ToLowerAscii(status);
  std::size_t link = lower.find("https://");
  link = std::min(link, lower.find("http://"));
  if (link == 0 || link == std::string::npos) return status;
  return std::string(fieldtext::TrimRight(std::string_view(status).substr(0, link), " \t("));
}

struct DateField {
  const char* identifier;
  Date WhoisFields::*date;
  bool WhoisFields::*found;
};
constexpr DateField kDateFields[] = {
    {"EXPIRYDATETOKEN", &WhoisFields::expiryDate, &WhoisFields::expiryFound},
    {"CREATEDDATETOKEN", &WhoisFields::createdDate, &WhoisFields::createdFound},
    {"UPDATEDATETOKEN", &WhoisFields::updatedDate, &WhoisFields::updatedFound},
};

void ReadDates(WhoisAnswerReader& reader, WhoisFields& f) {
  // One order for all three dates, so an unambiguous date settles the ones
  // read after it.
  for (const DateField& d : kDateFields)
    f.*d.found = reader.DateValue(d.identifier, f.dateOrder, f.*d.date);
  // And the ones read before it: a date such as 4.7.2020 read while the
  // order was still open is read again once a later date has settled it.
  if (f.dateOrder.empty()) return;
  for (const DateField& d : kDateFields) {
    if (f.*d.found) continue;
    std::string order = f.dateOrder;
    f.*d.found = reader.DateValue(d.identifier, order, f.*d.date);
  }
}

void ReadDatesAndContacts(WhoisAnswerReader& reader, WhoisFields& f) {
  ReadDates(reader, f);
  f.adminEmail = reader.Email("ADMINEMAILTOKEN");
  f.techEmail = reader.Email("TECHEMAILTOKEN");
  f.billingEmail = reader.Email("BILLINGEMAILTOKEN");
  f.ownerEmail = reader.Email("OWNEREMAILTOKEN");
  f.ownerName = WithoutSubLabel(reader.Value("OWNERNAMETOKEN"));
  f.nameServers = reader.NameServers();
}

// A free name keeps no dates, contacts or name servers, and its answer
// teaches no date order.
void ForgetDatesAndContacts(WhoisFields& f, const std::string& serverOrder) {
  for (const DateField& d : kDateFields) {
    f.*d.date = Date();
    f.*d.found = false;
  }
  f.adminEmail.clear();
  f.techEmail.clear();
  f.billingEmail.clear();
  f.ownerEmail.clear();
  f.ownerName.clear();
  f.nameServers.clear();
  f.dateOrder = serverOrder;
}

// The parse may change the server's record in two ways: a day/month order
// learned from the answer, and, for a server without a token, the record
// being stored at all so that the server can be found and set up. A record
// that is not manually edited takes every value from the built-in tables at
// each load, so writing it again once its section exists would change
// nothing that is ever read; such writes are left out.
void StoreServerRecord(WhoisServerRecord& record, const std::string& learnedOrder,
                       bool tokenless) {
  const bool learned =
      !learnedOrder.empty() && !EqualsNoCase(learnedOrder, record.dateFormat);
  if (!learned && !tokenless) return;
  if (learned) record.dateFormat = learnedOrder;
  if (!IsServerRecordStored(record.server) || (record.manuallyEdited != 0 && learned))
    record.Save();
}

}  // namespace

WhoisFields ParseWhoisFields(std::string_view storedAnswer) {
  if (LooksLikeRdapAnswer(storedAnswer)) return ParseStoredRdapAnswer(storedAnswer);
  WhoisFields f;
  WhoisAnswerReader reader(storedAnswer);
  f.source = reader.Source();
  std::optional<WhoisServerRecord> record;
  if (!f.source.empty()) record.emplace(f.source, true);
  const std::string token = record ? record->tokenWhenFree : std::string();
  const std::string serverOrder = record ? record->dateFormat : std::string();

  f.registrar = RegistrarNameOfHandle(reader.CleanText(),
                                      WithoutSubLabel(reader.Value("REGISTRARNAMETOKEN")));
  f.domainId = reader.Value("DOMIDTOKEN");
  const std::string status = WithoutStatusLink(reader.Value("DOMSTATUSTOKEN"));
  f.referralServer = ReferralHost(reader.Value("WHOISSERVERTOKEN"));
  f.dateOrder = serverOrder;
  ReadDatesAndContacts(reader, f);
  const bool registration =
      !f.registrar.empty() || f.createdFound || f.expiryFound || !f.nameServers.empty();
  const std::string verdict =
      DecideAvailabilityOfClean(f.source, reader.CleanText(), token, registration);
  f.status = ToUpperAscii(status.empty() ? verdict : status);
  f.availability = ToUpperAscii(verdict);
  if (AvailabilityCode(f.availability) == 1) ForgetDatesAndContacts(f, serverOrder);
  // A server nobody has set up yet, whose answer shows a registration.
  if (verdict == kVerdictSetupError && (f.createdFound || f.expiryFound)) {
    f.availability = ToUpperAscii(kVerdictTaken);
    if (status.empty()) f.status = f.availability;
  }

  if (record) StoreServerRecord(*record, f.dateOrder, token.empty());
  return f;
}

}  // namespace qv
