// End-to-end lookups through the engine with RDAP: a loopback HTTPS service
// (its certificate made and trusted by the test) for one test suffix and a
// loopback whois server for another; the fallback to whois, the registrar's
// service followed once, and the change log against the first snapshot.
#include <QTest>

#include "engine_fixture.h"
#include "lookup/answer_files.h"
#include "lookup/lookup_engine.h"
#include "lookup/lookup_settings.h"
#include "support/rdap_test_server.h"
#include "support/test_registry.h"
#include "support/whois_test_server.h"
#include "whois/rdap_directory.h"
#include "whois/whois_date.h"

using namespace qv;
using namespace enginetest;
using qvtest::HttpReply;
using qvtest::RdapTestServer;
using qvtest::WhoisTestServer;

namespace {

constexpr int kTickMs = 20;

// A domain object with the registrar, expiry and (when given) the link to
// the registrar's own service.
QByteArray DomainJson(const std::string& name, const std::string& registrar, const std::string& expiry,
                      const std::string& link = {}) {
  std::string json = R"({"objectClassName":"domain","ldhName":")" + name + R"(","handle":"H-)" + name +
                     R"(","status":["client transfer prohibited"],)"
                     R"("nameservers":[{"ldhName":"NS1.EXAMPLE.NET."},{"ldhName":"ns2.example.net"}],)"
                     R"("events":[{"eventAction":"registration","eventDate":"1999-03-04T05:06:07Z"},)"
                     R"({"eventAction":"expiration","eventDate":")" + expiry + R"("}],)"
                     R"("entities":[{"roles":["registrar"],"vcardArray":["vcard",[["fn",{},"text",")" +
                     registrar + R"("]]]}])";
  if (!link.empty()) json += R"(,"links":[{"rel":"related","type":"application/rdap+json","href":")" + link + R"("}])";
  return QByteArray::fromStdString(json + "}");
}

// The service key of a loopback RDAP server: no pause, four at once.
void PoliteAt(const RdapTestServer& server, int connections = 4) {
  PoliteServer("127.0.0.1:" + std::to_string(server.port()), 0, connections);
}

}  // namespace

class RdapFlowTest : public EngineTest {
  Q_OBJECT

 private slots:
  // "RDAP first": RDAP where the suffix has a service, whois for the other
  // suffix and for the name whose RDAP query failed; a 404 is a free name.
  void rdapFirstFillsBothSuffixes() {
    RdapTestServer rdap(RdapTestServer::Tls::Trusted, [](const QByteArray& path) {
      if (path.startsWith("/domain/alpha")) return RdapTestServer::Json(DomainJson("ALPHA.QVRDAP", "Rdap Registrar", "2030-08-13T04:00:00+0000"));
      if (path == "/domain/down.qvrdap") return HttpReply{503, "", {{"Retry-After", "0"}}, true};
      return RdapTestServer::NotFound();
    });
    WhoisTestServer whois(WhoisTestServer::Answer(RegisteredAnswer("BETA.QVTEST")));
    PointSuffixAt("qvtest", "127.0.0.1", whois.port());
    PointSuffixAt("qvrdap", "127.0.0.1", whois.port());
    StoreRdapUrlOfSuffix("qvrdap", rdap.stdUrl("/domain"));  // no trailing slash: one is added
    PoliteAt(rdap);
    std::vector<std::string> names = {"beta.qvtest", "free.qvrdap", "down.qvrdap"};
    for (int i = 0; i < 12; ++i) names.push_back("alpha" + std::to_string(i) + ".qvrdap");
    QVERIFY(NewEngine(kTickMs, names));
    LookUp(names);

    // What an RDAP answer gives each field is RdapAnswers' and
    // RecordUpdateTest's; here the answer reaches the record.
    const QStringList alpha = {"Registrar=Rdap Registrar", "Expiry Date=2030-08-13 00:00:00", "Availability=TAKEN",
                               QStringLiteral("Whois Source=127.0.0.1:%1").arg(rdap.port())};
    QCOMPARE(FieldsAsIn(Read(db_, "alpha3.qvrdap"), alpha), alpha);
    QVERIFY(LoadWhoisText("alpha3.qvrdap").starts_with("{\"objectClassName\":\"domain\""));

    QCOMPARE(Field(Read(db_, "free.qvrdap"), field::kAvailability), QStringLiteral("FREE"));
    for (const char* whoisName : {"beta.qvtest", "down.qvrdap"}) {
      const DomainRecord r = Read(db_, whoisName);
      QCOMPARE(Field(r, field::kRegistrar), QStringLiteral("Example Registrar LLC"));
      QCOMPARE(Field(r, field::kWhoisSource), QStringLiteral("127.0.0.1"));
    }
    whois.Finish();
    QCOMPARE(whois.queries().size(), std::size_t(2));  // beta and the fallback of down
    QCOMPARE(rdap.paths().size(), 14);
    QVERIFY(rdap.maxOpenConnections() <= 4);
    QVERIFY(!rdap.paths().contains(QStringLiteral("/domain/beta.qvtest")));
  }

