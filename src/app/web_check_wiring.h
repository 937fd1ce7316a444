// Hands the web checks to the lookup engine: the start functions of the
// home page and ping checks, the counters H and P, Stop's cancelling, and
// the automatic rescans for the idle path.
#pragma once

#include <functional>

namespace qv {

class LookupEngine;
class WebChecks;

// `runRescans` runs on the engine's idle path (may be empty).
void ConnectWebChecks(LookupEngine& engine, WebChecks& checks, std::function<void()> runRescans = {});

}  // namespace qv
