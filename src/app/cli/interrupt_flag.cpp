#include "app/cli/interrupt_flag.h"

namespace qv::cli {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) { gInterrupted = 1; }

}  // namespace

InterruptFlag::InterruptFlag() {
  gInterrupted = 0;
  struct sigaction action {};
  action.sa_handler = &OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &previous_);
}

InterruptFlag::~InterruptFlag() { sigaction(SIGINT, &previous_, nullptr); }

bool InterruptFlag::IsSet() const { return gInterrupted != 0; }

}  // namespace qv::cli
