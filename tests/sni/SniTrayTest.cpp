// The tray over D-Bus, on a private bus with a fake watcher in place of the desktop's.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "sni/TrayChooser.h"
#include "sni/TrayHosts.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace pricora {
namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";
constexpr const char* kMenu = "com.canonical.dbusmenu";

// Runs the event loop until done() holds; the deadline only stops a broken test from hanging.
bool spinUntil(const std::function<bool()>& done) {
  const QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Both ends live in this thread, so a call must keep the event loop turning while it waits.
QDBusMessage call(const QDBusConnection& bus, const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments = {}) {
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
  message.setArguments(arguments);
  QDBusPendingCall pending = bus.asyncCall(message);
  spinUntil([&] { return pending.isFinished(); });
  return pending.reply();
}

class FakeWatcher final : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() != "RegisterStatusNotifierItem") return false;
    if (silences > 0 && silences--) return true;  // never answers
    if (refusals > 0 && refusals--) return bus.send(message.createErrorReply(QDBusError::AccessDenied, "not here"));
    items.push_back({message.service(), message.arguments().value(0).toString()});
    bus.send(message.createReply());
    log.push_back("register");
    // As hosts do: read the item it was told of.
    QDBusMessage read = QDBusMessage::createMethodCall(message.service(), items.back().second,
                                                       "org.freedesktop.DBus.Properties", "GetAll");
    read << QString("org.kde.StatusNotifierItem");
    connect(new QDBusPendingCallWatcher(bus.asyncCall(read), this), &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* done) {
              log.push_back("read");
              done->deleteLater();
            });
    return true;
  }
  std::vector<std::pair<QString, QString>> items;  // (sender, object path)
  std::vector<QString> log;
  int refusals = 0;  // of the next registrations
  int silences = 0;
};

class SignalLog final : public QObject {
  Q_OBJECT
 public Q_SLOTS:
  void received(const QDBusMessage& message) {
    if (seen) seen();
    signals_.push_back(message);
  }

 public:
  std::vector<QDBusMessage> signals_;
  std::function<void()> seen;
};

// GNOME's compositor with a laptop's screen and a larger one beside it, the larger one primary.
// It answers from a thread of its own: the width is asked with a blocking call.
class FakeDisplayConfig final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.DisplayConfig")

 public Q_SLOTS:
  uint GetCurrentState(pricora::MutterMonitors& monitors, pricora::MutterLogicalMonitors& logical, QVariantMap&) {
    const QVariantMap current{{"is-current", current_}};
    monitors = {{{"eDP-1", "", "", ""}, {{"1920", 1920, 1080, 60, 1, {1}, {{"is-current", true}}}}, {}},
                {{"HDMI-1", "", "", ""},
                 {{"3840", 3840, 2160, 60, 2, {1, 2}, {}}, {"2560", 2560, 1440, 60, 1, {1, 2}, current}},
                 {}}};
    logical = {{0, 0, 1, 0, false, {{"eDP-1", "", "", ""}}, {}},
               {1920, 0, scale_, transform_, true, {{"HDMI-1", "", "", ""}}, {}}};
    return 1;
  }

 public:
  bool current_ = true;
  double scale_ = 1;
  uint transform_ = 0;
};

struct RecordingTarget final : MenuActionTarget, MenuDelegate {
  void sendAction(MenuAction action, MenuItem&) override { actions.push_back(action); }
  void menuWillOpen(Menu&) override { ++opened; }
  void menuDidClose(Menu&) override { ++closed; }
  std::vector<MenuAction> actions;
  int opened = 0;
  int closed = 0;
};

