#include "platform/blowfish.h"

#include <gcrypt.h>

namespace qv {
namespace {

constexpr std::size_t kBlock = 8;

bool InitGcrypt() {
  static const bool ready = [] {
    if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
      if (!gcry_check_version(nullptr)) return false;
      gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
      gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    }
    return true;
  }();
  return ready;
}

// Runs the cipher over `data` (a whole number of blocks) in place.
bool Run(std::string_view key, std::string& data, bool encipher) {
  if (!InitGcrypt() || key.size() < 4 || key.size() > 56 || data.size() % kBlock != 0)
    return false;
  gcry_cipher_hd_t handle = nullptr;
  if (gcry_cipher_open(&handle, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_ECB, 0) != 0) return false;
  bool ok = gcry_cipher_setkey(handle, key.data(), key.size()) == 0;
  if (ok && !data.empty()) {
    ok = (encipher ? gcry_cipher_encrypt(handle, data.data(), data.size(), nullptr, 0)
                   : gcry_cipher_decrypt(handle, data.data(), data.size(), nullptr, 0)) == 0;
  }
  gcry_cipher_close(handle);
  return ok;
}

}  // namespace

std::optional<std::string> BlowfishEncipherBlock(std::string_view key, std::string_view block) {
  if (block.size() != kBlock) return std::nullopt;
  std::string data(block);
  if (!Run(key, data, true)) return std::nullopt;
  return data;
}

std::optional<std::string> BlowfishEncipher(std::string_view key, std::string_view plain) {
  std::string data(plain);
  const std::size_t pad = kBlock - data.size() % kBlock;
  data.append(pad, static_cast<char>(pad));
  if (!Run(key, data, true)) return std::nullopt;
  return data;
}

std::optional<std::string> BlowfishDecipher(std::string_view key, std::string_view cipher) {
  if (cipher.empty()) return std::nullopt;
  std::string data(cipher);
  if (!Run(key, data, false)) return std::nullopt;
  const auto pad = static_cast<unsigned char>(data.back());
  if (pad == 0 || pad > kBlock) return std::nullopt;
  for (std::size_t i = data.size() - pad; i < data.size(); ++i)
    if (static_cast<unsigned char>(data[i]) != pad) return std::nullopt;
  data.resize(data.size() - pad);
  return data;
}

}  // namespace qv
