#include "qt/XEmbedIcon.h"

#include <qpa/qplatformnativeinterface.h>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace pricora {

namespace {

// The name by which Qt's X11 platform knows a window for the tray (it gives a widget's window
// the widget's name and "Window"): such a window is docked into the tray, not managed as a window.
constexpr const char* kTrayWidgetName = "QSystemTrayIconSys";
constexpr int kStartingSize = 22;  // until the tray sets one

// Qt's X11 platform, which knows the tray and says when it changes; none elsewhere.
QPlatformNativeInterface* x11Platform() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  return QGuiApplication::platformNativeInterface();
}

}  // namespace

XEmbedTrays::XEmbedTrays(std::function<void()> changed) : platform_(x11Platform()), changed_(std::move(changed)) {
  // By name: the signal is the X11 platform's own. It comes as a tray takes the display's tray
  // selection (a panel starts) and as the tray's window goes (a panel ends).
  if (platform_) connect(platform_, SIGNAL(systemTrayWindowChanged(QScreen*)), this, SLOT(trayChanged()));
}

void XEmbedTrays::trayChanged() {
  if (changed_) changed_();
}

bool XEmbedTrays::available() const {
  // Also where the platform learns which window a new icon asks to take it in, and starts
  // watching for that window's end.
  QScreen* screen = QGuiApplication::primaryScreen();
  return platform_ && screen && platform_->nativeResourceForScreen("traywindow", screen) != nullptr;
}

XEmbedIcon::XEmbedIcon(std::function<void(QPoint, Qt::MouseButton)> clicked)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint),
      clicked_(std::move(clicked)) {
  setObjectName(QLatin1String(kTrayWidgetName));
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setAttribute(Qt::WA_QuitOnClose, false);
  setAttribute(Qt::WA_TranslucentBackground);
  resize(kStartingSize, kStartingSize);
}

void XEmbedIcon::setIcon(const QIcon& icon) {
  icon_ = icon;
  update();
}

void XEmbedIcon::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(rect(), Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  icon_.paint(&painter, rect());
}

void XEmbedIcon::mousePressEvent(QMouseEvent* event) {
  if (clicked_) clicked_(event->globalPosition().toPoint(), event->button());
}

}  // namespace pricora
