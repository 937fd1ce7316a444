// The fields of the `Domains` table: their names, types and sizes in the order
// a new document creates them, the older names callers still use for some of
// them, and the values a field can hold.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "platform/ascii.h"
#include "platform/date.h"

namespace qv {

inline constexpr const char* kDomainsTable = "Domains";
inline constexpr const char* kConnectionsTable = "_Connections";
inline constexpr const char* kDomainIndex = "DomainIndex";
// Byte fields named with this prefix hold group membership.
inline constexpr std::string_view kGroupFieldPrefix = "GRP_";

// Names of the stored fields, for callers that read or write one of them.
namespace field {
inline constexpr const char* kDomain = "Domain";
inline constexpr const char* kExpiryDate = "Expiry Date";
inline constexpr const char* kRegistrarExpiry = "Registrar Expiry";
inline constexpr const char* kCreatedOn = "Created On";
inline constexpr const char* kLastUpdate = "Last Update";
inline constexpr const char* kLastCheckedAt = "Last Checked At";
inline constexpr const char* kRegistrar = "Registrar";
inline constexpr const char* kStatus = "Status";
inline constexpr const char* kId = "ID";
inline constexpr const char* kWhoisServer = "Whois Server";
inline constexpr const char* kWhoisSource = "Whois Source";
inline constexpr const char* kIp = "IP";
inline constexpr const char* kNs1 = "NS1";
inline constexpr const char* kNs2 = "NS2";
inline constexpr const char* kIpCheckedAt = "IP Checked At";
inline constexpr const char* kNs3 = "NS3";
inline constexpr const char* kNs4 = "NS4";
inline constexpr const char* kAdminEmail = "Admin Email";
inline constexpr const char* kTechEmail = "Tech Email";
inline constexpr const char* kBillingEmail = "Billing Email";
inline constexpr const char* kOwner = "Owner";
inline constexpr const char* kOrganization = "Organization";
inline constexpr const char* kAddress = "Address";
inline constexpr const char* kOwnerCountry = "Owner Country";
inline constexpr const char* kLock = "Lock";
inline constexpr const char* kAvailability = "Availability";
inline constexpr const char* kNotes = "Notes";
inline constexpr const char* kNotes2 = "Notes 2";
inline constexpr const char* kNotesC = "Notes-C";
inline constexpr const char* kNotesD = "Notes-D";
inline constexpr const char* kUsTmRecords = "US Tm Records";
inline constexpr const char* kUsTmCheckedAt = "US Tm Checked At";
inline constexpr const char* kHomePageStatus = "Home Page Status";
inline constexpr const char* kHomePageModified = "Home Page Modified";
inline constexpr const char* kHomePageSize = "Home Page Size";
inline constexpr const char* kHomePageCheckedAt = "Home Page Checked At";
inline constexpr const char* kHomePageBytes = "Home Page Bytes";
inline constexpr const char* kRedirectUrl = "Redirect URL";
inline constexpr const char* kHomePageTitle = "Home Page Title";
inline constexpr const char* kGoogleLinks = "Google Links";
inline constexpr const char* kAlexaRank = "Alexa Rank";
inline constexpr const char* kAlexaLinks = "Alexa Links";
inline constexpr const char* kMsnLinks = "MSN Links";
inline constexpr const char* kAltavistaLinks = "Altavista Links";
inline constexpr const char* kSitePopCheckedAt = "SitePop Checked At";
inline constexpr const char* kPingTime = "Ping Time";
inline constexpr const char* kPingCheckCount = "Ping Check Count";
inline constexpr const char* kPingFailCount = "Ping Fail Count";
inline constexpr const char* kPingCheckedAt = "Ping Checked At";
inline constexpr const char* kEdited = "Edited";
inline constexpr const char* kHighlighted = "Highlighted";
inline constexpr const char* kMultiLookup = "MultiLookup";
}  // namespace field

// The engine types a field can have.
enum class FieldType { Text, Date, Byte, Boolean, Currency, Double, Long, Memo };

// One row of the table that a new document is built from.
struct SchemaField {
  const char* name;
  const char* schemaType;  // "text", "date", "byte", "number", "double", ...
  int size;                // characters for text; the type fixes the rest
};

// The 62 fields of `Domains` in their order of creation.
std::span<const SchemaField> DomainSchema();

// A field as the open table has it.
struct FieldInfo {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;  // characters for Text; bytes for the other types; 0 = unlimited
};

// "text" Text, "date" Date, "byte" Byte, "yes/no" Boolean, "currency" Currency,
// "double" Double, "number" Long, "memo" Memo, in any capitals; any other word
// gives Text.
FieldType FieldTypeFromSchemaWord(std::string_view word);
// The size a field of this type gets: the schema's size for Text, the type's
// own size otherwise (date 8, byte 1, yes/no 1, currency 8, double 8,
// number 4, memo 0).
int FieldStorageSize(FieldType type, int schemaSize);
FieldInfo SchemaFieldInfo(const SchemaField& row);

// The column type written into the table's definition, and back: a field
// created here reads back with its own type and size; a column another tool
// added is mapped by the engine's usual type-name rules.
std::string DeclaredColumnType(FieldType type, int size);
FieldInfo FieldInfoFromDeclaredType(std::string name, std::string_view declared);
// A table, field or index name quoted for SQLite ("name", inner quotes doubled).
std::string QuoteName(std::string_view name);
// The quoted name and its type; text fields compare without regard to case.
std::string ColumnDefinition(const FieldInfo& info);

// The field name a caller's name stands for: the older names ("Owner Name",
// "Lookedup", "Registry Expiry", "Notes-A", "Notes-B", "Auth Whois", "US Tm")
// in any capitals become the table's names; any other name is returned as is.
std::string ResolveFieldAlias(std::string_view name);

struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
// True for a "GRP_..." field name, in any capitals.
bool IsGroupFieldName(std::string_view name);

// `text` cut to at most `size` characters: UTF-8 characters when the text is
// valid UTF-8, bytes otherwise. A size of 0 or less means unlimited.
std::string CutToFieldSize(std::string_view text, int size);

// A field's value as read from or written to the table. A field that was
// never written is null (std::monostate).
using FieldValue = std::variant<std::monostate, std::string, std::int32_t, std::uint8_t, bool,
                                double, Date>;

// A value as text: Long and Byte as "%d", Double as "%lf", Boolean as "yes"
// or "false", Date as the date alone in the user's short date format (empty
// for a null or invalid date), Text as itself, null as "".
std::string FieldValueToText(const FieldValue& value);

}  // namespace qv