class SniTrayTest : public ::testing::Test {
 protected:
  SniTrayTest() {
    address_ = QString::fromStdString(daemon_.readLine(std::chrono::seconds(10)).value_or(""));
    desktop_ = QDBusConnection::connectToBus(address_, "test-desktop");
    app_ = QDBusConnection::connectToBus(address_, "test-app");
    registerTrayDBusTypes();

    Menu& menu = *statusMenu;
    menu.addItemWithTitle("Quit_Pricora", MenuAction::terminate);
    auto preferences = menu.addItemWithTitle("Preferences");
    preferences->setSubmenu(Menu::create());
    preferences->submenu()->addItemWithTitle("Launch at Login", MenuAction::launchAtStartupChanged)->setState(1);
    menu.addItem(MenuItem::separatorItem());
    kraken = menu.addItemWithTitle("Kraken");
    kraken->setSubmenu(Menu::create());
    kraken->setImage(swatchImage({0x5a, 0x41, 0xc2}, 3, 14));
    kraken->submenu()->addItemWithTitle("XBT/USD: 10599.5");
    menu.addItemWithTitle("Updating...");
    menu.setDelegate(&target);
    app->setImage(swatchImage({1, 2, 3}, 8, 8));
    app->setMenu(statusMenu);

    price->setSubject({"Kraken", "XBT/USD", Rgb{218, 64, 122}});
    price->setAttributedTitle({"XBT/USD\n10599.5", {}});
    price->setToolTip("XBT/USD: 10599.50000");
    price->setPriceText("10599.50000");
    auto priceMenu = Menu::create();
    priceMenu->addItemWithTitle("Kraken", MenuAction::openExchangeWebsite);
    price->setMenu(priceMenu);
  }
  ~SniTrayTest() override {
    tray.reset();
    statusMenu->setDelegate(nullptr);
    QDBusConnection::disconnectFromBus("test-desktop");
    QDBusConnection::disconnectFromBus("test-app");
  }

  void startWatcher() {
    desktop_.registerVirtualObject("/StatusNotifierWatcher", &watcher);
    desktop_.registerService(kWatcher);
  }
  void stopWatcher() {
    desktop_.unregisterService(kWatcher);
    desktop_.unregisterObject("/StatusNotifierWatcher");
  }
  void showTray() {
    using std::chrono::milliseconds;
    // The watcher answers on this thread; on a loaded machine that can take longer than a real
    // one would, and an answer counted as missing registers the item a second time.
    const TraySetup setup{
        {}, iconRoot(), 1280, [this] { return host; }, {milliseconds(5), milliseconds(20), milliseconds(1500)}};
    tray = std::make_unique<TrayChooser>(bar, target, images, setup, app_, [this](const QString& name) {
      return noBusForItems > 0 && noBusForItems-- ? QDBusConnection(name)
                                                  : QDBusConnection::connectToBus(address_, name);
    });
  }
  QString iconRoot() const { return QString::fromStdString(folder_.path().string()) + "/pictures"; }
  QString iconFile(std::size_t item, const QString& folder) {
    return property(item, "IconThemePath").toString() + "/hicolor/" + folder + "/apps/" +
           property(item, "IconName").toString() + ".png";
  }
  QVariant property(std::size_t item, const QString& name) {
    const QDBusMessage reply = call(desktop_, watcher.items.at(item).first, "/StatusNotifierItem",
                                    "org.freedesktop.DBus.Properties", "Get", {"org.kde.StatusNotifierItem", name});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }
  QDBusMessage menuCall(const QString& method, const QVariantList& arguments) {
    return call(desktop_, watcher.items.at(0).first, "/MenuBar", kMenu, method, arguments);
  }
  DBusMenuLayout layout(int parent, int depth) {
    const QDBusMessage reply = menuCall("GetLayout", {parent, depth, QStringList()});
    DBusMenuLayout node;
    if (reply.arguments().size() == 2) reply.arguments()[1].value<QDBusArgument>() >> node;
    return node;
  }

  test::TempDir folder_;
  test::Subprocess daemon_{{"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1",
                            "--address=unix:dir=" + folder_.path().string()}};
  QString address_;
  QDBusConnection desktop_{QString()};
  QDBusConnection app_{QString()};
  FakeWatcher watcher;
  RecordingTarget target;
  ImageCache images{QString()};
  StatusBar bar;
  MenuRef statusMenu = Menu::create();
  MenuItemRef kraken;
  StatusItemRef app = bar.statusItemWithLength(20);
  StatusItemRef price = bar.statusItemWithLength(0);
  HostTraits host{true, 0};
  int noBusForItems = 0;  // connections that fail
  std::unique_ptr<TrayChooser> tray;
};

