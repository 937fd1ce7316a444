// "Domain Properties": every offered column of one domain with its value as
// the list shows it, the groups the name belongs to, when it was looked up
// last, and its lock and manual-edit marks. The four registration dates can
// be changed by a double click: the changed date is written, and the record
// is marked as edited and locked so that lookups leave it alone.
#pragma once

#include <QDate>
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

#include "store/domain_record.h"

class CBigListView;
class CCorvaneDoc;
class CCorvaneView;
class QCheckBox;
class QLabel;
class QStandardItemModel;

class CDomainPropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  // Asks the user a question; the answer button.
  using Question = std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text)>;
  // Picks a new day for a date (nothing: cancelled; an invalid day: cleared).
  using DatePicker = std::function<std::optional<QDate>(QWidget* parent, const qv::Date& original)>;

  // `view` (may be null) has its row redrawn after a change; `row` is the
  // name's row in the list (for its row-number texts).
  CDomainPropertiesDialog(CCorvaneDoc& doc, CCorvaneView* view, const QString& name, int row,
                          QWidget* parent = nullptr);

  // Shows a message (a write that failed).
  using Message = std::function<void(QWidget* parent, const QString& text)>;

  void SetQuestion(Question question) { question_ = std::move(question); }
  void SetMessage(Message message) { tell_ = std::move(message); }
  void SetDatePicker(DatePicker picker) { picker_ = std::move(picker); }

  // The value shown for a property ("" when there is no such row).
  QString ValueOf(const QString& property) const;
  QStringList Properties() const;
  QString MemberOfText() const;
  QString LastLookupText() const;
  bool LockChecked() const;
  bool EditedChecked() const;
  CBigListView* PropertyList() const { return list_; }

  // True for the rows whose dates can be edited.
  static bool IsEditableDate(const QString& property);
  // The double click on a row: picks a day and applies it (EditDate).
  bool EditDateAt(int propertyRow);
  // Asks whether to change the date of `property` to `day` and, on Yes,
  // writes it, marks the record edited and locked, and redraws. False when
  // nothing was written (the same day, No, Cancel, or a failed write).
  bool EditDate(const QString& property, const QDate& day);

  // The question asked before a date is changed.
  static QString DateChangeQuestion(const QString& from, const QString& to);

  void accept() override;

 private:
  void Load();
  void FillValues();
  QString WriteFailedText() const;

  CCorvaneDoc& doc_;
  CCorvaneView* view_;
  QString name_;
  int row_;
  qv::DomainRecord record_;
  Question question_;
  Message tell_;
  DatePicker picker_;
  CBigListView* list_;
  QStandardItemModel* model_;
  QLabel* memberOf_;
  QLabel* lastLookup_;
  QCheckBox* lock_;
  QCheckBox* edited_;
};

// "Show domain properties" for the current name of the view (nothing happens
// without one).
void RunDomainPropertiesDialog(CCorvaneView& view);
