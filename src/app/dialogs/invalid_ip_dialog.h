// "Invalid IP Address List": the addresses to ignore when a minimum lookup
// tests whether a name resolves (wildcard answers of registries and
// resolvers for names that are not registered), one entry per line.
#pragma once

#include <QDialog>
#include <QString>

#include "lookup/invalid_ip_list.h"

class QPlainTextEdit;

namespace qv {
class LookupEngine;
}

class CInvalidIpDialog : public QDialog {
  Q_OBJECT

 public:
  CInvalidIpDialog(const qv::InvalidIpList& list, QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  // The list as the box now reads: cut at blanks, line ends, tabs, commas
  // and semicolons, without empty or repeated entries.
  qv::InvalidIpList List() const;

 private:
  QPlainTextEdit* text_;
};

// Shows the engine's list; OK replaces it and writes it to the store.
bool RunInvalidIpDialog(QWidget* parent, qv::LookupEngine& engine);
