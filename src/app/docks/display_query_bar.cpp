#include "app/docks/display_query_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include "platform/text.h"
#include "store/sql_queries.h"

CDisplayQueryBar::CDisplayQueryBar(QWidget* parent) : QToolBar(tr("SQL Display Query List"), parent) {
  setObjectName(QStringLiteral("DisplayQueryBar"));
  selector_ = new QComboBox(this);
  selector_->setMinimumContentsLength(18);
  selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  go_ = new QToolButton(this);
  go_->setText(tr("Go"));
  addWidget(new QLabel(tr("SQL Display Query List: "), this));
  addWidget(selector_);
  addWidget(go_);
  connect(go_, &QToolButton::clicked, this, [this] {
    if (selector_->currentIndex() >= 0) emit queryChosen(selector_->currentText());
  });
  Reload();
}

void CDisplayQueryBar::Reload() {
  const QString current = selector_->currentText();
  selector_->clear();
  for (const qv::QueryEntry& entry : qv::LoadQueries(qv::QueryKind::Display))
    selector_->addItem(qv::ToQString(entry.name), qv::ToQString(entry.comment));
  for (int i = 0; i < selector_->count(); ++i) selector_->setItemData(i, selector_->itemData(i), Qt::ToolTipRole);
  const int index = selector_->findText(current);
  selector_->setCurrentIndex(index >= 0 ? index : 0);
}
