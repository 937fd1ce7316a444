// The display query bar: "SQL Display Query List: ", a selector of the stored
// display queries and "Go", which makes the chosen query the list query.
#pragma once

#include <QToolBar>
#include <functional>
#include <string>

class QComboBox;
class QToolButton;

class CDisplayQueryBar : public QToolBar {
  Q_OBJECT

 public:
  explicit CDisplayQueryBar(QWidget* parent = nullptr);

  // Reads the stored display queries again, keeping the chosen name.
  void Reload();
  QComboBox* Selector() const { return selector_; }
  QToolButton* GoButton() const { return go_; }

 signals:
  // "Go" with the chosen query's name.
  void queryChosen(QString name);

 private:
  QComboBox* selector_ = nullptr;
  QToolButton* go_ = nullptr;
};
