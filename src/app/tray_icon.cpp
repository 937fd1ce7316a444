#include "app/tray_icon.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/program_icon.h"

CTrayIcon::CTrayIcon(QAction* restore, QAction* exit, QObject* parent) : QObject(parent) {
  if (!Available()) return;
  menu_ = new QMenu;
  menu_->addAction(restore);
  menu_->addSeparator();
  menu_->addAction(exit);
  icon_ = new QSystemTrayIcon(this);
  icon_->setIcon(qv::ProgramIcon());
  icon_->setToolTip(QApplication::applicationName());
  icon_->setContextMenu(menu_);
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick) emit activated();
  });
}

CTrayIcon::~CTrayIcon() { delete menu_; }

bool CTrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool CTrayIcon::Show() {
  if (!icon_) return false;
  icon_->show();
  return true;
}

void CTrayIcon::Hide() {
  if (icon_) icon_->hide();
}

bool CTrayIcon::Visible() const { return icon_ && icon_->isVisible(); }