  // A busy service that asks to wait: the name goes to whois, and so do the
  // names after it while the wait lasts.
  void busyServiceIsLeftAlone() {
    RdapTestServer rdap(RdapTestServer::Tls::Trusted,
                        [](const QByteArray&) { return HttpReply{429, "", {{"Retry-After", "120"}}, true}; });
    WhoisTestServer whois(WhoisTestServer::Answer(RegisteredAnswer("BUSY.QVRDAP")));
    PointSuffixAt("qvrdap", "127.0.0.1", whois.port());
    StoreRdapUrlOfSuffix("qvrdap", rdap.stdUrl("/domain/"));
    PoliteAt(rdap, 1);
    QVERIFY(NewEngine(kTickMs, {"busy1.qvrdap", "busy2.qvrdap", "busy3.qvrdap"}));
    LookUp({"busy1.qvrdap", "busy2.qvrdap", "busy3.qvrdap"});
    QCOMPARE(rdap.paths(), QStringList{"/domain/busy1.qvrdap"});
    whois.Finish();
    QCOMPARE(whois.queries().size(), std::size_t(3));
    QCOMPARE(Field(Read(db_, "busy3.qvrdap"), field::kRegistrar), QStringLiteral("Example Registrar LLC"));
  }

  // The registry's answer links to the registrar's service, which is asked
  // once (its own link back is not followed); the second run logs the
  // registrar's renewal against the snapshot taken before the registry.
  void registrarServiceFollowedOnce() {
    std::string registrarExpiry = "2029-01-02";
    RdapTestServer registrar(RdapTestServer::Tls::Trusted, [&](const QByteArray&) {
      return RdapTestServer::Json(DomainJson("gamma.qvrdap", "Registrar Two", registrarExpiry));
    });
    const std::string registrarLink = registrar.stdUrl("/rdap/domain/GAMMA.QVRDAP");
    RdapTestServer registry(RdapTestServer::Tls::Trusted, [&](const QByteArray&) {
      return RdapTestServer::Json(DomainJson("GAMMA.QVRDAP", "Registrar Two", "2030-08-13", registrarLink));
    });
    StoreRdapUrlOfSuffix("qvrdap", registry.stdUrl("/domain/"));
    PoliteAt(registry);
    PoliteAt(registrar);
    QVERIFY(NewEngine(kTickMs, {"gamma.qvrdap"}));
    LookUp({"gamma.qvrdap"});

    const QString registrarKey = QStringLiteral("127.0.0.1:%1").arg(registrar.port());
    const QStringList gamma = {"MultiLookup=yes", "Whois Server=" + registrarKey, "Whois Source=" + registrarKey,
                               "Expiry Date=2030-08-13 00:00:00", "Registrar Expiry=2029-01-02 00:00:00"};
    QCOMPARE(FieldsAsIn(Read(db_, "gamma.qvrdap"), gamma), gamma);
    QCOMPARE(registrar.paths(), QStringList{"/rdap/domain/GAMMA.QVRDAP"});
    QVERIFY(!std::filesystem::exists(log_));

    registrarExpiry = "2032-01-02";
    const Date lookedUpAt = Date::FromParts({2024, 6, 7, 8, 9, 10});
    engine_->Updater().SetClock([lookedUpAt] { return lookedUpAt; });
    LookUp({"gamma.qvrdap"});
    const std::string expected = "Domain: gamma.qvrdap, Lookup: " + DateTimeText(lookedUpAt) +
                                 "\r\n"
                                 "Registrar Expiry Date Different (Old:" + DateText(Date::FromYmd(2029, 1, 2)) +
                                 " New:" + DateText(Date::FromYmd(2032, 1, 2)) + ")\r\n"
                                 "\r\n";
    QCOMPARE(FileText(log_), expected);
    QCOMPARE(engine_->Alerts().size(), std::size_t(1));
    QCOMPARE(registry.paths().size(), 2);
    QCOMPARE(registrar.paths().size(), 2);
  }

  // "RDAP only": a failed query is retried at the service until it failed
  // four times, never sent to whois, and its reason is kept as the answer; a
  // suffix without a service says so without any traffic.
  void rdapOnly() {
    RdapTestServer rdap(RdapTestServer::Tls::Untrusted, [](const QByteArray&) { return RdapTestServer::NotFound(); });
    WhoisTestServer whois(WhoisTestServer::Answer(RegisteredAnswer("BETA.QVTEST")));
    PointSuffixAt("qvtest", "127.0.0.1", whois.port());
    PointSuffixAt("qvrdap", "127.0.0.1", whois.port());
    StoreRdapUrlOfSuffix("qvrdap", rdap.stdUrl("/domain/"));
    PoliteAt(rdap);
    SetLookupProtocolSetting(LookupProtocol::RdapOnly);
    QVERIFY(NewEngine(kTickMs, {"beta.qvtest", "delta.qvrdap"}));
    LookUp({"beta.qvtest", "delta.qvrdap"});

    QVERIFY(LoadWhoisText("beta.qvtest").starts_with("Whois Lookup Error: I don't know the RDAP service"));
    QCOMPARE(Field(Read(db_, "beta.qvtest"), field::kAvailability), QString());
    QCOMPARE(Field(Read(db_, "delta.qvrdap"), field::kAvailability), QString());
    QVERIFY(LoadWhoisText("delta.qvrdap").find("certificate was refused") != std::string::npos);
    whois.Finish();
    QCOMPARE(whois.connections(), 0);
    QCOMPARE(engine_->ServerStates().ServerFailCount("127.0.0.1:" + std::to_string(rdap.port())), 4);
  }
};

QV_TEST(RdapFlowTest)
#include "test_rdap_flow.moc"
