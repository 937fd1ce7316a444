// Helpers shared by the lookup tests: a document of names, a test suffix
// pointed at a loopback whois server through the directory's stored records,
// and running the engine's ticks until it is idle.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "lookup/lookup_engine.h"
#include "store/database_connection.h"
#include "store/domain_record.h"

namespace enginetest {

// Creates a new document in the temporary folder holding `names`.
bool MakeDocument(qv::DomainDatabase& db, const std::vector<std::string>& names);

// Names under `key` ("qvtest") are looked up at `host` on `port`, with up to
// `maxConnections` lookups at once and no wait between them.
void PointSuffixAt(const std::string& key, const std::string& host, int port, int maxConnections = 4);
// The server's port only (a new loopback server for the next run).
void SetServerPort(const std::string& host, int port);

// Ticks the engine, letting posted results arrive, until nothing is queued
// or running; false when that does not happen within `limitMs`.
bool RunUntilIdle(qv::LookupEngine& engine, int limitMs = 30000);
// Lets posted results arrive until `done` holds (at most `limitMs`).
bool WaitFor(const std::function<bool()>& done, int limitMs = 30000);

// Web checks that are offered but never get going: every start reports that
// the check cannot start now, so the names wait in their queues.
qv::WebCheckHooks WaitingWebChecks();

qv::DomainRecord Read(qv::DomainDatabase& db, const std::string& name);
// A field as text for comparisons: dates as ISO text.
QString Field(const qv::DomainRecord& record, const char* field);
// A file's whole content; empty when it cannot be read.
std::string FileText(const std::filesystem::path& path);

// An answer of a registered name with the usual labels.
struct Registration {
  std::string name;
  std::string registrar = "Example Registrar LLC";
  std::string created = "1999-03-04T05:06:07Z";
  std::string updated = "2023-08-14T07:01:38Z";
  std::string expiry = "2030-08-13T04:00:00Z";
  std::string status = "clientTransferProhibited";
  std::vector<std::string> nameServers = {"NS1.EXAMPLE.NET", "NS2.EXAMPLE.NET"};
  std::string referral;  // "Registrar WHOIS Server:" when not empty
};
std::string RegisteredAnswer(const Registration& r);
// The usual registration of a name.
Registration Reg(std::string name);

}  // namespace enginetest
