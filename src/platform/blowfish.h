// Blowfish in ECB mode over libgcrypt, for the few names the program keeps
// enciphered in its own file. Texts are padded to whole 8-byte blocks with
// PKCS#7 padding (1 to 8 bytes, each holding the pad length).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// One raw 8-byte block, no padding; nothing when the key (4 to 56 bytes) or
// the block size is wrong. For checks against published test vectors.
std::optional<std::string> BlowfishEncipherBlock(std::string_view key, std::string_view block);

// The padded text enciphered under `key`; nothing when the key is refused.
std::optional<std::string> BlowfishEncipher(std::string_view key, std::string_view plain);
// The text back; nothing when the key is refused, the length is not a whole
// number of blocks or the padding does not check out.
std::optional<std::string> BlowfishDecipher(std::string_view key, std::string_view cipher);

}  // namespace qv
