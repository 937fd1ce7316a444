// A name file read piece by piece into a document, as `quorvel import` and
// the Import command add it, against the same text split at once.
//
// The first byte sets the size of the pieces the file arrives in (1 to 255
// bytes; 0 for all at once), so names cut by a piece boundary are exercised.
// Splitting must not depend on where the pieces end: the names the stream
// adds, finds stored or refuses are, in number, the names of the whole text.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "store/add_names.h"
#include "store/database_maintenance.h"
#include "store/name_text.h"

namespace {

qv::DomainDatabase& Document() {
  static qv::DomainDatabase db;
  if (!db.HasPath()) {
    const std::string path = qvfuzz::PrivateFolders() + "/import.qvl";
    if (!qv::NewDocument(db, path).ok) std::abort();
  }
  return db;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Document();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = data[0] == 0 ? size : data[0];
  std::string_view text = qvfuzz::AsText(data + 1, size - 1);
  qv::DomainDatabase& db = Document();

  std::string_view rest = text;
  const qv::ReadNamesChunk read = [&](char* buffer, std::size_t room, std::string&) -> long long {
    const std::size_t n = std::min({rest.size(), room, piece});
    rest.copy(buffer, n);
    rest.remove_prefix(n);
    return static_cast<long long>(n);
  };
  const qv::AddNamesReport report = qv::AddNamesFromStream(db, read, text.size());
  if (!report.error.empty()) std::abort();

  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t names = 0, usable = 0;
  for (std::string_view part : qv::SplitIntoPieces(text))
    qv::ForEachName(part, [&](std::string_view name) {
      ++names;
      if (qv::StorableDomainName(name)) ++usable;
    });
  if (report.added + report.alreadyStored + report.refused != names) std::abort();
  if (report.refused != names - usable) std::abort();

  if (db.update().ExecuteNative("DELETE FROM Domains") != 0) std::abort();
  return 0;
}
