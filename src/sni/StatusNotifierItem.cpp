#include "sni/StatusNotifierItem.h"

#include <utility>

#include "ItemAdaptor.h"
#include "LabelledItemAdaptor.h"

namespace pricora {

namespace {

bool samePixmaps(const SniPixmaps& a, const SniPixmaps& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SniPixmap& x, const SniPixmap& y) {
    return x.width == y.width && x.height == y.height && x.argb == y.argb;
  });
}

}  // namespace

StatusNotifierItem::StatusNotifierItem(QString menuPath, std::function<void(QPoint)> popup,
                                       std::function<void(QPoint)> secondary)
    : StatusNotifierItem(std::move(menuPath), std::move(popup), std::move(secondary), OwnAdaptor{}) {
  new ItemAdaptor(this);
}

StatusNotifierItem::StatusNotifierItem(QString menuPath, std::function<void(QPoint)> popup,
                                       std::function<void(QPoint)> secondary, OwnAdaptor)
    : menuPath_(std::move(menuPath)), popup_(std::move(popup)), secondary_(std::move(secondary)) {}

LabelledStatusNotifierItem::LabelledStatusNotifierItem(QString menuPath, std::function<void(QPoint)> popup,
                                                       std::function<void(QPoint)> secondary)
    : StatusNotifierItem(std::move(menuPath), std::move(popup), std::move(secondary), OwnAdaptor{}) {
  new LabelledItemAdaptor(this);
}

QString StatusNotifierItem::id() const {
  wasRead_ = true;
  if (auto read = std::exchange(read_, nullptr)) read();
  return look_.id;
}

QString StatusNotifierItem::status() const {
  return look_.needsAttention ? QStringLiteral("NeedsAttention") : QStringLiteral("Active");
}

void StatusNotifierItem::show(SniLook look) {
  const bool newTitle = look.title != look_.title;
  const bool newThemePath = look.iconThemePath != look_.iconThemePath;
  // Hosts read the accessible text with the icon.
  const bool newIcon = look.iconName != look_.iconName || !samePixmaps(look.pixmaps, look_.pixmaps) ||
                       look.accessibleDesc != look_.accessibleDesc;
  const bool newAttentionIcon =
      look.attentionIconName != look_.attentionIconName || !samePixmaps(look.attentionPixmaps, look_.attentionPixmaps);
  const bool newStatus = look.needsAttention != look_.needsAttention;
  const bool newToolTip = look.toolTip.title != look_.toolTip.title || look.toolTip.text != look_.toolTip.text ||
                          !samePixmaps(look.toolTip.pixmaps, look_.toolTip.pixmaps);
  const bool newLabel = look.label != look_.label || look.labelGuide != look_.labelGuide;
  look_ = std::move(look);
  if (newTitle) Q_EMIT NewTitle();
  if (newThemePath) Q_EMIT NewIconThemePath(look_.iconThemePath);
  if (newIcon) Q_EMIT NewIcon();
  if (newAttentionIcon) Q_EMIT NewAttentionIcon();
  if (newStatus) Q_EMIT NewStatus(status());
  if (newToolTip) Q_EMIT NewToolTip();
  if (newLabel) labelChanged();
}

void StatusNotifierItem::Activate(int x, int y) { popup_(QPoint(x, y)); }

void StatusNotifierItem::SecondaryActivate(int x, int y) { (secondary_ ? secondary_ : popup_)(QPoint(x, y)); }

void StatusNotifierItem::ContextMenu(int x, int y) { popup_(QPoint(x, y)); }

void StatusNotifierItem::Scroll(int, const QString&) {}

}  // namespace pricora
