// The notification-area icon shown while the main window is minimised to the
// tray. Its menu holds "&Restore..." and "&Exit". Where the desktop has no
// notification area (or no display at all) there is no icon, and the window
// is minimised the ordinary way instead, so it can always be found again.
#pragma once

#include <QObject>

class QAction;
class QSystemTrayIcon;
class QMenu;

class CTrayIcon : public QObject {
  Q_OBJECT

 public:
  CTrayIcon(QAction* restore, QAction* exit, QObject* parent = nullptr);
  ~CTrayIcon() override;

  static bool Available();
  // Shows or hides the icon; Show() gives false when there is no icon.
  bool Show();
  void Hide();
  bool Visible() const;

 signals:
  // The icon itself was clicked.
  void activated();

 private:
  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_ = nullptr;
};