TEST_F(SniTrayTest, RegistersEachItemInOrderWithItsLabelAndFollowsChanges) {
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));
  EXPECT_TRUE(tray->showsStatusNotifierItems());
  EXPECT_NE(watcher.items[0].first, watcher.items[1].first);  // one bus name per item

  struct Expected {
    const char* name;
    QVariant app, price;
  };
  for (const Expected& row : std::vector<Expected>{{"Id", "pricora", "pricora-Kraken-XBT/USD"},
                                                   {"Title", "Pricora", "Pricora: XBT/USD, Kraken"},
                                                   {"XAyatanaLabel", "", "XBT/USD 10599.5"},
                                                   {"ItemIsMenu", true, true}}) {
    EXPECT_EQ(property(0, row.name), row.app) << row.name;
    EXPECT_EQ(property(1, row.name), row.price) << row.name;
  }
  // The indicator service puts higher indices first: items stay in the order they were made.
  EXPECT_GT(property(0, "XAyatanaOrderingIndex").toUInt(), property(1, "XAyatanaOrderingIndex").toUInt());
  // As hosts read IconPixmap: each pixel four bytes, alpha, red, green, blue, in that order.
  SniPixmaps decoded;
  property(1, "IconPixmap").value<QDBusArgument>() >> decoded;
  const Pictures drawn = lookOf(*price, images, {host, {}, 1280}, LabelForm::Pair, 1).icon;
  ASSERT_EQ(decoded.size(), static_cast<qsizetype>(drawn.size()));
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    const SniPixmap& pixmap = decoded[static_cast<qsizetype>(i)];
    const QImage expected = drawn[i].convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(QSize(pixmap.width, pixmap.height), expected.size());
    ASSERT_EQ(pixmap.argb.size(), pixmap.width * pixmap.height * 4);
    QImage read(pixmap.width, pixmap.height, QImage::Format_ARGB32);
    const auto* bytes = reinterpret_cast<const uchar*>(pixmap.argb.constData());
    for (int y = 0; y < pixmap.height; ++y)
      for (int x = 0; x < pixmap.width; ++x, bytes += 4)
        read.setPixel(x, y, qRgba(bytes[1], bytes[2], bytes[3], bytes[0]));
    EXPECT_EQ(read, expected) << pixmap.width;
  }
  EXPECT_EQ(qAlpha(drawn.front().pixel(8, 8)), 255);  // the mark, in the exchange's colour
  EXPECT_EQ(QColor(drawn.front().pixel(8, 8)).rgb() & 0xFFFFFF, 0xDA407Au);
  EXPECT_EQ(property(1, "Menu").value<QDBusObjectPath>().path(), "/MenuBar");

  price->setAttributedTitle({"XBT/USD\n10600", {}});
  EXPECT_TRUE(spinUntil([&] { return property(1, "XAyatanaLabel") == "XBT/USD 10600"; }));
  price->setMove(PriceMove{1.5, "+1.5 % in 24 h", {10400, 10500, 10600}});
  SniToolTip toolTip;
  spinUntil([&] {
    property(1, "ToolTip").value<QDBusArgument>() >> toolTip;
    return !toolTip.pixmaps.isEmpty();
  });
  EXPECT_EQ(toolTip.title, "XBT/USD, Kraken");
  EXPECT_EQ(toolTip.text, "10599.50000\n+1.5 % in 24 h");
  EXPECT_EQ(toolTip.pixmaps.size(), 3);  // the day's prices as a line

  // Every price brings a new menu: a host that has the old one open must hear of it.
  SignalLog log;
  desktop_.connect(watcher.items[1].first, "/MenuBar", kMenu, "LayoutUpdated", &log, SLOT(received(QDBusMessage)));
  price->setMenu(Menu::create());
  ASSERT_TRUE(spinUntil([&] { return !log.signals_.empty(); }));
  EXPECT_EQ(log.signals_[0].arguments().value(1), 0);
}

