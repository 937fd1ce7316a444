#include "app/trademark_wiring.h"

#include "lookup/lookup_engine.h"
#include "platform/text.h"
#include "webcheck/trademark_search.h"

namespace qv {

void ConnectTrademarkSearch(LookupEngine& engine, TrademarkSearch& search, WebCheckHooks& hooks) {
  LookupEngine* e = &engine;
  TrademarkSearch* s = &search;
  hooks.startTrademark = [s](const std::string& name) { return s->Start(name); };
  QObject::connect(s, &TrademarkSearch::requestEnded, e, [e](const Date& next) { e->SetTrademarkNextRequestTime(next); });
  QObject::connect(s, &TrademarkSearch::retryLater, e,
                   [e](const QString& name) { e->AddToQueue(QueueKind::Trademark, ToStdString(name)); });
  QObject::connect(e, &LookupEngine::idle, s, &TrademarkSearch::EndSeries);
  QObject::connect(s, &TrademarkSearch::queueAbandoned, e, [e, s] {
    for (const std::string& name : e->TakeQueue(QueueKind::Trademark)) s->Start(name);
  });
}

}  // namespace qv
