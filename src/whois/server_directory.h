// The whois server directory: which whois server answers for a domain name and
// how that server is spoken to and read.
//
// Two kinds of record live in the settings store under the direct path
// Tembrix / "Whois Setup" / <section>: a TldRecord per TLD key ("com",
// "co.uk"), naming the key's whois server, and a WhoisServerRecord per server
// host with its port, query prefix, availability token, cleanup fragments,
// date order and politeness limits. Both fall back to built-in tables when
// nothing is stored; beyond those tables the program ships a list of the
// port-43 servers of today's TLDs and a list of "not registered" sentences,
// consulted only where the built-in tables end without an answer.
//
// Records are short-lived: each lookup or dialog builds what it needs from the
// store and drops it when done.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Section of the TLD list in the whois store.
inline constexpr const char* kTldListSection = "TLD List";

// The store section of a server host or TLD key: its lower-case form, since
// host names and keys are compared without regard to case.
std::string DirectorySection(std::string_view hostOrKey);

// The `Whois Server` stored for a TLD key, read without building a TldRecord
// (which stores what it found when it is dropped); empty when none.
std::string StoredServerOfKey(std::string_view key);

class TldRecord;
TldRecord ServerForName(std::string_view name);

class TldRecord {
 public:
  // Takes a key ("co.uk"; kept in lower case) and reads its stored
  // `Whois Server`.
  explicit TldRecord(std::string key);
  // Always writes `Whois Server` for the key, so the server found for a key
  // becomes stored after the first lookup that used it. The one exception is
  // a server that ServerForName found in the shipped table alone (see below).
  ~TldRecord();
  TldRecord(TldRecord&&) noexcept;
  TldRecord& operator=(TldRecord&&) noexcept;
  TldRecord(const TldRecord&) = delete;
  TldRecord& operator=(const TldRecord&) = delete;

  std::string key;
  std::string server;  // empty: no server is known

 private:
  friend TldRecord ServerForName(std::string_view name);
  bool moved_ = false;
  // A server found only in the shipped table is not written back: the table
  // of a newer program (or a suffix longer than the key) must keep winning.
  std::string shippedServer_;
};

class WhoisServerRecord {
 public:
  // Loads the record of a server host. Readers pass noSave = true; the
  // destructor writes every stored field back unless noSave is true.
  WhoisServerRecord(std::string server, bool noSave);
  ~WhoisServerRecord();
  WhoisServerRecord(const WhoisServerRecord&) = delete;
  WhoisServerRecord& operator=(const WhoisServerRecord&) = delete;

  // Writes the record now (whatever noSave says).
  void Save() const;

  bool noSave;
  std::string server;
  std::string queryPrefix;
  int port = 43;
  std::string removeLeftOf;
  std::string removeRightOf;
  std::string tokenWhenFree;
  std::string dateFormat;  // "mmdd", "ddmm" or empty (automatic)
  int maxConnections = 1;
  int connectionInterval = 10;
  std::string webUrl;
  std::string ownerName;
  int manuallyEdited = 0;
};

// Fills a record from the built-in tables (and, after their rows, the shipped
// "not registered" sentences for a server the tables do not name).
void ApplyServerDefaults(WhoisServerRecord& record);

// The server of the built-in TLD table row whose TLD equals the key's last
// label, without regard to case; empty when no row matches.
std::string DefaultServerForKey(std::string_view key);

// The port-43 server of the longest suffix of the name listed in the shipped
// server table; empty when none is listed.
std::string ShippedServerForName(std::string_view name);

// Builds the TldRecord for a domain name: its key (the longest suffix of the
// TLD List it ends with, else its last label) and its server.
TldRecord ServerForName(std::string_view name);

// Just the server ServerForName finds for a name, copied out of the record
// before the record is stored. Taking `ServerForName(name).server` directly
// would move the string out of the temporary record, whose destructor then
// stores an empty server in place of the user's.
std::string WhoisServerFor(std::string_view name);

// The TLD List: the stored entries, or the built-in 28 when none are stored.
std::vector<std::string> LoadTldList();
void SaveTldList(const std::vector<std::string>& list);
const std::vector<std::string>& DefaultTldList();

// Reset of one server to the built-in tables, as the "reset" command does
// after the user has said Yes: the key's server goes back to the default, the
// server record to the built-in values with its custom token lists cleared and
// `Manually Edited` 0. `server` is the domain's referral server when known,
// else ServerForName's. Returns the server reset, or empty when there is none.
std::string ResetWhoisServer(std::string_view domainName, std::string_view referralServer);

}  // namespace qv
