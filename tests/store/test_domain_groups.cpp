#include <QTest>

#include "store/add_names.h"
#include "store/database_connection.h"
#include "store/database_maintenance.h"
#include "store/domain_groups.h"
#include "store/domain_list.h"
#include "store/list_query.h"
#include "support/temp_folders.h"
#include "support/test_registry.h"

using namespace qv;

namespace {

const std::vector<std::string> kNames = {"alpha.com", "beta.net", "gamma.org", "delta.io"};

}  // namespace

class DomainGroupsTest : public QObject {
  Q_OBJECT

  DomainDatabase db_;
  std::string path_;

  QStringList Members(const std::string& code) {
    QStringList members;
    for (const std::string& name : kNames)
      if (IsGroupMember(db_, name, code)) members << QString::fromStdString(name);
    return members;
  }

 private slots:
  void init() {
    qvtest::FreshFolders();
    StoreUserGroupNames({"Top Names"});
    path_ = qvtest::TempPath("groups.qvl").string();
    const MaintenanceResult made = NewDocument(db_, path_);
    QVERIFY2(made.ok, made.message.c_str());
    QCOMPARE(AddDomainNames(db_, kNames).added, kNames.size());
  }
  void cleanup() { db_.SetPath({}); }

  // Adding counts only real changes, survives reopening, and the list query
  // of a group (built-in or the user's own) sees the group field.
  void membershipIsStoredAndListed() {
    const auto first = ChangeGroups(db_, {"alpha.com", "GAMMA.org", "notstored.com"},
                                    {kMostImportantGroupCode, "*TOPNAMES"}, true);
    QVERIFY2(first.error.empty(), first.error.c_str());
    QCOMPARE(first.changed, 4);
    QCOMPARE(ChangeGroups(db_, {"alpha.com"}, {kMostImportantGroupCode}, true).changed, 0);
    QVERIFY(SetGroupMembership(db_, "gamma.org", "*TOPNAMES", false));
    QVERIFY(!SetGroupMembership(db_, "gamma.org", "*TOPNAMES", false));

    db_.SetPath({});
    QVERIFY(OpenDocument(db_, path_).ok);
    QCOMPARE(Members(kMostImportantGroupCode), QStringList({"alpha.com", "gamma.org"}));
    QCOMPARE(Members("*TOPNAMES"), QStringList({"alpha.com"}));
    QVERIFY(RunListQuery(db_, GroupListQuery("*TOPNAMES")));
    QCOMPARE(GetListCount(), 1);
    QVERIFY(RunListQuery(db_, GroupListQuery(kMostImportantGroupCode)));
    QCOMPARE(GetListCount(), 2);
  }

  // Progress comes every kGroupProgressStep names; a cancel keeps the names
  // done before it.
  void cancelKeepsWhatWasDone() {
    std::vector<std::string> many;
    for (int i = 0; i < 50; ++i) many.push_back("n" + std::to_string(i) + ".com");
    QCOMPARE(AddDomainNames(db_, many).added, many.size());
    std::vector<int> calls;
    const auto r = ChangeGroups(db_, many, {"*BIZDOMAINS"}, true, [&](int done, int) {
      calls.push_back(done);
      return done < 40;
    });
    QVERIFY(r.cancelled);
    QCOMPARE(r.changed, 40);
    QCOMPARE(calls, std::vector<int>({0, 20, 40}));
    QVERIFY(IsGroupMember(db_, "n39.com", "*BIZDOMAINS"));
    QVERIFY(!IsGroupMember(db_, "n40.com", "*BIZDOMAINS"));
  }

  // A group without its field fails the whole change, saying how to add it.
  void missingFieldChangesNothing() {
    StoreUserGroupNames({"Top Names", "Later"});
    const auto r = ChangeGroups(db_, {"alpha.com"}, {"*BIZDOMAINS", "*LATER"}, true);
    QVERIFY(r.error.find("GRP_LATER") != std::string::npos);
    QVERIFY(r.error.find("Additional Domain Groups") != std::string::npos);
    QVERIFY(!IsGroupMember(db_, "alpha.com", "*BIZDOMAINS"));
  }
};

QV_TEST(DomainGroupsTest)
#include "test_domain_groups.moc"
