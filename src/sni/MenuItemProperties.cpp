#include "sni/MenuItemProperties.h"

namespace pricora {

QString dbusMenuLabel(const std::string& title) {
  QString label = QString::fromStdString(title);
  label.replace('_', "__");
  return label;
}

QVariantMap menuItemProperties(const ItemRecord& item) {
  // The root holds the other menus and is never shown itself.
  if (item.id == 0) return {{"children-display", QStringLiteral("submenu")}};
  QVariantMap properties;
  if (item.separator) {
    properties.insert("type", QStringLiteral("separator"));
    return properties;
  }
  properties.insert("label", dbusMenuLabel(item.title));
  if (!item.enabled) properties.insert("enabled", false);
  if (item.submenu) properties.insert("children-display", QStringLiteral("submenu"));
  if (!item.iconPng.isEmpty()) properties.insert("icon-data", item.iconPng);
  // The model knows a check mark only by its state; an item that is off looks like any other.
  if (item.state != 0) {
    properties.insert("toggle-type", QStringLiteral("checkmark"));
    properties.insert("toggle-state", item.state);
  }
  return properties;
}

QVariantMap onlyNamed(const QVariantMap& properties, const QStringList& names) {
  if (names.isEmpty()) return properties;
  QVariantMap chosen;
  for (const QString& name : names)
    if (auto found = properties.find(name); found != properties.end()) chosen.insert(name, *found);
  return chosen;
}

}  // namespace pricora
