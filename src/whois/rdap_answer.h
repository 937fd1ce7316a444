// Reading an RDAP domain answer (JSON, RFC 9083) into the values a domain
// record keeps, the same ones a whois answer gives.
//
// Real services differ: names in capitals or with a trailing dot, dates with
// "+0000" or without a zone, registrars named only by their vCard's `org`,
// entities without a vCard, roles in capitals, ids as numbers. The reader
// takes each value where it is found and leaves it empty where it is not.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/date.h"
#include "whois/whois_fields.h"

namespace qv {

// Answers larger than this are refused before they are read.
inline constexpr std::size_t kRdapMaxAnswerBytes = 1 << 20;

struct RdapAnswer {
  bool registered = false;      // a domain object (false: the service said "not found")
  std::string domain;           // ldhName, lower case, without a trailing dot
  std::string handle;
  std::string registrar;        // fn of the registrar entity, else its org, else its handle
  std::string registrarIanaId;  // publicId of type "IANA Registrar ID"
  Date created, expires, updated;  // null when the answer has no such event
  std::vector<std::string> status;       // as sent
  std::vector<std::string> nameServers;  // lower case, no trailing dot, in the answer's order
  std::vector<std::string> emails;       // every address of any vCard, lower case, sorted, once each
  std::string ownerEmail, adminEmail, techEmail, billingEmail;
  std::string ownerName, organization;   // of the registrant
  std::string registrarLink;  // the registrar's RDAP URL for the name ("related" link)
};

struct RdapReading {
  std::string error;  // empty when the answer was read
  RdapAnswer answer;
};

// Reads one answer as received. An error object with code 404 reads as a
// name that is not registered; anything that is no JSON object, is deeper
// than the JSON reader allows, is larger than kRdapMaxAnswerBytes, or is
// neither a domain object nor a 404 gives an error text.
RdapReading ReadRdapAnswer(std::string_view json);

// The status list as the `Status` field holds it: each status in the EPP
// spelling a whois answer uses ("client transfer prohibited" becomes
// CLIENTTRANSFERPROHIBITED, "active" becomes OK), joined by ", ".
std::string RdapStatusText(const std::vector<std::string>& status);

// The values of the answer in the form a whois parse gives them; `source`
// names the RDAP host.
WhoisFields RdapToWhoisFields(const RdapAnswer& answer, std::string_view source);

// A stored answer split into the JSON as received and the host named by its
// (last) source footer.
struct StoredRdapAnswer {
  std::string_view body;
  std::string source;
};
StoredRdapAnswer SplitStoredRdapAnswer(std::string_view stored);

// Reads a stored RDAP answer (the JSON, then the source footer); an answer
// that cannot be read gives the availability and status "ERROR".
WhoisFields ParseStoredRdapAnswer(std::string_view stored);

// A stored RDAP answer as the raw answer pane shows it: the JSON indented,
// then the source footer. A text that is no JSON object comes back as it is.
std::string PrettyRdapAnswer(std::string_view stored);

// True when a stored answer's text (before its source footer) is RDAP JSON
// rather than whois text: it starts, after blanks, with "{".
bool LooksLikeRdapAnswer(std::string_view body);

}  // namespace qv
