// Lines written to standard output through a large buffer, for subcommands
// that print many names.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace qv::cli {

class LineWriter {
 public:
  explicit LineWriter(std::FILE* out = stdout) : out_(out), buffer_(new char[kSize]) {}
  ~LineWriter() { Flush(); }
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  void Line(std::string_view text) {
    if (used_ + text.size() + 1 > kSize) {
      Write();
      if (text.size() + 1 > kSize) {  // a line longer than the buffer goes out alone
        Put(text.data(), text.size());
        Put("\n", 1);
        return;
      }
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
    buffer_[used_++] = '\n';
  }
  // False when the output failed (a closed pipe, a full disk).
  bool Flush() {
    Write();
    if (std::fflush(out_) != 0) failed_ = true;
    return !failed_;
  }
  bool Failed() const { return failed_; }

 private:
  void Write() {
    Put(buffer_.get(), used_);
    used_ = 0;
  }
  void Put(const char* data, std::size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, out_) != size) failed_ = true;
  }

  static constexpr std::size_t kSize = 1 << 16;
  std::FILE* out_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace qv::cli
