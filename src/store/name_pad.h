// The scratch list file "NamePad.Txt" in the per-user data folder: three
// string lists one after the other, the first being the "Domain Names" panel's
// free list, the other two kept for the document and written back unchanged.
//
// Each list, little-endian: a 32-bit unsigned count, a 32-bit signed index of
// the current entry (-1 for none), then count strings, each a length prefix and
// that many bytes. The prefix is one byte below 255; else 0xFF and a 16-bit
// length below 65534; else 0xFF, 0xFFFF and a 32-bit length.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr const char* kNamePadFileName = "NamePad.Txt";
// The most entries a list keeps: the file holds no more, and reading a longer
// list (from an older file) keeps the first ones and steps over the rest.
inline constexpr std::uint32_t kNamePadMaxCount = 64000;

struct NamePadList {
  std::vector<std::string> entries;
  std::int32_t selected = -1;
  bool operator==(const NamePadList&) const = default;
};

struct NamePad {
  std::array<NamePadList, 3> lists;
  bool operator==(const NamePad&) const = default;
};

std::string EncodeNamePad(const NamePad& pad);
// Never reads past the end of `bytes`: a file cut short or with a length that
// promises more than is there keeps the entries read up to that point and
// leaves the remaining lists empty. A selected index outside the entries read
// becomes -1.
NamePad DecodeNamePad(std::string_view bytes);

// The file in the data folder. A missing or unreadable file gives empty lists.
std::filesystem::path NamePadPath();
NamePad LoadNamePad(const std::filesystem::path& path = NamePadPath());
// Writes the whole file through a temporary file beside it, so a failed write
// leaves the previous file in place. False when it could not be written.
bool SaveNamePad(const NamePad& pad, const std::filesystem::path& path = NamePadPath());

}  // namespace qv
