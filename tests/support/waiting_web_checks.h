// Web checks that are offered but never get going: every start reports that
// the check cannot start now, so the names wait in their queues. Header only,
// for the test programs that link the lookup engine.
#pragma once

#include <string>

#include "lookup/lookup_engine.h"

namespace qvtest {

inline qv::WebCheckHooks WaitingWebChecks() {
  qv::WebCheckHooks hooks;
  const auto cannotStart = [](const std::string&) { return false; };
  hooks.startPing = hooks.startHomePage = hooks.startLinkPopularity = hooks.startTrademark = cannotStart;
  return hooks;
}

}  // namespace qvtest
