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
// written into its record; the list is read again at the end. Null when the
// document could not be made.
inline std::unique_ptr<CCorvaneDoc> MakeViewDocument(const QString& fileName, const std::vector<std::string>& names,
                                                     const std::vector<StoredValue>& values = {}) {
  auto doc = std::make_unique<CCorvaneDoc>();
  if (!doc->CreateNew(qv::ToQString(TempPath(fileName).string()), nullptr)) return nullptr;
  if (qv::AddDomainNames(doc->Database(), names).added != names.size()) return nullptr;
  for (const StoredValue& v : values)
    if (!EditRecord(doc->Database(), v.name, [&v](qv::DomainRecord& r) { r.Set(v.field, v.value); })) return nullptr;
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
