#include "app/dialogs/setup_fields.h"

#include <QLineEdit>

#include "platform/settings_store.h"
#include "platform/text.h"

namespace qv {

QLineEdit* NewDirectoryTextBox(const std::string& value, QWidget* parent) {
  auto* box = new QLineEdit(ToQString(value), parent);
  box->setMaxLength(int(kDirectStringMax));
  return box;
}

}  // namespace qv
