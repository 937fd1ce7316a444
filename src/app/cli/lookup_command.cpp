// `quorvel lookup DOC [--whois] [--dns] [--ping] [--http] [--pop] [--tm] [--tick MS] [--query NAME] [NAME...]`:
// runs the lookup engine without windows on a document: the named names (the
// names a stored query selects with --query, all stored names when neither is
// given) are queued as the "Selected Domains" commands queue
// them, the scheduler ticks until nothing is queued or running, and the
// counts of names looked up, answered and failed are printed (only the kinds
// asked for count; a name fails when the last result of one of them was a
// failure). Without any kind option whois and DNS run. Locked names and names
// the document does not hold are skipped with a note. When the system allows
// no ping, that is said once on stderr and no ping result is stored. --tm
// counts the trademark records of each name at the site `Tess Host` names;
// without one the check is skipped, which is said once on stderr. --pop asks
// each link popularity service that has an address in the settings; the
// services without one are named once on stderr, and a name fails when a
// service it was asked of gave no count.
//
// The tick period is the program's 6000 ms; --tick or the environment
// variable QUORVEL_TICK_MS sets another (tests use a short one). A --query
// name is looked for among the lookup queries, then among the display queries.
//
// When the alert settings name a server and a recipient, the alerts the run
// raised (changes of the registration data) are mailed before the command
// ends, and it says how many ("N alerts mailed"); the exit status is 1 when
// a mail could not be sent.
#include <QCoreApplication>
#include <QEventLoop>
#include <QStringList>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "app/cli/terminal_output.h"
#include "app/web_check_wiring.h"
#include "lookup/alert_mailer.h"
#include "lookup/lookup_engine.h"
#include "platform/text.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_list.h"
#include "store/domain_record.h"
#include "store/list_query.h"
#include "store/sql_queries.h"
#include "webcheck/fetch_job_list.h"
#include "webcheck/link_popularity_check.h"
#include "webcheck/web_checks.h"

namespace qv::cli {
namespace {

constexpr const char* kTickVariable = "QUORVEL_TICK_MS";

int LookupUsage(const char* message) {
  std::fprintf(stderr,
               "quorvel lookup: %s\n"
               "usage: quorvel lookup DOC [--whois] [--dns] [--ping] [--http] [--pop] [--tm] [--tick MS] [--query NAME] "
               "[NAME...]\n",
               message);
  return kUsageError;
}

struct LookupOptions {
  QString doc;
  bool whois = false;
  bool dns = false;
  bool ping = false;
  bool http = false;
  bool pop = false;
  bool tm = false;
  int tickMs = kSchedulerTickMs;
  QString query;
  std::vector<std::string> names;
};

bool ParseTick(const QString& text, int& tickMs) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 1) return false;
  tickMs = value;
  return true;
}

const char* ParseArguments(const QStringList& args, LookupOptions& o) {
  const QByteArray fromEnvironment = qgetenv(kTickVariable);
  if (!fromEnvironment.isEmpty() && !ParseTick(QString::fromLatin1(fromEnvironment), o.tickMs))
    return "QUORVEL_TICK_MS must be a number of milliseconds";
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--whois")) {
      o.whois = true;
    } else if (arg == QLatin1String("--dns")) {
      o.dns = true;
    } else if (arg == QLatin1String("--ping")) {
      o.ping = true;
    } else if (arg == QLatin1String("--http")) {
      o.http = true;
    } else if (arg == QLatin1String("--pop")) {
      o.pop = true;
    } else if (arg == QLatin1String("--tm")) {
      o.tm = true;
    } else if (arg == QLatin1String("--tick")) {
      if (i + 1 >= args.size() || !ParseTick(args[++i], o.tickMs))
        return "--tick needs a number of milliseconds";
    } else if (arg == QLatin1String("--query")) {
      if (i + 1 >= args.size() || args[i + 1].trimmed().isEmpty()) return "--query needs the name of a stored query";
      o.query = args[++i].trimmed();
    } else if (arg.startsWith(QLatin1String("--"))) {
      return "unknown option";
    } else if (o.doc.isEmpty()) {
      o.doc = arg;
    } else {
      o.names.push_back(ToStdString(arg.trimmed()));
    }
  }
  if (o.doc.isEmpty()) return "a document is needed";
  if (!o.query.isEmpty() && !o.names.empty()) return "names and --query cannot be used together";
  if (!o.whois && !o.dns && !o.ping && !o.http && !o.pop && !o.tm) o.whois = o.dns = true;
  return nullptr;
}

