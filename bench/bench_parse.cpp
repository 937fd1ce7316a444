// How many stored whois answers per second one core reads: every sample answer
// (with the source footer the lookup worker adds) is cleaned, given its
// verdict and run through the whole parse driver, many times over. Settings
// are read from a fresh temporary store, as on a first run.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "whois/availability.h"
#include "whois/normalise.h"
#include "whois/server_directory.h"
#include "whois/whois_fields.h"

using namespace qv;

namespace {

struct Sample {
  std::string stored;
  std::string token;
};

std::vector<Sample> LoadSamples() {
  std::vector<Sample> samples;
  const QDir root(QStringLiteral(QV_TEST_DATA_DIR "/whois-answers"));
  for (const QString& name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    QFile answer(root.filePath(name) + QStringLiteral("/answer.txt"));
    QFile expected(root.filePath(name) + QStringLiteral("/expected.json"));
    if (!answer.open(QIODevice::ReadOnly) || !expected.open(QIODevice::ReadOnly)) continue;
    const QByteArray raw = answer.readAll();
    const QString domain =
        QJsonDocument::fromJson(expected.readAll()).object().value("domain").toString();
    Sample s;
    s.stored.assign(raw.constData(), std::size_t(raw.size()));
    const std::string server = ServerForName(domain.toStdString()).server;
    if (!server.empty()) {
      s.stored += "\n[Whois Source: " + server + "]";
      s.token = WhoisServerRecord(server, true).tokenWhenFree;
    }
    samples.push_back(std::move(s));
  }
  return samples;
}

template <typename Work>
double AnswersPerSecond(const std::vector<Sample>& samples, int rounds, Work work) {
  QElapsedTimer timer;
  timer.start();
  std::size_t sink = 0;
  for (int r = 0; r < rounds; ++r)
    for (const Sample& s : samples) sink += work(s);
  const double seconds = double(timer.nsecsElapsed()) / 1e9;
  if (sink == 42) std::printf(" ");  // keeps the work from being optimised away
  return double(rounds) * double(samples.size()) / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path() + "/config");

  const std::vector<Sample> samples = LoadSamples();
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 40;
  std::printf("%zu sample answers, %d rounds\n", samples.size(), rounds);

  // The first round also stores each server's record once, as a first run
  // would; time the steady state after it.
  for (const Sample& s : samples) ParseWhoisFields(s.stored);

  const double driver = AnswersPerSecond(samples, rounds, [](const Sample& s) {
    return ParseWhoisFields(s.stored).nameServers.size();
  });
  std::printf("parse driver alone:                  %8.0f answers/s\n", driver);

  const double all = AnswersPerSecond(samples, rounds, [](const Sample& s) {
    std::size_t n = CleanWhoisText(s.stored).size();
    n += DecideAvailability(s.stored, s.token).size();
    return n + ParseWhoisFields(s.stored).nameServers.size();
  });
  std::printf("CleanWhoisText + verdict + driver:   %8.0f answers/s\n", all);

  std::string big;
  while (big.size() < (1u << 20)) big += "Name Server: ns1.example.com\nRegistrar: x\n-\n";
  big += "\n[Whois Source: whois.verisign-grs.com]";
  QElapsedTimer t;
  t.start();
  ParseWhoisFields(big);
  std::printf("one 1 MiB answer:                    %8.1f ms\n", double(t.nsecsElapsed()) / 1e6);
  return 0;
}
