#include "app/docks/quick_lookup_bar.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

CQuickLookupBar::CQuickLookupBar(QAction* lookupDomain, QWidget* parent)
    : QWidget(parent), box_(new QComboBox(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(new QLabel(tr("Domain:"), this));
  box_->setEditable(true);
  box_->setInsertPolicy(QComboBox::NoInsert);
  box_->setMinimumContentsLength(24);
  box_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  layout->addWidget(box_, 1);
  auto* button = new QToolButton(this);
  button->setDefaultAction(lookupDomain);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  layout->addWidget(button);
  connect(box_->lineEdit(), &QLineEdit::returnPressed, lookupDomain, [lookupDomain] {
    if (lookupDomain->isEnabled()) lookupDomain->trigger();
  });
  // A name picked from the history is shown in the list.
  connect(box_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    const QString text = box_->itemText(index).trimmed();
    if (!text.isEmpty() && !text.startsWith(QLatin1Char('$'))) emit nameChosen(text);
  });
}

QString CQuickLookupBar::DomainText() const { return box_->currentText().trimmed(); }
