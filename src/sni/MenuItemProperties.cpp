#include "sni/MenuItemProperties.h"

#include "core/exchanges/NetworkText.h"

namespace pricora {

QString dbusMenuLabel(const std::string& title) {
  QString label = QString::fromStdString(shownText(title));
  label.replace('_', "__");
  return label;
}

QVariantMap menuItemProperties(const MenuItem& item, const QByteArray& iconPng) {
  QVariantMap properties;
  if (item.isSeparatorItem()) {
    properties.insert("type", QStringLiteral("separator"));
    return properties;
  }
  properties.insert("label", dbusMenuLabel(item.title()));
  if (!item.isEnabled()) properties.insert("enabled", false);
  if (item.submenu()) properties.insert("children-display", QStringLiteral("submenu"));
  if (!iconPng.isEmpty()) properties.insert("icon-data", iconPng);
  // The model knows a check mark only by its state; an item that is off looks like any other.
  if (item.state() != 0) {
    properties.insert("toggle-type", QStringLiteral("checkmark"));
    properties.insert("toggle-state", item.state());
  }
  return properties;
}

}  // namespace pricora
