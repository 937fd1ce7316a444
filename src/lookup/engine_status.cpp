// What the window shows of the engine: the status pane texts and the rows of
// the lookup queue bar.
#include <QString>

#include "lookup/lookup_engine.h"
#include "platform/text.h"
#include "store/domain_list.h"

namespace qv {
namespace {

QString Marked(const QString& text) { return QString::fromLatin1(kRunningRowMark) + text; }

QString FetchTagText(std::string tag) {
  const std::size_t colon = tag.find(':');
  if (colon != std::string::npos) tag.replace(colon, 1, ": ");
  return ToQString(tag);
}

}  // namespace

QString LookupEngine::StatusPaneText(int pane) const {
  if (pane < 0 || pane >= int(paneTexts_.size())) return {};
  return paneTexts_[std::size_t(pane)];
}

void LookupEngine::UpdateStatusPanes() {
  if (!Database()) return;
  const int queued = int(QueuedTotal());
  paneTexts_[kTotalPane] = QStringLiteral("Total: NA");
  paneTexts_[kDisplayPane] = QStringLiteral("Display: %1").arg(GetListCount());
  paneTexts_[kQueuePane] = QStringLiteral("Queue: %1").arg(queued);
  if (run_.total != 0) {
    const long long percent = (long long)run_.Done() * 100 / run_.total;
    if (percent < 100) paneTexts_[kQueuePane] = QStringLiteral("%1% Queued").arg(percent);
  }
  paneTexts_[kWorkPane] = QStringLiteral("W:%1 D:%2 H:%3 P:%4")
                              .arg(whoisJobs_.size())
                              .arg(dnsChecks_.Size())
                              .arg(FetchJobCount())
                              .arg(RunningPingCount());
  emit statusChanged();
}

int LookupEngine::QueueBarRowCount() const {
  return int(whoisJobs_.size() + QueuedTotal() + dnsChecks_.Size()) + FetchJobCount();
}

// Rows in order: whois jobs, the whois queue, DNS checks, the DNS queue, fetch
// jobs, then the trademark, home page, link popularity and ping queues.
QString LookupEngine::QueueBarRow(int row) const {
  if (row < 0) return {};
  std::size_t at = std::size_t(row);
  if (at < whoisJobs_.size()) {
    const WhoisJob& job = *whoisJobs_[at];
    return Marked(ToQString(job.server.empty() ? job.domain : job.domain + ":" + job.server));
  }
  at -= whoisJobs_.size();
  if (at < Queue(QueueKind::Whois).Size()) return ToQString(Queue(QueueKind::Whois).At(at));
  at -= Queue(QueueKind::Whois).Size();
  if (at < dnsChecks_.Size()) {
    const DnsCheck& check = dnsChecks_.At(at);
    const QString text = QStringLiteral("DNS: ") + ToQString(check.host());
    return check.IsStarted() ? Marked(text) : text;
  }
  at -= dnsChecks_.Size();
  if (at < Queue(QueueKind::Dns).Size())
    return QStringLiteral("DNS: ") + ToQString(Queue(QueueKind::Dns).At(at));
  at -= Queue(QueueKind::Dns).Size();
  if (hooks_.fetchJobTags) {
    const std::vector<std::string> tags = hooks_.fetchJobTags();
    if (at < tags.size()) return Marked(FetchTagText(tags[at]));
    at -= tags.size();
  }
  struct Tail {
    QueueKind kind;
    const char* suffix;
  };
  static constexpr Tail kTails[] = {{QueueKind::Trademark, ": TESS"},
                                    {QueueKind::HomePage, ": HTTP"},
                                    {QueueKind::LinkPopularity, ""},
                                    {QueueKind::Ping, ": Ping"}};
  for (const Tail& tail : kTails) {
    const LookupQueue& queue = Queue(tail.kind);
    if (at < queue.Size()) return ToQString(queue.At(at)) + QString::fromLatin1(tail.suffix);
    at -= queue.Size();
  }
  return {};
}

}  // namespace qv
