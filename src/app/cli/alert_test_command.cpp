// `quorvel alert-test`: sends the test mail with the stored alert settings
// and prints the server's last reply. Exit status 0 when the server took the
// mail, 1 when it did not (the reason is printed), 2 for a usage error or
// settings that cannot send a mail.
#include <cstdio>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "lookup/alert_mailer.h"
#include "lookup/alert_settings.h"

namespace qv::cli {

int RunAlertTestCommand(const QStringList& args) {
  if (!args.isEmpty()) {
    std::fprintf(stderr, "quorvel alert-test: takes no arguments\nusage: quorvel alert-test\n");
    return kUsageError;
  }
  const AlertSettings settings = ReadAlertSettings();
  if (const std::string problem = TestMailProblem(settings); !problem.empty()) {
    std::fprintf(stderr, "quorvel alert-test: %s\n", problem.c_str());
    return kUsageError;
  }
  SmtpServer server;
  std::string problem;
  AlertServer(settings, server, problem);
  MailList list;
  MailOutcome outcome;
  QObject::connect(&list, &MailList::mailFinished, [&outcome](const MailOutcome& o) { outcome = o; });
  list.QueueAlertMail(AlertMailJob(settings, server, TestMailText()));
  list.StartMailJobs();
  list.WaitForSends(10 * kSmtpTimeoutMs);
  AppendMailTranscript(outcome.transcript);
  if (!outcome.sent) {
    std::printf("%s\n", outcome.result.reply.c_str());
    std::fprintf(stderr, "quorvel alert-test: the mail was not sent: %s\n", outcome.result.error.c_str());
    return 1;
  }
  std::printf("%s\n", outcome.result.reply.c_str());
  return 0;
}

}  // namespace qv::cli
