// Helpers of the list view tests: a document made through CCorvaneDoc with
// names and field values, and pixel counting on a rendered list.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/corvane_doc.h"
#include "platform/text.h"
#include "store/add_names.h"
#include "store/domain_record.h"
#include "support/temp_folders.h"
#include "test_main_frame_support.h"

namespace qvtest {

struct StoredValue {
  std::string name;
  std::string field;
  qv::FieldValue value;
};

// A new document in the temporary folder with `names`, then each value
// written into its record; the list is read again at the end. A document that
// could not be made fails the test, and the (closed) document is still
// returned so that the test ends on its checks, not on a null pointer.
inline std::unique_ptr<CCorvaneDoc> MakeViewDocument(const QString& fileName, const std::vector<std::string>& names,
                                                     const std::vector<StoredValue>& values = {}) {
  auto doc = std::make_unique<CCorvaneDoc>();
  bool made = doc->CreateNew(qv::ToQString(TempPath(fileName).string()), nullptr) &&
              qv::AddDomainNames(doc->Database(), names).added == names.size();
  for (const StoredValue& v : values)
    made = made && EditRecord(doc->Database(), v.name, [&v](qv::DomainRecord& r) { r.Set(v.field, v.value); });
  if (!made) QTest::qFail(qPrintable("the document " + fileName + " could not be made"), __FILE__, __LINE__);
  doc->RefreshList();
  return doc;
}

// Pixels of exactly `colour` inside `rect` of `image`.
inline int CountColour(const QImage& image, const QColor& colour, const QRect& rect) {
  int n = 0;
  const QRect r = rect.intersected(image.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (image.pixelColor(x, y) == colour) ++n;
  return n;
}

}  // namespace qvtest
