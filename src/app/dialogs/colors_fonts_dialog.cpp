#include "app/dialogs/colors_fonts_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStandardItemModel>

#include "app/dialogs/ok_cancel_buttons.h"
#include "app/view/big_list_view.h"
#include "app/view/corvane_view.h"
#include "platform/text.h"

namespace {
constexpr int kMinRowHeight = 100;
constexpr int kMaxRowHeight = 300;
}  // namespace

CColorsFontsDialog::CColorsFontsDialog(const QString& section, QWidget* parent)
    : QDialog(parent), section_(section), look_(qv::ReadListLook(qv::ToStdString(section))) {
  setWindowTitle(tr("Colors & Fonts"));
  auto* font = new QPushButton(QStringLiteral("&Select Font..."), this);
  auto* color1 = new QPushButton(QStringLiteral("Select Row Color-&1..."), this);
  auto* color2 = new QPushButton(QStringLiteral("&Select Row Color-&2..."), this);
  connect(font, &QPushButton::clicked, this, &CColorsFontsDialog::ChooseFont);
  connect(color1, &QPushButton::clicked, this, [this] { ChooseRowColor(1); });
  connect(color2, &QPushButton::clicked, this, [this] { ChooseRowColor(2); });

  slider_ = new QSlider(Qt::Horizontal, this);
  slider_->setRange(kMinRowHeight, kMaxRowHeight);
  percent_ = new QLabel(this);
  connect(slider_, &QSlider::valueChanged, this, &CColorsFontsDialog::SetRowHeightPercent);

  // Row 0 is drawn in "Row Color-2" and row 1 in "Row Color-1", as in the list.
  preview_ = new CBigListView(section, this);
  auto* model = new QStandardItemModel(0, 2, this);
  model->setHorizontalHeaderLabels({QStringLiteral("#"), QStringLiteral("Domain")});
  model->appendRow({new QStandardItem(QStringLiteral("1")),
                    new QStandardItem(QStringLiteral("example.com (Row Color-2)"))});
  model->appendRow({new QStandardItem(QStringLiteral("2")),
                    new QStandardItem(QStringLiteral("example.net (Row Color-1)"))});
  preview_->setModel(model);
  preview_->setSelectionMode(QAbstractItemView::NoSelection);
  preview_->horizontalHeader()->setStretchLastSection(true);
  preview_->setColumnWidth(0, 40);

  auto* buttons = qv::OkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(font, 0, 0);
  layout->addWidget(color1, 0, 1);
  layout->addWidget(color2, 0, 2);
  layout->addWidget(new QLabel(QStringLiteral("The gap between rows (as % of text height)"), this), 1, 0, 1, 3);
  layout->addWidget(slider_, 2, 0, 1, 2);
  layout->addWidget(percent_, 2, 2);
  layout->addWidget(preview_, 3, 0, 1, 3);
  layout->addWidget(buttons, 4, 0, 1, 3);
  resize(480, 300);
  ShowLook();
}

void CColorsFontsDialog::ShowLook() {
  const QSignalBlocker block(slider_);
  slider_->setValue(look_.rowHeightPercent);
  percent_->setText(RowHeightText());
  preview_->SetLook(look_);
}

void CColorsFontsDialog::SetLook(const qv::ListLook& look) {
  look_ = look;
  ShowLook();
}

void CColorsFontsDialog::SetRowHeightPercent(int percent) {
  look_.rowHeightPercent = percent;
  ShowLook();
}

QString CColorsFontsDialog::RowHeightText() const {
  return QString::asprintf("%d%%", look_.rowHeightPercent);
}

void CColorsFontsDialog::ChooseFont() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, look_.Font(), this);
  if (!ok) return;
  look_.font = qv::FromQFont(font, look_.font);
  ShowLook();
}

void CColorsFontsDialog::ChooseRowColor(int which) {
  QColor& color = which == 1 ? look_.rowColor1 : look_.rowColor2;
  const QColor chosen = QColorDialog::getColor(color, this);
  if (!chosen.isValid()) return;
  color = chosen;
  ShowLook();
}

void CColorsFontsDialog::accept() {
  qv::WriteListLook(qv::ToStdString(section_), look_);
  QDialog::accept();
}

bool RunColorsFontsDialog(CCorvaneView& view) {
  CColorsFontsDialog dialog(view.ListView()->Section(), view.window());
  if (dialog.exec() != QDialog::Accepted) return false;
  view.ApplyListSettings();
  return true;
}