std::vector<std::string> AllStoredNames(DomainDatabase& db) {
  std::vector<std::string> names;
  DomainList list;
  if (!db.OpenReadOnly(db.list()) || !list.Load(db.list(), AllDomainsQuery())) return names;
  names.reserve(std::size_t(list.Count()));
  for (int i = 0; i < list.Count(); ++i) names.emplace_back(list.NameAt(i));
  return names;
}

// The names a stored query selects; false (said on stderr) when there is no
// such query or it fails.
bool QueryNames(DomainDatabase& db, const QString& queryName, std::vector<std::string>& names) {
  const std::string name = ToStdString(queryName);
  std::string sql = GetLookupQuerySql(name);
  if (sql.empty()) sql = GetDisplayQuerySql(name);
  if (sql.empty()) {
    std::fprintf(stderr, "quorvel lookup: no stored query is named \"%s\"\n", name.c_str());
    return false;
  }
  std::string error;
  const int count = RunLookupQuery(db, sql, &error);
  if (count < 0) {
    PrintError(error);
    return false;
  }
  for (int i = 0; i < count; ++i) names.push_back(GetDomainAt(i));
  FilterList().Clear();
  return true;
}

// Queues each name that is stored and not locked; returns how many were.
int QueueNames(LookupEngine& engine, DomainDatabase& db, const LookupOptions& o,
               const std::vector<std::string>& names) {
  int queued = 0;
  for (const std::string& name : names) {
    DomainRecord record;
    if (!db.ReadRecord(name, record)) {
      std::fprintf(stderr, "quorvel lookup: %s is not in the document, skipped\n", name.c_str());
      continue;
    }
    if (record.Locked()) {
      std::fprintf(stderr, "quorvel lookup: %s is locked, skipped\n", name.c_str());
      continue;
    }
    bool any = false;
    if (o.whois) any = engine.QueueWhoisIfDue(record.Domain(), 0) || any;
    if (o.dns) any = engine.QueueDns(record.Domain()) || any;
    if (o.ping) any = engine.QueuePing(record.Domain()) || any;
    if (o.http) any = engine.QueueHomePage(record.Domain()) || any;
    if (o.pop) any = engine.QueueLinkPopularity(record.Domain()) || any;
    if (o.tm) any = engine.QueueTrademark(record.Domain()) || any;
    if (any) ++queued;
  }
  return queued;
}

// The last result of each kind of lookup for each name (each link
// popularity service counts as a kind of its own): a name counts as failed
// when the last result of one of its kinds was a failure (a lookup that
// failed and then succeeded on a retry is answered).
struct Tally {
  std::map<std::string, std::map<QString, bool>, NoCaseLess> last;
  void Note(const QString& kind, const QString& name, bool answered) { last[ToStdString(name)][kind] = answered; }
  int LookedUp() const { return int(last.size()); }
  int Failed() const {
    int failed = 0;
    for (const auto& [name, kinds] : last)
      for (const auto& [kind, answered] : kinds)
        if (!answered) {
          ++failed;
          break;
        }
    return failed;
  }
};

// With the alert settings made: sends what is still pending, waits for every
// mail and says how many alerts went out, and why a mail did not. False when
// a mail could not be sent.
bool ReportAlerts(AlertMailer& mailer, const std::string& mailError) {
  const AlertSettings settings = ReadAlertSettings();
  if (settings.smtp.empty() || settings.toEmail.empty()) return true;
  mailer.SendAlerts();
  mailer.Mails().WaitForSends(10 * kSmtpTimeoutMs);
  std::printf("%d alerts mailed\n", mailer.AlertsMailed());
  if (mailError.empty()) return true;
  std::printf("alert mail not sent: %s\n", mailError.c_str());
  return false;
}

}  // namespace