TEST_F(SniTrayTest, GetLayoutSendsTheLevelsAskedFor) {
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));

  EXPECT_TRUE(layout(0, 0).children.isEmpty());
  const DBusMenuLayout one = layout(0, 1);
  ASSERT_EQ(one.children.size(), 5);
  EXPECT_EQ(one.children[0].properties["label"], "Quit__Pricora");
  EXPECT_EQ(one.children[1].properties["children-display"], "submenu");
  EXPECT_TRUE(one.children[1].children.isEmpty());
  EXPECT_EQ(one.children[2].properties["type"], "separator");
  EXPECT_FALSE(one.children[3].properties["icon-data"].toByteArray().isEmpty());
  EXPECT_EQ(one.children[4].properties["enabled"], false);

  const DBusMenuLayout all = layout(0, -1);
  ASSERT_EQ(all.children[1].children.size(), 1);
  const QVariantMap toggle = all.children[1].children[0].properties;
  EXPECT_EQ(toggle["toggle-type"], "checkmark");
  EXPECT_EQ(toggle["toggle-state"], 1);
  EXPECT_EQ(layout(one.children[3].id, 1).children.size(), 1);  // one exchange's submenu alone

  // libdbusmenu drops a property whose D-Bus type is not the one the protocol names.
  const std::map<QString, QString> types{
      {"label", "s"},      {"enabled", "b"},     {"type", "s"},        {"children-display", "s"},
      {"icon-data", "ay"}, {"toggle-type", "s"}, {"toggle-state", "i"}};
  std::set<QString> seen;
  const std::function<void(const QDBusArgument&)> walk = [&](const QDBusArgument& node) {
    node.beginStructure();
    int id = 0;
    node >> id;
    node.beginMap();
    while (!node.atEnd()) {
      node.beginMapEntry();
      QString name;
      node >> name;
      QDBusVariant value;
      node >> value;
      node.endMapEntry();
      const QVariant inner = value.variant();
      const QString signature = inner.canConvert<QDBusArgument>()
                                    ? inner.value<QDBusArgument>().currentSignature()
                                    : QString::fromLatin1(QDBusMetaType::typeToSignature(inner.metaType()));
      EXPECT_EQ(signature, types.at(name)) << name.toStdString();
      seen.insert(name);
    }
    node.endMap();
    node.beginArray();
    while (!node.atEnd()) {
      QDBusVariant child;
      node >> child;
      walk(child.variant().value<QDBusArgument>());
    }
    node.endArray();
    node.endStructure();
  };
  walk(menuCall("GetLayout", {0, -1, QStringList()}).arguments().value(1).value<QDBusArgument>());
  EXPECT_EQ(seen.size(), types.size());
  EXPECT_EQ(menuCall("GetLayout", {4242, 1, QStringList()}).type(), QDBusMessage::ErrorMessage);
  // One property alone, as some hosts ask for it.
  const auto single = [&](int id, const QString& name) {
    return menuCall("GetProperty", {id, name}).arguments().value(0).value<QDBusVariant>().variant();
  };
  EXPECT_EQ(single(one.children[1].id, "label"), "Preferences");
  EXPECT_EQ(menuCall("GetProperty", {4242, "label"}).type(), QDBusMessage::ErrorMessage);

  // No ids: every node, the root with its seven items.
  const QDBusMessage group = menuCall("GetGroupProperties", {QVariant::fromValue(QList<int>()), QStringList{"label"}});
  const auto every = qdbus_cast<DBusMenuPropertiesList>(group.arguments().value(0));
  ASSERT_EQ(every.size(), 8);
  EXPECT_EQ(every[0].properties, QVariantMap());
  EXPECT_EQ(every[2].properties, (QVariantMap{{"label", "Preferences"}}));
  // Every property of every node, read from the whole layout, asked by id and asked with no ids:
  // the same nodes in the same order (each before the nodes below it), saying the same.
  DBusMenuPropertiesList inLayout;
  const std::function<void(const DBusMenuLayout&)> flatten = [&](const DBusMenuLayout& node) {
    inLayout.push_back({node.id, node.properties});
    for (const DBusMenuLayout& child : node.children) flatten(child);
  };
  flatten(all);
  QList<int> ids;
  for (const DBusMenuProperties& node : inLayout) ids.push_back(node.id);
  for (const QList<int>& asked : {ids, QList<int>()}) {
    const auto answer = qdbus_cast<DBusMenuPropertiesList>(
        menuCall("GetGroupProperties", {QVariant::fromValue(asked), QStringList()}).arguments().value(0));
    ASSERT_EQ(answer.size(), inLayout.size());
    for (qsizetype i = 0; i < answer.size(); ++i) {
      EXPECT_EQ(answer[i].id, inLayout[i].id) << i;
      EXPECT_EQ(answer[i].properties, inLayout[i].properties) << i;
    }
  }
}

void collectIds(const DBusMenuLayout& node, std::set<int>& ids) {
  ids.insert(node.id);
  for (const DBusMenuLayout& child : node.children) collectIds(child, ids);
}

