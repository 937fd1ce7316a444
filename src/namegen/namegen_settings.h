// The settings keys of the name generators and the name filter (section
// "Settings" of the profile).
#pragma once

namespace qv::namegen_keys {

// Names from keywords.
inline constexpr const char* kAllowHyphens = "Allow Hyphens for Name Gen";
inline constexpr const char* kNoPrefix = "No Prefix Padding for Name Gen";
inline constexpr const char* kNoSuffix = "No Suffix Padding for Name Gen";
inline constexpr const char* kSinglePadding = "Signe Padding for Name Gen";  // spelled so
inline constexpr const char* kKeyword = "Keyword for Name Gen";
inline constexpr const char* kWordSetIndex = "Domain Word List";

// Names from templates.
inline constexpr const char* kTemplate = "Name Gen Template";
inline constexpr const char* kExportFrom = "Name Gen Export From";
inline constexpr const char* kExportTo = "Name Gen Export To";

// The name filter.
inline constexpr const char* kFilterStartWords = "Filter Start Words";
inline constexpr const char* kFilterEndWords = "Filter End Words";
inline constexpr const char* kFilterMiddleWords = "Filter Middle Words";
inline constexpr const char* kFilterCharList = "Filter Char List";
inline constexpr const char* kFilterMaxChars = "Filter Max Chars";
inline constexpr const char* kFilterMinChars = "Filter Min Chars";
inline constexpr const char* kFilterTld = "Filter TLD";
inline constexpr const char* kFilterAutoUnselect = "Filter Auto Unselect";

}  // namespace qv::namegen_keys
