// The pane under the domain list: the kept whois answer of the selected name
// under the heading "Raw Whois Data for " and the name, or a hint when
// nothing is selected or the list is empty.
#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

class QLabel;
class QPlainTextEdit;

namespace qv {

inline constexpr const char* kRawWhoisHeading = "Raw Whois Data for ";
inline constexpr const char* kRawWhoisNoSelectionText =
    "Select a domain in the list above to see it's raw whois data below.";
inline constexpr const char* kRawWhoisEmptyListText =
    "No domains in list.\r\n\r\nUse one of the  options (eg: 'Create Simple Domain Names...')\r\n"
    "under the 'Domain List' menu to add domain names to the program\r\nlist.\r\n\r\n"
    "Use the 'Lookup > Lookup All' menu option to lookup the\r\n"
    "domain names in the program list.";

// The whois text shown for a name: its answer file, cleaned as every reader
// cleans a stored answer, else `fallback` (the text a record carries in
// memory) cleaned the same way.
std::string RawWhoisTextOf(std::string_view domain, std::string_view fallback = {});

class RawWhoisPane : public QWidget {
  Q_OBJECT

 public:
  explicit RawWhoisPane(QWidget* parent = nullptr);

  void ShowNoSelection();
  void ShowEmptyList();
  void ShowName(const QString& name, const QString& whoisText);

  QString HeadingText() const;
  QString BodyText() const;
  QLabel* Heading() const { return heading_; }

 private:
  void SetBody(const QString& text);

  QLabel* heading_;
  QPlainTextEdit* body_;
};

}  // namespace qv
