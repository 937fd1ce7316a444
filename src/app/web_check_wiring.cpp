#include "app/web_check_wiring.h"

#include "app/trademark_wiring.h"
#include "lookup/lookup_engine.h"
#include "webcheck/web_checks.h"

namespace qv {

void ConnectWebChecks(LookupEngine& engine, WebChecks& checks, std::function<void()> runRescans) {
  WebChecks* c = &checks;
  WebCheckHooks hooks;
  hooks.startPing = [c](const std::string& name) { return c->StartPing(name); };
  hooks.startHomePage = [c](const std::string& name) { return c->StartHomePage(name); };
  hooks.startLinkPopularity = [c](const std::string& entry) { return c->LinkPopularity().Start(entry); };
  hooks.runningPings = [c] { return c->RunningPings(); };
  hooks.fetchJobTags = [c] { return c->FetchJobTags(); };
  hooks.cancelFetchJobs = [c] { c->CancelFetchJobs(); };
  hooks.cancelPings = [c] { c->CancelPings(); };
  hooks.runRescans = std::move(runRescans);
  ConnectTrademarkSearch(engine, checks.Trademark(), hooks);
  engine.SetWebCheckHooks(std::move(hooks));
}

}  // namespace qv
