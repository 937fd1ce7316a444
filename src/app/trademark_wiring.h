// Hands the trademark search to the lookup engine: its start function, the
// gap after each request, the names to search again and the end of a run.
#pragma once

namespace qv {

class LookupEngine;
class TrademarkSearch;
struct WebCheckHooks;

// Sets `hooks.startTrademark` (the hooks are given to the engine after).
void ConnectTrademarkSearch(LookupEngine& engine, TrademarkSearch& search, WebCheckHooks& hooks);

}  // namespace qv
