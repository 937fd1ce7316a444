// `quorvel parse [--server HOST] FILE`: reads one whois answer and prints the
// values the program takes out of it as one JSON object.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cstdio>

#include "app/cli/command.h"
#include "app/cli/commands.h"
#include "platform/ascii.h"
#include "platform/text.h"
#include "whois/normalise.h"
#include "whois/whois_fields.h"

namespace qv::cli {
namespace {

struct ParseArgs {
  QString server;
  QString file;
};

bool ReadArgs(const QStringList& args, ParseArgs& out) {
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--server")) {
      if (i + 1 >= args.size()) return false;
      out.server = args[++i];
    } else if (out.file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
      out.file = args[i];
    } else {
      return false;
    }
  }
  return !out.file.isEmpty();
}

QJsonValue Text(std::string_view s) { return ToQString(s); }

QJsonValue DateValue(bool found, const Date& date) {
  if (!found || !date.IsValid()) return QJsonValue::Null;
  const DateParts p = date.Parts();
  return QString::asprintf("%04d-%02d-%02d", p.year, p.month, p.day);
}

QJsonObject ToJson(const WhoisFields& f) {
  QJsonArray servers;
  for (const std::string& host : f.nameServers)
    servers.append(ToQString(ToLowerAscii(host)));
  QJsonObject o;
  o[QStringLiteral("source")] = Text(f.source);
  o[QStringLiteral("availability")] = Text(f.availability);
  o[QStringLiteral("status")] = Text(f.status);
  o[QStringLiteral("registrar")] = Text(f.registrar);
  o[QStringLiteral("domain_id")] = Text(f.domainId);
  o[QStringLiteral("referral_server")] = Text(f.referralServer);
  o[QStringLiteral("created")] = DateValue(f.createdFound, f.createdDate);
  o[QStringLiteral("expires")] = DateValue(f.expiryFound, f.expiryDate);
  o[QStringLiteral("updated")] = DateValue(f.updatedFound, f.updatedDate);
  o[QStringLiteral("name_servers")] = servers;
  o[QStringLiteral("admin_email")] = Text(f.adminEmail);
  o[QStringLiteral("tech_email")] = Text(f.techEmail);
  o[QStringLiteral("billing_email")] = Text(f.billingEmail);
  o[QStringLiteral("owner_email")] = Text(f.ownerEmail);
  o[QStringLiteral("owner_name")] = Text(f.ownerName);
  o[QStringLiteral("date_order")] = Text(f.dateOrder);
  return o;
}

constexpr qint64 kMaxParsedAnswer = 16 << 20;

}  // namespace

int RunParseCommand(const QStringList& args) {
  ParseArgs a;
  if (!ReadArgs(args, a)) {
    std::fprintf(stderr, "usage: quorvel parse [--server HOST] FILE\n");
    return kUsageError;
  }
  QFile file(a.file);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "quorvel parse: cannot read %s: %s\n", qPrintable(a.file),
                 qPrintable(file.errorString()));
    return 2;
  }
  // Whois answers are small; a file (or pipe) larger than any answer is not one,
  // and reading it whole could exhaust memory.
  const QByteArray bytes = file.read(kMaxParsedAnswer + 1);
  if (bytes.size() > kMaxParsedAnswer) {
    std::fprintf(stderr, "quorvel parse: %s is larger than 16 MiB; that is not a whois answer\n",
                 qPrintable(a.file));
    return 1;
  }
  if (file.error() != QFileDevice::NoError) {
    std::fprintf(stderr, "quorvel parse: cannot read %s: %s\n", qPrintable(a.file),
                 qPrintable(file.errorString()));
    return 1;
  }
  std::string answer(bytes.constData(), std::size_t(bytes.size()));
  // As the lookup worker stores it: the server's text, then the source footer.
  if (!a.server.isEmpty() && answer.find(kWhoisSourceTag) == std::string::npos)
    answer += "\n" + std::string(kWhoisSourceTag) + ToStdString(a.server) + "]";
  const WhoisFields fields = ParseWhoisFields(answer);
  const QByteArray json = QJsonDocument(ToJson(fields)).toJson(QJsonDocument::Indented);
  std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
  return 0;
}

}  // namespace qv::cli
