// The .uk availability checker's one-line answer and its expansion into
// labelled lines, as cleaning does it for an answer from the checker.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "whois/dac_codes.h"
#include "whois/normalise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = qvfuzz::AsText(data, size);
  std::string expanded(text);
  qv::ExpandDacAnswer(expanded);
  const std::optional<std::string> direct = qv::ExpandedDacText(text);
  // Text that is no DAC answer is left as it is.
  if (!direct && expanded != text) std::abort();
  if (direct && expanded != *direct) std::abort();
  (void)qv::DacDateText(text.substr(0, 64));
  return 0;
}
