// The file types the import and export commands offer.
#pragma once

namespace qv {

inline constexpr const char* kTextFilesFilter = "Text Files (*.txt);;All Files (*)";
inline constexpr const char* kCsvFilesFilter = "CSV Files (*.csv);;All Files (*)";

}  // namespace qv
