#include "store/name_pad.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/data_folder.h"

namespace qv {
namespace {

void PutUint(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

void PutString(std::string& out, std::string_view s) {
  const std::uint64_t n = s.size();
  if (n < 0xFF) {
    PutUint(out, n, 1);
  } else if (n < 0xFFFE) {
    PutUint(out, 0xFF, 1);
    PutUint(out, n, 2);
  } else {
    PutUint(out, 0xFF, 1);
    PutUint(out, 0xFFFF, 2);
    PutUint(out, n, 4);
  }
  out.append(s);
}

// Reads forward through a byte string; every read fails once the bytes run out.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool Uint(int width, std::uint64_t& value) {
    if (bytes_.size() - pos_ < std::size_t(width)) return false;
    value = 0;
    for (int i = 0; i < width; ++i)
      value |= std::uint64_t(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += std::size_t(width);
    return true;
  }

  bool String(std::string& s) {
    std::uint64_t n = 0;
    if (!Uint(1, n)) return false;
    if (n == 0xFF) {
      if (!Uint(2, n)) return false;
      if (n == 0xFFFF && !Uint(4, n)) return false;
    }
    if (bytes_.size() - pos_ < n) return false;  // promises more than is there
    s.assign(bytes_.substr(pos_, std::size_t(n)));
    pos_ += std::size_t(n);
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

// False when the bytes ended inside this list.
bool ReadList(Reader& in, NamePadList& list) {
  std::uint64_t count = 0, selected = 0;
  if (!in.Uint(4, count) || !in.Uint(4, selected)) return false;
  bool complete = true;
  for (std::uint64_t i = 0; i < count; ++i) {
    std::string s;
    if (!in.String(s)) {
      complete = false;
      break;
    }
    // Entries past the limit are read over, so the lists after them are found.
    if (i < kNamePadMaxCount) list.entries.push_back(std::move(s));
  }
  const auto index = static_cast<std::int32_t>(static_cast<std::uint32_t>(selected));
  list.selected = index >= 0 && std::size_t(index) < list.entries.size() ? index : -1;
  return complete;
}

}  // namespace

std::string EncodeNamePad(const NamePad& pad) {
  std::string out;
  for (const NamePadList& list : pad.lists) {
    const std::size_t count = std::min<std::size_t>(list.entries.size(), kNamePadMaxCount);
    const bool selectedKept = list.selected >= 0 && std::size_t(list.selected) < count;
    PutUint(out, count, 4);
    PutUint(out, static_cast<std::uint32_t>(selectedKept ? list.selected : -1), 4);
    for (std::size_t i = 0; i < count; ++i) PutString(out, list.entries[i]);
  }
  return out;
}

NamePad DecodeNamePad(std::string_view bytes) {
  NamePad pad;
  Reader in(bytes);
  for (NamePadList& list : pad.lists)
    if (!ReadList(in, list)) break;
  return pad;
}

std::filesystem::path NamePadPath() {
  const std::filesystem::path folder = DataFolder();
  return folder.empty() ? std::filesystem::path() : folder / kNamePadFileName;
}

NamePad LoadNamePad(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DecodeNamePad(bytes);
}

bool SaveNamePad(const NamePad& pad, const std::filesystem::path& path) {
  if (path.empty()) return false;
  std::filesystem::path temp = path;
  temp += ".tmp";
  const std::string bytes = EncodeNamePad(pad);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (!ec) return true;
  std::error_code ignored;
  std::filesystem::remove(temp, ignored);
  return false;
}

}  // namespace qv