TEST_F(SniTrayTest, ATreeTakenOverSeveralTurnsComesWholeWithAnIdForEachItemBeforeNewsOfAnOpening) {
  // Two exchanges with the same pairs, each pair with its lines, and a third with more pairs than
  // one turn takes.
  MenuRef large = Menu::create();
  for (int exchange = 0; exchange < 3; ++exchange) {
    const MenuItemRef pairs = large->addItemWithTitle("Exchange");
    pairs->setSubmenu(Menu::create());
    for (int pair = 0; pair < (exchange < 2 ? 1000 : 11000); ++pair) {
      const MenuItemRef lines = pairs->submenu()->addItemWithTitle("XBT/USD: 1", MenuAction::openExchangeWebsite);
      if (exchange == 2) continue;
      lines->setSubmenu(Menu::create());
      for (int line = 0; line < 6; ++line) lines->submenu()->addItemWithTitle("Bid: 1");
    }
  }
  DBusMenuExporter exporter(statusMenu, target, images);
  ASSERT_TRUE(app_.registerObject("/Large", &exporter, QDBusConnection::ExportAdaptors));
  exporter.setRoot(large);
  QDBusPendingCall fetch = desktop_.asyncCall(
      QDBusMessage::createMethodCall(app_.baseService(), "/Large", kMenu, "GetLayout") << 0 << -1 << QStringList());
  // News of an opening before that reply: libdbusmenu hosts would take the older reply after it.
  SignalLog log;
  log.seen = [&] { EXPECT_TRUE(fetch.isFinished()); };
  desktop_.connect(app_.baseService(), "/Large", kMenu, "LayoutUpdated", &log, SLOT(received(QDBusMessage)));
  call(desktop_, app_.baseService(), "/Large", kMenu, "AboutToShowGroup", {QVariant::fromValue(QList<int>{0})});
  ASSERT_TRUE(spinUntil([&] { return fetch.isFinished() && !log.signals_.empty(); }));
  DBusMenuLayout root;
  fetch.reply().arguments().value(1).value<QDBusArgument>() >> root;
  std::set<int> ids;
  collectIds(root, ids);
  EXPECT_EQ(ids.size(), 1u + 3 + 2 * 1000 * (1 + 6) + 11000);
}

TEST_F(SniTrayTest, EventsReachTheActionTargetAndTheMenuDelegate) {
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));
  const DBusMenuLayout top = layout(0, 1);
  const QVariant none = QVariant::fromValue(QDBusVariant(0));
  menuCall("AboutToShow", {0});
  menuCall("Event", {0, "opened", none, 0u});  // hosts send both: the menu opens once
  menuCall("Event", {top.children[0].id, "clicked", none, 0u});
  menuCall("Event", {top.children[4].id, "clicked", none, 0u});  // disabled
  // A group in which no id names an item is an error; otherwise the answer names those that do not.
  const DBusMenuEvent unknown{4242, "clicked", QDBusVariant(0), 0};
  EXPECT_EQ(menuCall("EventGroup", {QVariant::fromValue(DBusMenuEventList{unknown})}).type(),
            QDBusMessage::ErrorMessage);
  EXPECT_EQ(menuCall("AboutToShowGroup", {QVariant::fromValue(QList<int>{4242})}).type(), QDBusMessage::ErrorMessage);
  const QDBusMessage some = menuCall("AboutToShowGroup", {QVariant::fromValue(QList<int>{0, 4242})});
  EXPECT_EQ(qdbus_cast<QList<int>>(some.arguments().value(1)), QList<int>{4242});
  menuCall("Event", {0, "closed", none, 0u});
  spinUntil([&] { return !target.actions.empty(); });
  EXPECT_EQ(target.actions, std::vector<MenuAction>{MenuAction::terminate});
  EXPECT_EQ(target.opened, 1);
  EXPECT_EQ(target.closed, 1);
}

