#include "formats/MenuDump.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

namespace pricora {

namespace {

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void writeText(Writer& out, const std::string& text) {
  out.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

void writeImage(Writer& out, const ImageRef& image) {
  if (image)
    writeText(out, image->describe());
  else
    out.Null();
}

void writeItems(Writer& out, const Menu& menu) {
  out.StartArray();
  for (const MenuItemRef& item : menu.itemArray()) {
    out.StartObject();
    out.Key("title");
    writeText(out, item->title());
    out.Key("action");
    if (item->action() == MenuAction::none)
      out.Null();
    else
      writeText(out, std::string(selectorName(item->action())));
    out.Key("enabled");
    out.Bool(item->isEnabled());
    out.Key("separator");
    out.Bool(item->isSeparatorItem());
    out.Key("image");
    writeImage(out, item->image());
    out.Key("submenu");
    if (item->submenu())
      writeItems(out, *item->submenu());
    else
      out.Null();
    out.EndObject();
  }
  out.EndArray();
}

}  // namespace

std::string_view selectorName(MenuAction action) {
  switch (action) {
    case MenuAction::none:
      return {};
    case MenuAction::refreshPairs:
      return "refreshPairs";
    case MenuAction::terminate:
      return "terminate:";
    case MenuAction::save:
      return "saveAction:";
    case MenuAction::openExchangeWebsite:
      return "openExchangeWebsiteWithSender:";
    case MenuAction::showManageWindow:
      return "showManageWindow";
    case MenuAction::launchAtStartupChanged:
      return "launchAtStartupChanged:";
    case MenuAction::supportButtonClick:
      return "supportButtonClick:";
    case MenuAction::iosButtonClick:
      return "iosButtonClick:";
    case MenuAction::rateMeButtonClick:
      return "rateMeButtonClick:";
  }
  return {};
}

std::string dumpTray(const StatusBar& statusBar, const Menu& statusMenu) {
  rapidjson::StringBuffer buffer;
  Writer out(buffer);
  out.SetIndent(' ', 2);
  out.StartObject();
  out.Key("statusBar");
  out.StartArray();
  for (const StatusItemRef& item : statusBar.items()) {
    out.StartObject();
    out.Key("image");
    writeImage(out, item->image());
    out.Key("toolTip");
    writeText(out, item->toolTip());
    out.Key("title");
    writeText(out, item->attributedTitle().text);
    out.Key("titleWeights");
    out.StartArray();
    for (const WeightRange& range : item->attributedTitle().weights) {
      out.StartArray();
      out.Uint64(range.start);
      out.Uint64(range.length);
      out.Double(range.weight);
      out.EndArray();
    }
    out.EndArray();
    out.Key("length");
    out.Double(item->length());
    out.Key("menu");
    if (item->menu().get() == &statusMenu)
      out.String("statusMenu");
    else if (item->menu())
      writeItems(out, *item->menu());
    else
      out.Null();
    out.EndObject();
  }
  out.EndArray();
  out.Key("statusMenu");
  writeItems(out, statusMenu);
  out.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace pricora
