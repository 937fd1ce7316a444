// The scratch list file ("NamePad.Txt") as the Domain Names panel loads it.
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "store/name_pad.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const qv::NamePad pad = qv::DecodeNamePad(qvfuzz::AsText(data, size));
  for (const qv::NamePadList& list : pad.lists) {
    if (list.entries.size() > qv::kNamePadMaxCount) std::abort();
    if (list.selected < -1 || (list.selected >= 0 && std::size_t(list.selected) >= list.entries.size()))
      std::abort();
  }
  // Whatever was read is written back and read again unchanged.
  if (qv::DecodeNamePad(qv::EncodeNamePad(pad)) != pad) std::abort();
  return 0;
}