TEST_F(SniTrayTest, ChangesAreAnnouncedOncePerChangedMenu) {
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));
  SignalLog log;
  for (const char* name : {"LayoutUpdated", "ItemsPropertiesUpdated"})
    desktop_.connect(watcher.items[0].first, "/MenuBar", kMenu, name, &log, SLOT(received(QDBusMessage)));
  const DBusMenuLayout all = layout(0, -1);

  // A closed menu is announced only as the menus open: by AboutToShow's answer, or by a signal to
  // hosts that send AboutToShowGroup and ignore its answer, as the top menu opens.
  kraken->submenu()->addItemWithTitle("XBT/CAD: 1");
  QCoreApplication::processEvents();
  EXPECT_TRUE(log.signals_.empty());
  EXPECT_EQ(menuCall("AboutToShow", {all.children[2].id}).arguments().value(0), true);
  EXPECT_TRUE(log.signals_.empty());
  menuCall("AboutToShowGroup", {QVariant::fromValue(QList<int>{0})});
  ASSERT_TRUE(spinUntil([&] { return !log.signals_.empty(); }));
  EXPECT_EQ(log.signals_[0].arguments().value(1), 0);
  layout(0, -1);
  menuCall("Event", {all.children[3].id, "opened", QVariant::fromValue(QDBusVariant(0)), 0u});
  QCoreApplication::processEvents();
  log.signals_.clear();

  for (const char* title : {"XBT/EUR: 9000", "XBT/GBP: 8000", "XBT/JPY: 1"}) kraken->submenu()->addItemWithTitle(title);
  statusMenu->lastItem()->setTitle("Updated: Just_now");
  kraken->setTitle("Kraken.com");
  spinUntil([&] { return log.signals_.size() >= 2; });
  QCoreApplication::processEvents();
  ASSERT_EQ(log.signals_.size(), 2u);
  EXPECT_EQ(log.signals_[0].member(), "LayoutUpdated");
  EXPECT_EQ(log.signals_[0].arguments().value(1), all.children[3].id);
  DBusMenuPropertiesList updated;
  log.signals_[1].arguments().value(0).value<QDBusArgument>() >> updated;
  ASSERT_EQ(updated.size(), 2);
  EXPECT_EQ(updated[0].id, all.children[3].id);
  // Only the label: a host rebuilds an item it is sent "children-display" for.
  EXPECT_EQ(updated[0].properties, (QVariantMap{{"label", "Kraken.com"}}));
  EXPECT_EQ(updated[1].id, all.children[4].id);
  EXPECT_EQ(updated[1].properties["label"], "Updated: Just__now");
  EXPECT_EQ(layout(all.children[3].id, 1).children.size(), 5);

  // A refresh fills the menu anew: pairs at the same price keep their ids, twins included, and
  // hosts are told nothing of them.
  const auto refill = [&] {
    kraken->submenu()->removeAllItems();
    for (const char* title : {"XBT/EUR: 9000", "XBT/EUR: 9000", "XBT/USD: 1"})
      kraken->submenu()->addItemWithTitle(title);
    std::set<int> ids;
    collectIds(layout(all.children[3].id, 1), ids);
    return ids;
  };
  const std::set<int> first = refill();
  EXPECT_EQ(first.size(), 4u);
  EXPECT_EQ(refill(), first);
}

// A panel on each of two screens: each shows the menu, and one's fetch is no news to the other.
TEST_F(SniTrayTest, EveryHostHearsEveryChangeWhateverAnotherFetched) {
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));
  QDBusConnection other = QDBusConnection::connectToBus(address_, "test-other-host");
  const QString item = watcher.items[0].first;
  SignalLog heard;
  other.connect(item, "/MenuBar", kMenu, "ItemsPropertiesUpdated", &heard, SLOT(received(QDBusMessage)));
  const auto fetch = [&](const QDBusConnection& asker) {
    return call(asker, item, "/MenuBar", kMenu, "GetLayout", {0, -1, QStringList()});
  };
  const auto aboutToShow = [&](const QDBusConnection& asker, int id) {
    return call(asker, item, "/MenuBar", kMenu, "AboutToShow", {id}).arguments().value(0).toBool();
  };
  fetch(desktop_);
  fetch(other);
  const int krakenId = layout(0, 1).children[3].id;

  kraken->setTitle("Kraken.com");
  fetch(desktop_);  // before the news goes out
  ASSERT_TRUE(spinUntil([&] { return !heard.signals_.empty(); }));
  DBusMenuPropertiesList updated;
  heard.signals_[0].arguments().value(0).value<QDBusArgument>() >> updated;
  ASSERT_EQ(updated.size(), 1);
  EXPECT_EQ(updated[0].properties["label"], "Kraken.com");

  // A closed menu's new layout is told to each host as it opens the menu, until that host fetched it.
  kraken->submenu()->addItemWithTitle("XBT/CAD: 1");
  statusMenu->lastItem()->setTitle("Updated: Just now");  // told at once: the news has gone out
  ASSERT_TRUE(spinUntil([&] { return heard.signals_.size() == 2; }));
  EXPECT_TRUE(aboutToShow(desktop_, krakenId));
  fetch(desktop_);
  EXPECT_FALSE(aboutToShow(desktop_, krakenId));
  EXPECT_TRUE(aboutToShow(other, krakenId));
  EXPECT_TRUE(aboutToShow(other, 0));
  fetch(other);
  EXPECT_FALSE(aboutToShow(other, krakenId));
  QDBusConnection::disconnectFromBus("test-other-host");
}

