// Draws the main window with a small sample document and saves it as a PNG.
// Run it offscreen, with the settings and data folders pointed at a scratch
// place (scripts/screenshot does both):
//
//   quorvel-screenshot SAMPLE.qvl OUT.png
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/exit_marker.h"
#include "app/main_frame.h"
#include "app/start_up.h"
#include "app/view/corvane_view.h"
#include "lookup/answer_files.h"
#include "platform/app_identity.h"
#include "platform/date.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"

namespace {

struct Sample {
  const char* name;
  const char* registrar;
  const char* status;
  int expiresInDays;  // 0: never looked up
  int createdYear;
};

// Twenty names, most looked up, a few expiring soon (drawn marked), one free.
const Sample kSamples[] = {
    {"acornfield.com", "Example Registrar, Inc.", "clientTransferProhibited", 210, 2004},
    {"bluewhisk.net", "Example Registrar, Inc.", "ok", 12, 2011},
    {"brightharbor.org", "Harbor Names LLC", "clientTransferProhibited", 400, 1999},
    {"cedarpost.com", "Harbor Names LLC", "ok", 95, 2016},
    {"copperlantern.co.uk", "Nominet Member Ltd", "Registered until expiry date.", 640, 2008},
    {"driftmeadow.com", "", "FREE", 0, 0},
    {"emberquill.io", "Island Domains Ltd", "ok", -3, 2019},
    {"fernbrook.info", "Example Registrar, Inc.", "ok", 150, 2013},
    {"glasspine.com", "Harbor Names LLC", "clientDeleteProhibited", 25, 2002},
    {"hollowcrest.net", "Example Registrar, Inc.", "ok", 330, 2010},
    {"ironkettle.com", "Island Domains Ltd", "ok", 720, 1998},
    {"juniperdock.org", "Harbor Names LLC", "ok", 58, 2015},
    {"kestrelway.com", "Example Registrar, Inc.", "clientTransferProhibited", 275, 2006},
    {"lanternfish.de", "", "", 0, 0},
    {"maplethread.com", "Harbor Names LLC", "ok", 188, 2012},
    {"northgable.net", "Island Domains Ltd", "ok", 7, 2020},
    {"oakensail.com", "Example Registrar, Inc.", "ok", 505, 2001},
    {"pebblecourt.org", "Harbor Names LLC", "ok", 366, 2009},
    {"quietorchard.com", "Example Registrar, Inc.", "clientTransferProhibited", 89, 2014},
    {"riverslate.net", "", "", 0, 0},
};

// The kept answer of the first name, with the dates of its record.
std::string SampleAnswer(const qv::Date& expiry, const qv::Date& created, const qv::Date& updated) {
  auto iso = [](const qv::Date& d) {
    std::string text = d.ToIsoText();  // "YYYY-MM-DD HH:MM:SS"
    if (text.size() > 10) text[10] = 'T';
    return text + "Z";
  };
  return "Domain Name: ACORNFIELD.COM\n"
         "Registry Domain ID: 1234567_DOMAIN_COM-VRSN\n"
         "Registrar WHOIS Server: whois.example-registrar.test\n"
         "Updated Date: " + iso(updated) + "\n"
         "Creation Date: " + iso(created) + "\n"
         "Registry Expiry Date: " + iso(expiry) + "\n"
         "Registrar: Example Registrar, Inc.\n"
         "Domain Status: clientTransferProhibited https://icann.org/epp#clientTransferProhibited\n"
         "Name Server: NS1.EXAMPLE-DNS.TEST\n"
         "Name Server: NS2.EXAMPLE-DNS.TEST\n"
         "DNSSEC: unsigned\n"
         "\n[Whois Source: whois.verisign-grs.com]";
}

bool MakeSampleDocument(const std::string& path) {
  qv::DomainDatabase db;
  if (!qv::NewDocument(db, path).ok) return false;
  std::vector<std::string> names;
  for (const Sample& s : kSamples) names.push_back(s.name);
  if (qv::AddDomainNames(db, names).added != names.size()) return false;
  const qv::Date today = qv::Date::FromDays(double(long(qv::Date::Now().days())));  // midnight
  for (const Sample& s : kSamples) {
    qv::DomainRecord record;
    if (!db.ReadRecord(s.name, record)) return false;
    record.SetText("Registrar", s.registrar);
    record.SetText("Status", s.status);
    if (s.expiresInDays != 0) {
      record.SetDate("Expiry Date", today.AddDays(s.expiresInDays));
      record.SetDate("Registrar Expiry", today.AddDays(s.expiresInDays));
      record.SetDate("Created On", qv::Date::FromYmd(s.createdYear, 6, 21));
      record.SetDate("Last Update", today.AddDays(-40));
      record.SetDate("Last Checked At", today.AddDays(-1));
      record.SetText("Availability", "TAKEN");
    } else if (std::string(s.status) == "FREE") {
      record.SetDate("Last Checked At", today.AddDays(-1));
      record.SetText("Availability", "FREE");
    }
    if (!db.WriteRecord(record)) return false;
  }
  const Sample& first = kSamples[0];
  qv::SaveWhoisText(first.name, SampleAnswer(today.AddDays(first.expiresInDays),
                                             qv::Date::FromYmd(first.createdYear, 6, 21),
                                             today.AddDays(-40)));
  db.CloseAll();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorvel-screenshot SAMPLE.qvl OUT.png\n");
    return 2;
  }
  QApplication app(argc, argv);
  qv::InitApplicationIdentity();
  const std::string documentPath = argv[1];
  const QString outPath = QString::fromLocal8Bit(argv[2]);
  if (!MakeSampleDocument(documentPath)) {
    std::fprintf(stderr, "quorvel-screenshot: could not make the sample document %s\n", argv[1]);
    return 1;
  }

  // A list pane tall enough to show most of the sample under the whois pane.
  qv::WriteProfileInt(qv::kSettingsSection, "Domain List View Top", 400);
  qv::WriteProfileInt(qv::kSettingsSection, "Domain List View Bottom", 190);

  qv::StartUpOptions options = qv::PrepareStartUp({qv::ToQString(documentPath)});
  CMainFrame frame(options);
  if (!frame.StartedUp() || !frame.View()) {
    std::fprintf(stderr, "quorvel-screenshot: the main window did not start\n");
    return 1;
  }
  frame.resize(1180, 860);
  frame.show();
  frame.View()->SelectName(QString::fromLatin1(kSamples[0].name));

  int status = 1;
  // Let the window lay itself out and paint once before it is grabbed.
  QTimer::singleShot(300, &frame, [&] {
    const QPixmap shot = frame.grab();
    if (!shot.isNull() && shot.save(outPath, "PNG")) {
      std::printf("%s: %dx%d\n", qPrintable(outPath), shot.width(), shot.height());
      status = 0;
    } else {
      std::fprintf(stderr, "quorvel-screenshot: could not write %s\n", qPrintable(outPath));
    }
    frame.close();
    app.quit();
  });
  app.exec();
  qv::RemoveExitMarker(options.exitMarker);
  return status;
}