int RunLookupCommand(const QStringList& args) {
  LookupOptions options;
  if (const char* error = ParseArguments(args, options)) return LookupUsage(error);

  DomainDatabase db;
  if (!OpenDocumentOrReport(db, options.doc)) return 1;
  LookupEngine engine(&db, options.tickMs);
  AlertMailer mailer(engine.Alerts());
  engine.SetAlertSender([&mailer] { mailer.SendAlerts(); });
  std::string mailError;
  QObject::connect(&mailer.Mails(), &MailList::mailFinished, [&mailError](const MailOutcome& outcome) {
    mailError = outcome.sent ? std::string() : outcome.result.error;
  });
  Tally tally;
  // Only the kinds asked for are counted (`Auto DNS Lookup` may add DNS
  // checks to a whois run).
  if (options.whois)
    QObject::connect(&engine, &LookupEngine::whoisCompleted,
                     [&tally](const QString& name, bool answered) { tally.Note(QStringLiteral("whois"), name, answered); });
  if (options.dns)
    QObject::connect(&engine, &LookupEngine::dnsCompleted, [&tally](const QString& name, const QString& address) {
      tally.Note(QStringLiteral("dns"), name, address != QLatin1String(kDnsErrorAddress));
    });

  WebChecks checks([&db]() -> DomainDatabase* { return &db; });
  ConnectWebChecks(engine, checks);
  if (options.ping)
    QObject::connect(&checks, &WebChecks::pingChecked,
                     [&tally](const QString& name, bool replied) { tally.Note(QStringLiteral("ping"), name, replied); });
  if (options.http)
    QObject::connect(&checks, &WebChecks::homePageChecked,
                     [&tally](const QString& name, bool ok) { tally.Note(QStringLiteral("http"), name, ok); });
  if (options.tm)
    QObject::connect(&checks.Trademark(), &TrademarkSearch::trademarkChecked,
                     [&tally](const QString& name, bool counted) { tally.Note(QStringLiteral("tm"), name, counted); });
  const auto say = [](const QString& text) {
    std::fprintf(stderr, "quorvel lookup: %s\n", text.toLocal8Bit().constData());
  };
  QObject::connect(&checks, &WebChecks::pingUnavailable, say);
  if (options.pop)
    QObject::connect(&checks.LinkPopularity(), &LinkPopularityCheck::sitePopChecked,
                     [&tally](const QString& name, const QString& service, bool stored) {
                       tally.Note(QStringLiteral("pop ") + service, name, stored);
                     });
  QObject::connect(&checks.Trademark(), &TrademarkSearch::statusText, say);
  QObject::connect(&checks.LinkPopularity(), &LinkPopularityCheck::servicesNotConfigured, say);

  std::vector<std::string> names = options.names;
  if (!options.query.isEmpty()) {
    if (!QueryNames(db, options.query, names)) return 1;
  } else if (names.empty()) {
    names = AllStoredNames(db);
  }
  QueueNames(engine, db, options, names);

  QEventLoop loop;
  // Pings are not part of the engine's idle test: the run also waits for them.
  const auto finished = [&engine, &checks] { return engine.IsIdle() && checks.RunningPings() == 0; };
  QObject::connect(&engine, &LookupEngine::idle, &loop, [&loop, finished] {
    if (finished()) loop.quit();
  });
  engine.SchedulerTick();
  if (!finished()) {
    engine.StartTimer();
    loop.exec();
    engine.StopTimer();
  }
  // The last ping results were posted before their workers counted down.
  QCoreApplication::sendPostedEvents();
  FetchJobList::Instance().PurgeAtExit();
  const int failed = tally.Failed();
  const int lookedUp = tally.LookedUp();
  std::printf("%d names looked up, %d answered, %d failed\n", lookedUp, lookedUp - failed, failed);
  const bool mailed = ReportAlerts(mailer, mailError);
  std::fflush(stdout);
  return mailed ? 0 : 1;
}

}  // namespace qv::cli
