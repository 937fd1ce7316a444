// The settings that steer the lookup engine (section "Settings").
#pragma once

namespace qv {

// How many whois jobs and how many DNS checks may run at once, and how many
// entries of either queue are dispatched in one tick.
inline constexpr const char* kDnsLookupCountKey = "DNS Lookup Count";
inline constexpr int kDnsLookupCountDefault = 15;
inline constexpr int kDnsLookupCountMin = 1;
inline constexpr int kDnsLookupCountMax = 100;
// Menu switch "Do Minimum Whois Lookups".
inline constexpr const char* kQuickWhoisLookupKey = "Quick Whois Lookup";
inline constexpr int kQuickWhoisLookupDefault = 0;
// Menu switch "Do Authoritative Whois Lookup".
inline constexpr const char* kGetFullWhoisDataKey = "Get Full Whois Data";
inline constexpr int kGetFullWhoisDataDefault = 1;

// Which protocol looks names up: RDAP where the name's TLD has a service and
// whois otherwise or when the RDAP query fails (not for a 404, which says
// the name is free); whois alone; or RDAP alone. Stored as the choice's text.
inline constexpr const char* kLookupProtocolKey = "Lookup Protocol";
enum class LookupProtocol { RdapFirst, WhoisOnly, RdapOnly };
inline constexpr const char* kLookupProtocolTexts[] = {"RDAP first", "Whois only", "RDAP only"};

// The stored choice; an unknown or missing text reads as "RDAP first".
LookupProtocol LookupProtocolSetting();
void SetLookupProtocolSetting(LookupProtocol protocol);

// The stored `DNS Lookup Count`, kept within 1 .. 100.
int DnsLookupCountSetting();
void SetDnsLookupCountSetting(int count);
bool QuickWhoisLookupSetting();
void SetQuickWhoisLookupSetting(bool on);
bool GetFullWhoisDataSetting();
void SetGetFullWhoisDataSetting(bool on);

}  // namespace qv
