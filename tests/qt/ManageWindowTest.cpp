#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <filesystem>

#include "core/app/AppDelegate.h"
#include "qt/DeferredManageWindow.h"
#include "qt/Translation.h"
#include "support/FakeNotifier.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "xdg/XdgLoginItems.h"

namespace pricora {
namespace {

std::vector<std::string> names() {
  std::vector<std::string> out;
  for (Exchange exchange : kAllExchanges) out.emplace_back(displayName(exchange));
  return out;
}

// The application with the real management window, built when first shown, and real autostart
// entries; the rest fake.
class ManageWindowTest : public ::testing::Test {
 protected:
  ManageWindowTest() {
    delegate->applicationDidFinishLaunching();
    platform.queue.advance(Seconds(0.25));
  }
  // Opens the window as its menu entry does.
  QtManageWindow& show() {
    MenuItem manage("Manage", MenuAction::showManageWindow);
    delegate->sendAction(MenuAction::showManageWindow, manage);
    return *deferred.built();
  }
  void choose(const char* exchange) {
    for (QAbstractButton* button : window().segments()->buttons())
      if (button->text() == exchange) QTest::mouseClick(button, Qt::LeftButton);
  }
  QStringList rows() {
    QStringList titles;
    for (int row = 0; row < window().table()->model()->rowCount(); ++row)
      titles << window().table()->model()->index(row, 0).data().toString();
    return titles;
  }
  // Puts the keyboard focus on a cell and presses the space bar, as a user would.
  void toggle(int row, int column) {
    window().table()->setCurrentIndex(window().table()->model()->index(row, column));
    QTest::keyClick(window().table(), Qt::Key_Space);
  }
  bool checked(int row, int column) {
    return window().table()->model()->index(row, column).data(Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  QtManageWindow& window() { return *deferred.built(); }
  std::size_t favourites() { return delegate->state().statusMenu->numberOfItems() - 15; }

  test::TempDir dir;
  test::FakeNotifier notifier;
  NoHistoryFile fullDisk{Error{"Pricora could not save the alerts to “h”.", "{sqlite = \"database full (13)\"}"}};
  test::FakePlatform platform{{{0, "Kraken", "XBT/USD", false, false}, {0, "Kraken", "ETH/XBT", false, false}}};
  DeferredManageWindow deferred{names()};
  XdgLoginItems loginItems{dir.file("autostart"), "/opt/pricora/bin/pricora"};
  AppServices services{platform.queue, platform.queue, platform.fetch,    platform.statusBar,
                       platform.host,  platform.host,  platform.settings, platform.bundle,
                       platform.host,  loginItems,     deferred};
  std::unique_ptr<AppDelegate> delegate = std::make_unique<AppDelegate>(services, *platform.context);
};

TEST_F(ManageWindowTest, ListsOneExchangeAndItsBoxesChangeTheTrayAtOnce) {
  // Nothing is built before the window is first shown; then it has the look asked for at launch.
  EXPECT_EQ(deferred.built(), nullptr);
  EXPECT_EQ(deferred.selectedSegmentLabel(), "Wex");
  const QtManageWindow& shown = show();
  EXPECT_TRUE(shown.isVisible());
  EXPECT_TRUE(shown.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window().table()->alternatingRowColors());

  choose("Kraken");
  EXPECT_EQ(rows(), (QStringList{"ETH/XBT", "XBT/USD"}));
  delegate->statusMenu().pairHandOff(Exchange::Kraken, "XBT/USD", makeEntry("XBT/USD", "9000.1", {}));

  toggle(1, ManageTableModel::Favourite);
  EXPECT_TRUE(checked(1, ManageTableModel::Favourite));
  EXPECT_EQ(favourites(), 1u);
  toggle(1, ManageTableModel::MenuBar);
  EXPECT_EQ(platform.statusBar.items().size(), 2u);
  EXPECT_FALSE(platform.context->hasChanges());  // both saved

  toggle(1, ManageTableModel::Favourite);
  toggle(1, ManageTableModel::MenuBar);
  EXPECT_EQ(favourites(), 0u);
  EXPECT_EQ(platform.statusBar.items().size(), 1u);
  EXPECT_EQ(delegate->pairList().filter(), "Kraken");

  // Pairs discovered during a refresh appear, unticked, once it completes.
  delegate->statusMenu().pairHandOff(Exchange::Kraken, "ADA/EUR", makeEntry("ADA/EUR", "0.3", {}));
  EXPECT_EQ(rows().size(), 2);
  platform.fetch.respondToAll([](const std::string&) { return std::nullopt; });
  platform.queue.runUntilIdle();
  EXPECT_EQ(rows(), (QStringList{"ADA/EUR", "ETH/XBT", "XBT/USD"}));
  EXPECT_FALSE(checked(0, ManageTableModel::Favourite));
}

TEST_F(ManageWindowTest, TheFilterKeepsThePairsThatContainItAndTheRowsStillAct) {
  std::vector<std::string> charts;
  deferred.setShowChart(
      [&](const std::string& exchange, const std::string& title) { charts.push_back(exchange + " " + title); });
  show();
  choose("Kraken");
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  QTest::keyClick(window().table(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(window().filter()->hasFocus());
  const std::pair<const char*, QStringList> cases[] = {
      {"eth", {"ETH/XBT"}},   {"XbT", {"ETH/XBT", "XBT/USD"}},  {"/usd", {"XBT/USD"}},
      {"doge", {}},           {"krak", {"ETH/XBT", "XBT/USD"}},  // the exchange's name
      {" usd ", {"XBT/USD"}},
  };
  for (const auto& [text, kept] : cases) {
    window().filter()->setText(text);
    EXPECT_EQ(rows(), kept) << text;
  }
  // The boxes and the chart act on the row shown, not on the row at the same place unfiltered.
  toggle(0, ManageTableModel::Favourite);
  const QModelIndex pair = window().table()->model()->index(0, ManageTableModel::Pair);
  // As a double click on the pair's cell signals it (QTest's double click does not reach item views).
  Q_EMIT window().table()->doubleClicked(pair);
  Q_EMIT window().table()->doubleClicked(pair.siblingAtColumn(ManageTableModel::Alert));  // edits, shows nothing
  EXPECT_EQ(charts, (std::vector<std::string>{"Kraken XBT/USD"}));
  // Esc clears a filter with text; the rows come back.
  QTest::keyClick(window().filter(), Qt::Key_Escape);
  EXPECT_EQ(window().filter()->text(), "");
  EXPECT_EQ(rows(), (QStringList{"ETH/XBT", "XBT/USD"}));
  EXPECT_FALSE(checked(0, ManageTableModel::Favourite));
  EXPECT_TRUE(checked(1, ManageTableModel::Favourite));
}

TEST_F(ManageWindowTest, AlertsAreTypedIntoTheirColumnAndWhatWentWrongShowsInPlace) {
  delegate.reset();
  delegate = std::make_unique<AppDelegate>(services, *platform.context, WatchParts{fullDisk, notifier, "en_US"});
  delegate->applicationDidFinishLaunching();
  platform.queue.advance(Seconds(0.25));
  show();
  choose("Kraken");
  QAbstractItemModel& model = *window().table()->model();
  const auto type = [&](const char* text) {
    EXPECT_TRUE(model.flags(model.index(1, ManageTableModel::Alert)) & Qt::ItemIsEditable);
    model.setData(model.index(1, ManageTableModel::Alert), text, Qt::EditRole);
    platform.queue.runUntilIdle();
    return model.index(1, ManageTableModel::Alert);
  };
  const QModelIndex wrong = type("> abc");
  EXPECT_EQ(wrong.data().toString(), "> abc");
  EXPECT_EQ(wrong.data(Qt::ToolTipRole).toString(), "abc is not a number");
  EXPECT_TRUE(wrong.data(Qt::ForegroundRole).isValid());
  EXPECT_EQ(window().note()->text(), "XBT/USD: abc is not a number");
  // Well typed, but the disk is full: the user is told, and the row keeps the text.
  EXPECT_EQ(type("> 11000").data(Qt::ToolTipRole).toString(), "Pricora could not save the alerts to “h”.");
  EXPECT_EQ(model.index(1, ManageTableModel::Alert).data().toString(), "> 11000");
}

TEST_F(ManageWindowTest, LaunchAtLoginWritesAndRemovesTheAutostartEntry) {
  const std::string entry = loginItems.entryPath("example.pricora.Pricora-Helper");
  MenuItem& item = *delegate->state().launchAtStartupMenuItem;
  delegate->sendAction(MenuAction::launchAtStartupChanged, item);
  EXPECT_EQ(item.state(), 1);
  ASSERT_TRUE(std::filesystem::is_regular_file(entry));
  EXPECT_EQ(std::system(("desktop-file-validate '" + entry + "'").c_str()), 0);
  delegate->sendAction(MenuAction::launchAtStartupChanged, item);
  EXPECT_EQ(item.state(), 0);
  EXPECT_FALSE(std::filesystem::exists(entry));

  // A file where the autostart folder belongs: registering fails, the choice is still kept.
  std::filesystem::remove_all(dir.file("autostart"));
  dir.write("autostart", "in the way");
  delegate->sendAction(MenuAction::launchAtStartupChanged, item);
  EXPECT_TRUE(platform.settings.boolForKey("launchAtStartup"));
  EXPECT_EQ(platform.host.printedLines, (std::vector<std::string>{"Changing login item status failed."}));
}

TEST(ManageWindowLanguage, FollowsTheUsersLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const Translation german(*QCoreApplication::instance(), PRICORA_BUILD_RESOURCES);
  QLocale::setDefault(QLocale::system());
  QtManageWindow window(names());
  EXPECT_EQ(window.windowTitle(), "Pricora verwalten");
  EXPECT_EQ(window.table()->model()->headerData(ManageTableModel::MenuBar, Qt::Horizontal).toString(), "Menüleiste");
  EXPECT_EQ(window.segments()->buttons()[2]->accessibleName(), "Die Paare von Kraken zeigen");
}

}  // namespace
}  // namespace pricora
