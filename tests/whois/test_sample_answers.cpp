// Real answers of today's registries against the values they state: every
// answer in tests/data/whois-answers gets the footer of the server the
// directory gives for its domain, exactly as the lookup worker stores it, and
// goes through the parse driver. Each stated value (registrar, creation,
// expiry and update dates, name servers, availability) counts as one case.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <map>

#include "platform/ascii.h"
#include "platform/text.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"
#include "whois/field_text.h"
#include "whois/server_directory.h"
#include "whois/whois_fields.h"

using namespace qv;

namespace {

// All stated values together must reach this share, and no single field may
// fall below the second. (Per field, 95% is out of reach while a few stated
// values stand on the source project's reading or on forms the rules leave
// alone: a .pl answer where the long-standing label "expiration date" finds
// the option's date before the renewal date, a .co.jp expiry written inside
// parentheses.)
constexpr double kRequiredShare = 0.95;
constexpr double kFieldFloor = 0.90;

struct Tally {
  int right = 0;
  int stated = 0;
};

QString IsoDate(bool found, const Date& d) {
  return found && d.IsValid() ? ToQString(d.ToIsoText().substr(0, 10)) : QStringLiteral("(none)");
}

// A value is compared as the program keeps it: the label's trim set ("- :.")
// takes a closing period off a registrar such as "Inc.", so both sides lose
// the characters that trimming removes at their ends.
QString Trimmed(const QString& s) {
  return ToQString(fieldtext::Trim(ToStdString(s), "- :.\t"));
}

QStringList Hosts(const std::vector<std::string>& hosts) {
  QStringList out;
  for (const std::string& h : hosts) out << ToQString(ToLowerAscii(h));
  return out;
}

class Comparison {
 public:
  void Check(const char* field, const QString& sample, const QJsonValue& stated, const QString& got) {
    if (stated.isNull() || stated.isUndefined()) return;
    QString want = stated.isBool() ? (stated.toBool() ? "FREE" : "TAKEN") : stated.toString();
    if (stated.isArray()) {
      QStringList list;
      for (const QJsonValue& v : stated.toArray()) list << v.toString();
      want = list.join(QLatin1Char(' '));
    }
    Tally& t = tallies_[field];
    ++t.stated;
    if (Trimmed(want) == Trimmed(got)) {
      ++t.right;
    } else {
      qInfo("  %s %s: stated \"%s\", read \"%s\"", qPrintable(sample), field, qPrintable(want), qPrintable(got));
    }
  }
  const std::map<std::string, Tally>& Tallies() const { return tallies_; }

 private:
  std::map<std::string, Tally> tallies_;
};

std::string StoredAnswer(const QString& folder, const QString& domain) {
  QFile file(folder + QStringLiteral("/answer.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray raw = file.readAll();
  std::string answer(raw.constData(), std::size_t(raw.size()));
  const std::string server = ServerForName(ToStdString(domain)).server;
  if (!server.empty()) answer += "\n[Whois Source: " + server + "]";
  return answer;
}

}  // namespace

class SampleAnswersTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { qvtest::FreshFolders(); }

  void statedValuesComeOut() {
    const QDir root(QStringLiteral(QV_TEST_DATA_DIR "/whois-answers"));
    const QStringList samples = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QVERIFY(samples.size() >= 80);
    Comparison cmp;
    for (const QString& name : samples) {
      const QString folder = root.filePath(name);
      QFile expectedFile(folder + QStringLiteral("/expected.json"));
      QVERIFY2(expectedFile.open(QIODevice::ReadOnly), qPrintable(name));
      const QJsonObject e = QJsonDocument::fromJson(expectedFile.readAll()).object();
      const std::string stored = StoredAnswer(folder, e.value("domain").toString());
      QVERIFY2(!stored.empty(), qPrintable(name));

      const WhoisFields f = ParseWhoisFields(stored);
      cmp.Check("available", name, e.value("available"), ToQString(f.availability));
      cmp.Check("registrar", name, e.value("registrar"), ToQString(f.registrar));
      cmp.Check("created", name, e.value("created"), IsoDate(f.createdFound, f.createdDate));
      cmp.Check("expires", name, e.value("expires"), IsoDate(f.expiryFound, f.expiryDate));
      cmp.Check("updated", name, e.value("updated"), IsoDate(f.updatedFound, f.updatedDate));
      cmp.Check("name_servers", name, e.value("name_servers"), Hosts(f.nameServers).join(QLatin1Char(' ')));
    }
    int right = 0, stated = 0;
    for (const auto& [field, t] : cmp.Tallies()) {
      qInfo("%-13s %3d of %3d right (%.1f%%)", field.c_str(), t.right, t.stated, 100.0 * t.right / t.stated);
      right += t.right;
      stated += t.stated;
    }
    qInfo("%-13s %3d of %3d right (%.1f%%)", "all", right, stated, 100.0 * right / stated);
    QVERIFY(right >= kRequiredShare * stated);
    for (const auto& [field, t] : cmp.Tallies()) QVERIFY2(t.right >= kFieldFloor * t.stated, field.c_str());
  }
};

QV_TEST(SampleAnswersTest)
#include "test_sample_answers.moc"
