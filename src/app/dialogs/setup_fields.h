// Small helpers shared by the directory dialogs: text boxes that hold no more
// than the store keeps, and the conversions to the store's byte strings.
#pragma once

#include <QString>
#include <string>

class QLineEdit;
class QWidget;

namespace qv {

// A one-line box for a stored directory string (at most 254 bytes are kept).
QLineEdit* NewDirectoryTextBox(const std::string& value, QWidget* parent);

}  // namespace qv
