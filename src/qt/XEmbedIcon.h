#pragma once

#include <QIcon>
#include <QObject>
#include <QWidget>

#include <functional>

class QPlatformNativeInterface;

namespace pricora {

// Whether the display has an XEmbed tray (the system tray of X11 panels: xfce4-panel's, tint2's,
// trayer's, mate-panel's notification area), and news when one starts or ends. Asked of Qt's X11
// platform directly, as QSystemTrayIcon does on X11 when its platform theme gives it no icon of
// its own, but never through QSystemTrayIcon: the theme decides once per process whether that is a
// StatusNotifierItem or an XEmbed icon, by whether a StatusNotifierWatcher was on the bus then.
class XEmbedTrays final : public QObject {
  Q_OBJECT

 public:
  // changed: a tray started (a panel came back) or ended.
  explicit XEmbedTrays(std::function<void()> changed);

  // False on any platform but X11.
  bool available() const;

 private Q_SLOTS:
  void trayChanged();

 private:
  QPlatformNativeInterface* platform_ = nullptr;  // Qt's X11 platform, which tracks the tray
  std::function<void()> changed_;
};

// One icon in the XEmbed tray: a small window of our own that the tray takes in. Qt's X11 platform
// asks the tray to dock a window of this kind as it creates it, in the tray's own visual (with an
// alpha channel where the tray has one), and shows it once the tray has taken it in. The tray
// chooses the size; the icon fills it. A click of any button calls clicked with where it was and
// the button.
class XEmbedIcon final : public QWidget {
 public:
  explicit XEmbedIcon(std::function<void(QPoint, Qt::MouseButton)> clicked);

  void setIcon(const QIcon& icon);
  const QIcon& icon() const { return icon_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QIcon icon_;
  std::function<void(QPoint, Qt::MouseButton)> clicked_;
};

}  // namespace pricora
