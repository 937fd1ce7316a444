#include "app/dialogs/whois_tool_dialog.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>
#include <atomic>
#include <memory>

#include "app/dialogs/whois_tool_history.h"
#include "app/host_port.h"
#include "platform/text.h"
#include "whois/rdap_answer.h"
#include "whois/rdap_directory.h"
#include "whois/rdap_query.h"
#include "whois/whois_query.h"

namespace qv {
namespace {

// The tool waits this long for each piece of an answer.
constexpr int kToolTimeoutMs = 18000;

QComboBox* NewHistoryBox(std::string_view section, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxCount(kWhoisToolHistoryMax);
  box->addItems(LoadHistory(section));
  box->setCurrentIndex(box->count() > 0 ? 0 : -1);
  return box;
}

// Puts the box's text first in its history, stores it and shows the new list.
void Remember(QComboBox* box, std::string_view section) {
  const QString text = box->currentText().trimmed();
  const QStringList history = AddToHistory(LoadHistory(section), text);
  SaveHistory(section, history);
  box->clear();
  box->addItems(history);
  box->setEditText(text);
}

// What one query thread works on; shared with the thread so that closing the
// dialog early leaves the thread with valid data.
struct ToolQuery {
  std::string query;
  std::string server;
  int port = 43;
  std::string answer;
  bool ok = false;
};

std::atomic<int> queriesInFlight{0};

}  // namespace

int CWhoisToolDialog::QueriesInFlight() { return queriesInFlight.load(); }

QString WhoisToolShownText(const QString& answer) {
  QString shown;
  shown.reserve(answer.size() + answer.size() / 16);
  for (qsizetype i = 0; i < answer.size(); ++i) {
    const QChar c = answer[i];
    if (c == QLatin1Char('\r')) {
      shown += QLatin1String("\r\n");
      if (i + 1 < answer.size() && answer[i + 1] == QLatin1Char('\n')) ++i;
    } else if (c == QLatin1Char('\n')) {
      shown += QLatin1String("\r\n");
    } else {
      shown += c;
    }
  }
  return shown;
}

CWhoisToolDialog::CWhoisToolDialog(QWidget* parent, int port) : QDialog(parent), port_(port) {
  setWindowTitle(tr("Whois Lookup Tool (Diagnostic, Port 43)"));
  query_ = NewHistoryBox(kWhoisToolQueryListSection, this);
  server_ = NewHistoryBox(kWhoisToolServerListSection, this);
  protocol_ = new QComboBox(this);
  protocol_->addItems({tr("Whois (port 43)"), tr("RDAP")});
  go_ = new QPushButton(tr("Go >>"), this);
  go_->setDefault(true);
  answer_ = new QPlainTextEdit(this);
  answer_->setReadOnly(true);
  answer_->setLineWrapMode(QPlainTextEdit::NoWrap);
  answer_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  connect(go_, &QPushButton::clicked, this, &CWhoisToolDialog::OnGo);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(tr("Query:"), this), 0, 0);
  grid->addWidget(query_, 0, 1);
  grid->addWidget(new QLabel(tr("Whois server:"), this), 1, 0);
  grid->addWidget(server_, 1, 1);
  grid->addWidget(protocol_, 0, 2);
  grid->addWidget(go_, 1, 2);
  grid->addWidget(answer_, 2, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);
  resize(640, 480);
}

void CWhoisToolDialog::OnGo() {
  if (running_) return;
  const QString query = query_->currentText().trimmed();
  const QString server = server_->currentText().trimmed();
  if (protocol_->currentIndex() == 1 && !query.isEmpty()) {
    GoRdap(query, server);
    return;
  }
  if (query.isEmpty() || server.isEmpty()) {
    answer_->setPlainText(query.isEmpty() ? tr("Type the text to look up (a domain name) first.")
                                          : tr("Type the whois server to ask first (a host name, or "
                                               "host:port for a server on another port)."));
    return;
  }
  const std::optional<HostPort> target = ParseHostPort(server);
  if (!target) {
    answer_->setPlainText(tr("\"%1\" is not a server: use a host name, or host:port with a port "
                             "from 1 to 65535.").arg(server));
    return;
  }
  Remember(query_, kWhoisToolQueryListSection);
  Remember(server_, kWhoisToolServerListSection);

  auto job = std::make_shared<ToolQuery>();
  job->query = ToStdString(query);
  job->server = ToStdString(target->host);
  job->port = target->port.value_or(port_);
  running_ = true;
  go_->setEnabled(false);
  answer_->clear();

  QThread* thread = QThread::create([job] {
    job->ok = WhoisQuery(job->query, job->server, "", job->answer, job->port, kToolTimeoutMs);
  });
  // The thread object outlives the dialog when the dialog is closed early;
  // it deletes itself, and the connection to the dialog ends with the dialog.
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  ++queriesInFlight;
  connect(thread, &QObject::destroyed, [] { --queriesInFlight; });
  connect(thread, &QThread::finished, this,
          [this, job, server] { ShowAnswer(server, job->answer, job->ok); }, Qt::QueuedConnection);
  thread->start();
}

void CWhoisToolDialog::GoRdap(const QString& query, const QString& base) {
  const std::string name = ToStdString(query);
  const std::string baseUrl = base.isEmpty() ? RdapBaseUrlFor(name) : ToStdString(base);
  const std::string url = RdapQueryUrl(baseUrl, name);
  if (url.empty()) {
    answer_->setPlainText(baseUrl.empty()
                              ? tr("No RDAP service is known for \"%1\": type its base URL in the server box.").arg(query)
                              : tr("Cannot query \"%1\" at \"%2\": give a domain name and an https:// base URL.")
                                    .arg(query, ToQString(baseUrl)));
    return;
  }
  Remember(query_, kWhoisToolQueryListSection);
  if (!base.isEmpty()) Remember(server_, kWhoisToolServerListSection);
  auto job = std::make_shared<ToolQuery>();
  running_ = true;
  go_->setEnabled(false);
  answer_->clear();
  QThread* thread = QThread::create([job, url] {
    const RdapResult result = RdapQuery(url, kToolTimeoutMs);
    job->ok = result.outcome != RdapOutcome::Failed;
    job->answer = job->ok ? PrettyRdapAnswer(result.body) : url + "\n\n" + result.error;
  });
  connect(thread, &QThread::finished, thread, &QObject::deleteLater);
  ++queriesInFlight;
  connect(thread, &QObject::destroyed, [] { --queriesInFlight; });
  const QString shownUrl = ToQString(url);
  connect(thread, &QThread::finished, this,
          [this, job, shownUrl] { ShowAnswer(shownUrl, job->answer, job->ok); }, Qt::QueuedConnection);
  thread->start();
}

void CWhoisToolDialog::ShowAnswer(const QString& server, const std::string& answer, bool ok) {
  QString shown = WhoisToolShownText(ToQString(answer));
  if (!ok && shown.isEmpty()) shown = tr("No answer came from %1.").arg(server);
  answer_->setPlainText(shown);
  running_ = false;
  go_->setEnabled(true);
  emit answerShown();
}

}  // namespace qv
