#include "whois/builtin_tables.h"

#include <array>

namespace qv {
namespace {

// The .com/.net registry answers for .edu referrals as well; every row that
// names it carries the same prefix and token.
constexpr std::string_view kVerisign = "whois.verisign-grs.com";

constexpr std::array<BuiltinTldRow, 27> kTldRows{{
    {"com", "domain", kVerisign, "No match for"},
    {"net", "domain", kVerisign, "No match for"},
    {"org", "", "whois.pir.org", "NOT FOUND"},
    {"edu", "domain", kVerisign, "No match for"},
    {"uk", "", "whois.nic.uk", "No match for"},
    {"au", "", "whois.auda.org.au", "No Data Found"},
    {"in", "", "whois.nixiregistry.in", "NOT FOUND"},
    {"info", "", "whois.nic.info", "NOT FOUND"},
    {"biz", "", "whois.nic.biz", "Not found"},
    {"aero", "", "whois.aero", "NOT FOUND"},
    {"coop", "", "whois.nic.coop", "No Objects Found|No domain records were found to match"},
    {"name", "", "whois.nic.name", "No match."},
    {"ws", "", "whois.website.ws", "No match for"},
    {"nl", "", "whois.domain-registry.nl", "is not a registered domain"},
    {"nu", "", "whois.iis.nu", "NO MATCH for domain"},
    {"de", "-T dn", "whois.denic.de", "not found in database"},
    {"ca", "", "whois.cira.ca", "AVAIL"},
    {"nz", "", "whois.irs.net.nz", "220 Available"},
    {"us", "", "whois.nic.us", "Not found"},
    {"fr", "", "whois.nic.fr", "No entries found for the selected source"},
    {"tw", "", "whois.twnic.net.tw", "NO MATCH"},
    {"tv", "", "whois.nic.tv", "No match for"},
    {"ch", "", "whois.nic.ch", "do not have an entry"},
    {"eu", "", "whois.eu", "FREE"},
    {"it", "", "whois.nic.it", "No entries found"},
    {"cn", "", "whois.cnnic.cn", "no matching record"},
    {"mobi", "", "whois.nic.mobi", "NOT FOUND"},
}};

constexpr std::string_view kHyphens26 = "--------------------------";
constexpr std::string_view kHyphens27 = "---------------------------";

constexpr std::array<BuiltinServerRow, 47> kServerRows{{
    // Registry servers of the TLDs above.
    {kVerisign, "for detailed information.", "NOTICE: The expiration date displayed", ""},
    {"whois.crsnic.net", "for detailed information.", "NOTICE: The expiration date displayed", ""},
    {"whois.nic.info", "you agree to abide by this policy.", "", ""},
    {"whois.nic.biz", "", "NeuLevel, Inc., the Registry Operator", ""},
    {"whois.nic.uk", "", "For further information and terms", ""},
    {"whois.auda.org.au", "", "", ""},
    {"whois.nixiregistry.in", "you agree to abide by this policy. ", "", ""},
    {"whois.aero", "you agree to abide by this policy.", "For information on the .AERO", "mmdd"},
    {"whois.information.aero", "you agree to abide by this policy.", "", ""},
    {"whois.nic.coop", "please visit http://www.nic.coop", "The .coop registry WHOIS database",
     "mmdd"},
    {"whois.nic.name", "commercial purpose whatsoever.", "For information about the output", "mmdd"},
    {"whois.website.ws", "prohibited.", "", "mmdd"},
    {"whois.domain-registry.nl", "https://www.sidn.nl/en/whois", "", "ddmm"},
    {"whois.denic.de", "activities or suspicions thereof.", "If you would like to search on", "mmdd"},
    {"whois.iis.nu", ".NU Domain Ltd Whois service", "Copyright (c) .NU Domain Ltd", ""},
    {"whois.cira.ca", "", "", "mmdd"},
    {"whois.irs.net.nz", "to all published Terms", "% Users are advised that", "mmdd"},
    {"whois.nic.us", "", "NeuStar, Inc., the Registry Administrator", ""},
    {"whois.nic.fr",
     "See https://www.afnic.fr/en/products-and-services/services/whois/whois-special-notice/", "",
     "mmdd"},
    {"whois.pir.org", "you agree to abide by this policy.", "", ""},
    {"whois.eu", "% of the database.", "", ""},
    {"whois.cnnic.cn", "", "", "mmdd"},
    {"whois.nic.mobi", "or the integrity of the database.", "", ""},
    {"whois.educause.edu", kHyphens26, "", ""},
    // Country registries that write day before month ("04/06/2003" is 4 June).
    {"whois.dns.lu", "", "", "ddmm"},
    {"whois.isoc.org.il", "", "", "ddmm"},
    // Registrar servers.
    {"whois.networksolutions.com", "to modify these terms at any time.", "", ""},
    {"whois.register.com", "Whois information, you agree to these terms.",
     "The data in this whois database is provided", ""},
    {"whois.enom.com", "you agree to abide by these terms.", "Register your domain name at", "mmdd"},
    {"whois.dotster.com", "to 10 per minute and one connection.", "End of Whois Information", ""},
    {"whois.gandi.net", "to be bound by these conditions.", kHyphens27, ""},
    {"whois.moniker.com", "domain names listed in this database.", "", ""},
    {"whois.godaddy.com", "its accuracy.", "By submitting a WHOIS query, you agree", ""},
    {"whois.bulkregister.com", "abide by each of the foregoing policies.",
     "Register your com, net, org,", "mmdd"},
    {"whois.melbourneit.com", "this query, you agree to abide by this policy.",
     "Visit Melbourne IT at www.melbourneit.com.au", "mmdd"},
    {"whois.namecheap.com", "", "The data in this whois database is provided to you", ""},
    {"whois.tucows.com", "", "The Data in the Tucows Registrar", ""},
    {"whois.opensrs.net", "", "The Data in the Tucows Registrar", ""},
    {"whois.markmonitor.com", "", "MarkMonitor is the Global Leader in Online Brand Protection.",
     ""},
    {"whois.publicdomainregistry.com", "", "Registration Service Provided By:", ""},
    // An older wording of the Network Solutions notice; the row above wins.
    {"whois.networksolutions.com", "", "The Data in Network Solutions' WHOIS database", ""},
    // Regional address registries.
    {"whois.lacnic.net", "%  only for lawful purposes.", "", ""},
    {"whois.arin.net", "", "# Enter ? for additional hints", ""},
    {"whois.afrinic.net", "", "This database contains ONLY records", ""},
    {"whois.ripe.net", "", "% This query was served by the RIPE Database Query Service", ""},
    {"whois.apnic.net", "", "% This query was served by the APNIC Whois Service", ""},
    {"whois.nic.ad.jp", "'whois -h whois.nic.ad.jp xxx/e'.", "", ""},
}};

constexpr std::string_view kAfnicUpdated = "{lf}last-update:";

constexpr std::array<BuiltinServerTokensRow, 10> kServerTokenRows{{
    // AFNIC (.fr and the overseas .re .pm .tf .wf .yt): the domain's
    // "last-update:" line; the generic "changed" would take a contact's
    // change date from further down.
    {"whois.nic.fr", "Updated Date Tokens", kAfnicUpdated},
    {"whois.nic.re", "Updated Date Tokens", kAfnicUpdated},
    {"whois.nic.pm", "Updated Date Tokens", kAfnicUpdated},
    {"whois.nic.tf", "Updated Date Tokens", kAfnicUpdated},
    {"whois.nic.wf", "Updated Date Tokens", kAfnicUpdated},
    {"whois.nic.yt", "Updated Date Tokens", kAfnicUpdated},
    // ISOC-IL: "assigned:" and "validity:" carry the registration and expiry
    // dates ("05-06-2026").
    {"whois.isoc.org.il", "Creation Date Tokens", "{lf}assigned:"},
    {"whois.isoc.org.il", "Expiry Date Tokens", "{lf}validity:"},
    // TMnic: "Expiry : 2018-01-30" and numbered "NS 1   : host" lines, the
    // blanks before the colons varying.
    {"whois.nic.tm", "Expiry Date Tokens", "{lf}Expiry"},
    {"whois.nic.tm", "Name Server Tokens", "{lf}NS 1|{lf}NS 2|{lf}NS 3|{lf}NS 4"},
}};

constexpr std::array<std::string_view, 3> kComNetHosts{
    {kVerisign, "whois.crsnic.net", "whois.nsiregistry.net"}};
constexpr std::array<std::string_view, 3> kOrgHosts{
    {"whois.pir.org", "whois.publicinterestregistry.net", "whois.publicinterestregistry.org"}};


template <std::size_t N>
bool AnyEquals(const std::array<std::string_view, N>& hosts, std::string_view host) {
  for (std::string_view h : hosts)
    if (EqualsNoCase(h, host)) return true;
  return false;
}

}  // namespace

std::span<const BuiltinTldRow> BuiltinTldTable() { return kTldRows; }
std::span<const BuiltinServerRow> BuiltinServerTable() { return kServerRows; }
std::span<const BuiltinServerTokensRow> BuiltinServerTokensTable() { return kServerTokenRows; }

std::string_view BuiltinServerTokens(std::string_view server, std::string_view settingsKey) {
  for (const BuiltinServerTokensRow& row : kServerTokenRows)
    if (row.settingsKey == settingsKey && EqualsNoCase(row.server, server)) return row.tokens;
  return {};
}

bool IsComNetRegistryHost(std::string_view host) { return AnyEquals(kComNetHosts, host); }
bool IsOrgRegistryHost(std::string_view host) { return AnyEquals(kOrgHosts, host); }

}  // namespace qv