TEST_F(SniTrayTest, OpeningsEndWhenHostsFallSilentOrTheRootIsReplaced) {
  const auto everything = QDBusConnection::ExportAdaptors;
  // xfce4-panel never closes the top menu, and fetches what it is told of: the opening must end.
  DBusMenuExporter silent(statusMenu, target, images, {std::chrono::milliseconds(1), std::chrono::milliseconds(50)});
  ASSERT_TRUE(app_.registerObject("/Silent", &silent, everything));
  call(desktop_, app_.baseService(), "/Silent", kMenu, "AboutToShowGroup", {QVariant::fromValue(QList<int>{0})});
  EXPECT_EQ(target.opened, 1);
  EXPECT_TRUE(spinUntil([&] {
    call(desktop_, app_.baseService(), "/Silent", kMenu, "GetLayout", {0, 1, QStringList()});
    return target.closed == 1;
  }));

  // Every price brings a price item a new menu, shown where the old one was open: nobody opened it.
  DBusMenuExporter replaced(statusMenu, target, images);
  ASSERT_TRUE(app_.registerObject("/Price", &replaced, everything));
  call(desktop_, app_.baseService(), "/Price", kMenu, "AboutToShow", {0});
  for (int i = 0; i < 3; ++i) {
    MenuRef next = Menu::create();
    next->setDelegate(&target);
    replaced.setRoot(next);
  }
  EXPECT_EQ(target.opened, 2);
  EXPECT_EQ(target.closed, 2);
  call(desktop_, app_.baseService(), "/Price", kMenu, "AboutToShow", {0});
  call(desktop_, app_.baseService(), "/Price", kMenu, "Event", {0, "closed", QVariant::fromValue(QDBusVariant(0)), 0u});
  EXPECT_EQ(target.opened, 3);
  EXPECT_EQ(target.closed, 3);
}

TEST_F(SniTrayTest, FallsBackToXEmbedWithoutAWatcherAndReturnsWhenOneStarts) {
  showTray();
  EXPECT_FALSE(tray->showsStatusNotifierItems());
  EXPECT_TRUE(tray->showsXEmbedIcons());
  startWatcher();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));
  EXPECT_TRUE(tray->showsStatusNotifierItems());

  stopWatcher();  // the panel crashed
  EXPECT_TRUE(spinUntil([&] { return !tray->showsStatusNotifierItems(); }));
  startWatcher();  // and came back: it must get every item again
  EXPECT_TRUE(spinUntil([&] { return watcher.items.size() == 4; }));
  EXPECT_EQ(property(3, "Id"), "pricora-Kraken-XBT/USD");
}

// While a watcher is there, no other tray shows anything: items it refuses or leaves unanswered, or
// that cannot reach the bus, are offered again until it takes them.
TEST_F(SniTrayTest, ItemsTheWatcherDoesNotTakeAreOfferedAgainUntilItDoes) {
  startWatcher();
  for (int failure = 0; failure < 3; ++failure) {
    watcher.items.clear();
    watcher.refusals = failure == 0 ? 3 : 0;
    watcher.silences = failure == 1 ? 2 : 0;
    noBusForItems = failure == 2 ? 3 : 0;
    showTray();
    ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; })) << failure;
    EXPECT_TRUE(tray->showsStatusNotifierItems());
    EXPECT_FALSE(tray->showsXEmbedIcons());
    EXPECT_EQ(property(1, "Id"), "pricora-Kraken-XBT/USD");  // in their order
  }
  // A new watcher taking over meanwhile gets them all.
  watcher.refusals = 1000;
  showTray();
  watcher.refusals = 0;
  Q_EMIT tray->findChild<QDBusServiceWatcher*>()->serviceOwnerChanged(kWatcher, "", ":1.99");
  EXPECT_TRUE(spinUntil([&] { return watcher.items.size() >= 4; }));
}

TEST_F(SniTrayTest, HostsThatTakeOneItemAtATimeGetTheNextOnceTheyHaveReadTheLast) {
  host = {false, 0, true};  // xfce4-panel
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.log.size() == 4; }));
  EXPECT_EQ(watcher.log, (std::vector<QString>{"register", "read", "register", "read"}));
}

