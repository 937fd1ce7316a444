// Lines written to standard output through a large buffer, for subcommands
// that print many names.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qv::cli {

class LineWriter {
 public:
  explicit LineWriter(std::FILE* out = stdout) : out_(out) { buffer_.reserve(kFlushAt + 256); }
  ~LineWriter() { Flush(); }
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  void Line(std::string_view text) {
    buffer_.append(text).push_back('\n');
    if (buffer_.size() >= kFlushAt) Flush();
  }
  // False when the output failed (a closed pipe, a full disk).
  bool Flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
      failed_ = true;
    buffer_.clear();
    if (std::fflush(out_) != 0) failed_ = true;
    return !failed_;
  }
  bool Failed() const { return failed_; }

 private:
  static constexpr std::size_t kFlushAt = 1 << 16;
  std::FILE* out_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace qv::cli
