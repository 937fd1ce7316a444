#include "app/program_folder.h"

#include <string_view>

#include "platform/blowfish.h"

namespace qv {
namespace {

constexpr std::string_view kFolderKey = "Qv!r3l-f0ld3r.k3y";
constexpr char kEncipheredFolder[] =
    "\x5d\x03\x6f\x24\xa7\xc9\x6f\xcc\x15\x43\xa9\x4e\x2c\x1b\x49\x8a";

}  // namespace

std::string ProgramFolderName() {
  const std::string_view cipher(kEncipheredFolder, sizeof kEncipheredFolder - 1);
  return BlowfishDecipher(kFolderKey, cipher).value_or(std::string());
}

}  // namespace qv