TEST_F(SniTrayTest, TheShellsScreenIsItsPrimaryMonitorsCurrentModeAtItsScale) {
  EXPECT_EQ(shellScreenWidth(app_), std::nullopt);  // not GNOME
  // Mutter's own description of its monitors, which hosts and Pricora must read alike.
  EXPECT_STREQ(QDBusMetaType::typeToSignature(QMetaType::fromType<MutterMonitors>()), "a((ssss)a(siiddada{sv})a{sv})");
  EXPECT_STREQ(QDBusMetaType::typeToSignature(QMetaType::fromType<MutterLogicalMonitors>()), "a(iiduba(ssss)a{sv})");
  QThread compositor;
  FakeDisplayConfig displays;
  displays.moveToThread(&compositor);
  compositor.start();
  EXPECT_TRUE(desktop_.registerObject("/org/gnome/Mutter/DisplayConfig", &displays, QDBusConnection::ExportAllSlots));
  EXPECT_TRUE(desktop_.registerService("org.gnome.Mutter.DisplayConfig"));
  struct Case {
    bool current;
    double scale;
    uint transform;
    std::optional<int> width;
  };
  for (const Case& row : std::vector<Case>{
           {true, 1, 0, 2560},
           {true, 2, 0, 1280},
           {true, 1.5, 2, 1706},
           {true, 1, 1, std::nullopt},
           {false, 1, 0, std::nullopt},  // no mode of its own is current
       }) {
    displays.current_ = row.current;
    displays.scale_ = row.scale;
    displays.transform_ = row.transform;
    EXPECT_EQ(shellScreenWidth(app_), row.width) << row.scale << " " << row.transform;
  }
  desktop_.unregisterObject("/org/gnome/Mutter/DisplayConfig");
  compositor.quit();
  compositor.wait();
}

TEST_F(SniTrayTest, PicturesAreFilesHostsFindByNameRenamedWithEachPictureAndGoneAtQuit) {
  host = {};  // a host that draws the price into the icon
  startWatcher();
  showTray();
  ASSERT_TRUE(spinUntil([&] { return watcher.items.size() == 2; }));
  EXPECT_EQ(property(1, "IconThemePath"), iconRoot() + "/icons");
  EXPECT_FALSE(property(1, "XAyatanaLabel").isValid());  // mate-panel would show it instead of the icon
  const QString first = iconFile(1, "22x22");
  EXPECT_TRUE(QFileInfo::exists(first));
  EXPECT_TRUE(QFileInfo::exists(iconFile(0, "22x22@2")));  // the application's icon, without a theme of its own

  // GTK notices new files by the theme folder's time, in whole seconds: each picture moves it on.
  const auto themeTime = [&] { return QFileInfo(iconRoot() + "/icons/hicolor").lastModified(); };
  const QDateTime before = themeTime();
  price->setAttributedTitle({"XBT/USD\n10700", {}});
  ASSERT_TRUE(spinUntil([&] { return iconFile(1, "22x22") != first; }));
  EXPECT_TRUE(QFileInfo::exists(iconFile(1, "22x22")));
  EXPECT_FALSE(QFileInfo::exists(first));
  EXPECT_GE(before.secsTo(themeTime()), 1);

  SignalLog statuses;
  desktop_.connect(watcher.items[1].first, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "NewStatus", &statuses,
                   SLOT(received(QDBusMessage)));
  price->setNeedsAttention(true);
  ASSERT_TRUE(spinUntil([&] { return property(1, "Status") == "NeedsAttention"; }));
  EXPECT_FALSE(property(1, "AttentionIconName").toString().isEmpty());
  price->setNeedsAttention(false);  // the user looked: hosts must hear that it ended too
  ASSERT_TRUE(spinUntil([&] { return statuses.signals_.size() == 2; }));
  EXPECT_EQ(statuses.signals_[0].arguments().value(0), "NeedsAttention");
  EXPECT_EQ(statuses.signals_[1].arguments().value(0), "Active");
  EXPECT_TRUE(property(1, "AttentionIconName").toString().isEmpty());

  tray.reset();
  EXPECT_FALSE(QDir(iconRoot()).exists());
}

}  // namespace
}  // namespace pricora

#include "SniTrayTest.moc"
