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

// The stored `DNS Lookup Count`, kept within 1 .. 100.
int DnsLookupCountSetting();
void SetDnsLookupCountSetting(int count);
bool QuickWhoisLookupSetting();
void SetQuickWhoisLookupSetting(bool on);
bool GetFullWhoisDataSetting();
void SetGetFullWhoisDataSetting(bool on);

}  // namespace qv
