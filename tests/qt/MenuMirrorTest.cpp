#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>

#include <string>
#include <vector>

#include "formats/MenuDump.h"
#include "qt/MenuMirror.h"
#include "qt/TrayHost.h"

namespace pricora {
namespace {

struct RecordingTarget final : MenuActionTarget, MenuDelegate {
  void sendAction(MenuAction action, MenuItem& sender) override {
    actions.push_back(std::string(selectorName(action)) + " from " + sender.title());
  }
  void menuWillOpen(Menu&) override { ++opened; }
  void menuDidClose(Menu&) override { ++closed; }
  std::vector<std::string> actions;
  int opened = 0;
  int closed = 0;
};

class MenuMirrorTest : public ::testing::Test {
 protected:
  void SetUp() override { model->setDelegate(&target); }
  void TearDown() override { model->setDelegate(nullptr); }

  QStringList texts() {
    QStringList out;
    for (QAction* action : mirror.menu()->actions()) out << (action->isSeparator() ? "---" : action->text());
    return out;
  }
  void show() {
    mirror.menu()->popup(QPoint(10, 10));
    QApplication::processEvents();
  }

  RecordingTarget target;
  ImageCache images{QString()};
  MenuRef model = Menu::create();
  MenuMirror mirror{model, target, images};
};

TEST_F(MenuMirrorTest, ShowsTitlesFromTheNetworkLiterallyAndSendsTheChosenSelector) {
  model->addItemWithTitle("Fish & Chips\tGBP: 5");
  model->addItem(MenuItem::separatorItem());
  model->addItemWithTitle("R&D", MenuAction::refreshPairs);
  show();
  EXPECT_EQ(texts(), (QStringList{"Fish && Chips GBP: 5", "---", "R&&D"}));
  EXPECT_FALSE(mirror.menu()->actions()[0]->isEnabled());
  mirror.menu()->actions()[0]->trigger();
  mirror.menu()->actions()[2]->trigger();
  EXPECT_EQ(target.actions, (std::vector<std::string>{"refreshPairs from R&D"}));
}

TEST_F(MenuMirrorTest, AnOpenMenuFollowsTheModelAndKeepsUnchangedActions) {
  auto stays = model->addItemWithTitle("Kraken");
  stays->setSubmenu(Menu::create());
  model->addItemWithTitle("Updated: Just now", MenuAction::refreshPairs);
  show();
  QAction* kept = mirror.menu()->actions()[0];

  model->lastItem()->setTitle("Updated: 15 seconds ago");
  model->insertItem(MenuItem::create("Bitfinex"), 0);
  EXPECT_EQ(texts(), (QStringList{"Kraken", "Updated: Just now"}));  // not before the event loop turns
  QApplication::processEvents();
  EXPECT_EQ(texts(), (QStringList{"Bitfinex", "Kraken", "Updated: 15 seconds ago"}));
  EXPECT_EQ(mirror.menu()->actions()[1], kept);
  EXPECT_NE(kept->menu(), nullptr);

  model->removeItemAtIndex(0);
  QApplication::processEvents();
  EXPECT_EQ(texts(), (QStringList{"Kraken", "Updated: 15 seconds ago"}));
  EXPECT_EQ(mirror.menu()->actions()[0], kept);
}

TEST_F(MenuMirrorTest, AHiddenMenuCatchesUpWhenShownAndSubmenusFillLazily) {
  auto exchange = model->addItemWithTitle("Bitstamp");
  auto pairs = Menu::create();
  pairs->addItemWithTitle("BTC/USD: 9000");
  exchange->setSubmenu(pairs);
  show();
  QMenu* submenu = mirror.menu()->actions()[0]->menu();
  ASSERT_NE(submenu, nullptr);
  EXPECT_TRUE(submenu->actions().isEmpty());  // filled when it opens
  mirror.menu()->hide();

  model->addItemWithTitle("Quit Pricora", MenuAction::terminate);
  EXPECT_EQ(mirror.menu()->actions().size(), 1);
  submenu->popup(QPoint(50, 50));
  QApplication::processEvents();
  ASSERT_EQ(submenu->actions().size(), 1);
  EXPECT_EQ(submenu->actions()[0]->text(), "BTC/USD: 9000");
  submenu->hide();
  show();
  EXPECT_EQ(texts(), (QStringList{"Bitstamp", "Quit Pricora"}));
}

// Every price gives a price item a new menu: the XEmbed tray's open menu follows it, open, and
// delegates hear of the menus the user opened, once each way.
TEST_F(MenuMirrorTest, AnOpenTrayMenuFollowsEachNewPrice) {
  StatusBar bar;
  const StatusItemRef item = bar.statusItemWithLength(0);
  item->setMenu(model);
  const QWidgetList before = QApplication::topLevelWidgets();
  TrayHost tray(bar, target, images);
  QPointer<QMenu> shown;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (!before.contains(widget)) shown = qobject_cast<QMenu*>(widget);
  shown->popup(QPoint(10, 10));
  const MenuRef next = Menu::create();
  next->setDelegate(&target);
  next->addItemWithTitle("Bid: 2");
  item->setMenu(next);
  EXPECT_EQ(target.closed, 1);
  QApplication::processEvents();
  ASSERT_TRUE(shown && shown->isVisible());
  EXPECT_EQ(shown->actions().value(0)->text(), "Bid: 2");
  shown->hide();
  shown->popup(QPoint(10, 10));
  EXPECT_EQ(target.opened, 2);
  shown->hide();
  EXPECT_EQ(target.closed, 2);
}

}  // namespace
}  // namespace pricora
