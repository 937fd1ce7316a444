// The JSON object `quorvel parse` and `quorvel rdap` print for one answer.
#pragma once

#include <QJsonObject>
#include <string_view>

#include "whois/rdap_answer.h"
#include "whois/whois_fields.h"

namespace qv::cli {

QJsonObject WhoisFieldsJson(const WhoisFields& f);
// The same object for an RDAP answer, with what only RDAP gives added:
// "domain", "registrar_iana_id", "status_list", "emails", "organization"
// and "registrar_link".
QJsonObject RdapAnswerJson(const RdapAnswer& a, std::string_view source);
// Writes the object, indented, to standard output.
void PrintJson(const QJsonObject& o);

}  // namespace qv::cli
