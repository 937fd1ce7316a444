// Groups and alert mail at scale:
//  - ChangeGroups over COUNT selected names (adding them to a group, then
//    removing them), in one transaction each; and how soon a cancel is
//    honoured (the longest gap between two progress calls, and the time from
//    the cancel to the end of the change, commit included);
//  - ALERTS alert items merged into one mail and sent to Debian's aiosmtpd on
//    loopback, timed from the idle moment to the server's 250, and checked
//    against what the server stored (every alert once, none twice).
//
//   bench_alerts [COUNT [ALERTS [ROUNDS]]]   (defaults 100000, 1000 and 3)
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "bench_support.h"
#include "lookup/alert_mailer.h"
#include "lookup/alert_settings.h"
#include "platform/app_identity.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_groups.h"

namespace {

using namespace qvbench;

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
  ::close(fd);
  return ntohs(a.sin_port);
}

bool Accepts(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(fd);
  return ok;
}

void BenchGroups(const std::string& root, long count, int rounds) {
  qv::DomainDatabase db;
  if (!qv::NewDocument(db, root + "/groups.qvl").ok) return;
  std::vector<std::string> names;
  for (long i = 0; i < count; ++i) names.push_back("name" + std::to_string(i) + ".com");
  qv::AddDomainNames(db, names);
  std::printf("ChangeGroups over %ld names:\n", count);
  for (int r = 0; r < rounds; ++r) {
    for (bool add : {true, false}) {
      const Clock::time_point start = Clock::now();
      const qv::GroupChangeResult result = qv::ChangeGroups(db, names, {qv::kMostImportantGroupCode}, add);
      std::printf("  %s: %.0f ms, %d changed%s\n", add ? "add   " : "remove", MsSince(start), result.changed,
                  result.error.empty() ? "" : result.error.c_str());
    }
  }
  // Cancel half-way: the longest gap between progress calls, and from the
  // cancel to the return (the commit of what was done included).
  Clock::time_point last = Clock::now(), cancelledAt;
  double longestGap = 0;
  const qv::GroupChangeResult result =
      qv::ChangeGroups(db, names, {qv::kMostImportantGroupCode}, true, [&](int done, int total) {
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
        if (done < total / 2) return true;
        cancelledAt = now;
        return false;
      });
  std::printf("  cancel at half: %d changed, longest gap between progress calls %.2f ms, "
              "cancel to return %.2f ms\n",
              result.changed, longestGap, MsSince(cancelledAt));
}

void BenchAlerts(const std::string& root, int alerts, int rounds) {
  const QString folder = QString::fromStdString(root) + "/mail";
  QDir().mkpath(folder);
  const int port = FreePort();
  QProcess server;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("PYTHONPATH", QStringLiteral(QV_TEST_DATA_DIR "/../support"));
  server.setProcessEnvironment(env);
  server.start("/usr/bin/python3", {"-m", "aiosmtpd", "-n", "-l", QString("127.0.0.1:%1").arg(port), "-c",
                                    "smtp_recorder.Recorder", folder});
  QDeadlineTimer ready(15000);
  while (!Accepts(port) && !ready.hasExpired()) QThread::msleep(50);
  if (!Accepts(port)) {
    std::printf("aiosmtpd did not start (python3-aiosmtpd installed?)\n");
    return;
  }
  qv::AlertSettings settings;
  settings.toEmail = "owner@beta.net";
  settings.smtp = "127.0.0.1:" + std::to_string(port);
  qv::WriteAlertSettings(settings);
  std::printf("%d alerts merged and mailed to aiosmtpd:\n", alerts);
  for (int r = 1; r <= rounds; ++r) {
    qv::AlertList list;
    qv::AlertMailer mailer(list);
    for (int i = 0; i < alerts; ++i)
      list.Add("Domain: name" + std::to_string(i) + ".com, Lookup: 12/06/2026 10:00:00\r\nExpires: " +
                   std::to_string(r),
               qv::Date::Now());
    std::string reply;
    QObject::connect(&mailer.Mails(), &qv::MailList::mailFinished,
                     [&reply](const qv::MailOutcome& o) { reply = o.result.reply; });
    const Clock::time_point start = Clock::now();
    mailer.SendAlerts();
    mailer.Mails().WaitForSends(30000);
    const double ms = MsSince(start);
    // What the server stored for this round: each alert exactly once.
    QFile f(folder + QString("/%1.json").arg(r, 6, 10, QChar('0')));
    f.open(QIODevice::ReadOnly);
    const QString content = QJsonDocument::fromJson(f.readAll()).object()["content"].toString();
    int once = 0;
    for (int i = 0; i < alerts; ++i)
      if (content.count(QString("Domain: name%1.com,").arg(i)) == 1) ++once;
    std::printf("  round %d: %.1f ms to \"%s\"; %d of %d alerts received once, %d mail(s)\n", r, ms,
                reply.c_str(), once, alerts, mailer.MailsSent());
  }
  server.terminate();
  server.waitForFinished(3000);
}

}  // namespace

int main(int argc, char** argv) {
  QTemporaryDir dir;
  UseTemporaryHome(dir);
  QCoreApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const long count = Arg(argc, argv, 1, 100000);
  const int alerts = int(Arg(argc, argv, 2, 1000));
  const int rounds = int(Arg(argc, argv, 3, 3));
  BenchGroups(dir.path().toStdString(), count, rounds);
  BenchAlerts(dir.path().toStdString(), alerts, rounds);
  return 0;
}
