#include "sni/MenuItemProperties.h"

#include "core/exchanges/NetworkText.h"

namespace pricora {

QString dbusMenuLabel(const std::string& title) {
  QString label = QString::fromStdString(shownText(title));
  label.replace('_', "__");
  return label;
}

QVariantMap menuItemProperties(const ItemRecord& item) {
  QVariantMap properties;
  forEachMenuItemProperty(item, [&](const QString& name, const QVariant& value) { properties.insert(name, value); });
  return properties;
}

}  // namespace pricora
