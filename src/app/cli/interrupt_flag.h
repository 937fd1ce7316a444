// Ctrl-C for a subcommand that runs a long job: while an InterruptFlag lives,
// SIGINT sets it instead of killing the process, so the job can stop at its
// next check and the command can end cleanly. The previous handling of SIGINT
// comes back when the flag goes.
#pragma once

#include <csignal>

namespace qv::cli {

class InterruptFlag {
 public:
  InterruptFlag();
  ~InterruptFlag();
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;

  bool IsSet() const;

 private:
  struct sigaction previous_ {};
};

}  // namespace qv::cli
