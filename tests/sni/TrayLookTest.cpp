// What the tray says and shows of an item, by host: pure functions, no bus.
#include <gtest/gtest.h>

#include <QMenu>

#include <algorithm>
#include <climits>
#include <set>

#include "core/alerts/AlertWords.h"
#include "core/bar/BarLine.h"
#include "core/exchanges/NetworkText.h"
#include "qt/ItemWords.h"
#include "qt/MenuMirror.h"
#include "sni/ItemLook.h"
#include "sni/MenuIdRegistry.h"
#include "sni/MenuItemProperties.h"
#include "support/FakeHost.h"

namespace pricora {
namespace {

TEST(TrayLook, OnlyHostsKnownToDrawLabelsGetThemAndGnomeSharesItsBar) {
  struct Row {
    QStringList processNames;  // the program's file name, the kernel's short name
    HostTraits traits;
  };
  for (const Row& row : std::vector<Row>{
           {{"gnome-shell", "gnome-shell"}, {true, 34}},
           {{"ayatana-indicator-application-service", "ayatana-indicat"}, {true, 0}},
           {{"", "ayatana-indicat"}, {true, 0}},  // another user's process: only its short name
           {{"notification-area-applet"}, {}},    // a label would take the icon's place
           {{"kded5", "kded5"}, {}},
           {{"wrapper-2.0", "panel-2-systray"}, {false, 0, true}},
           {{"ayatana-indicator"}, {}},  // a short name is cut at 15 characters, not earlier
           {{}, {}},
       })
    EXPECT_EQ(hostTraits(row.processNames), row.traits) << row.processNames.join(' ').toStdString();
}

TEST(TrayLook, LabelsGiveUpTheirNamesBeforeAnyDigitWhenTheBarIsNarrow) {
  const ItemSubject xbt{"Kraken", "XBT/USD", {}}, eth{"Kraken", "ETH/EUR", {}}, btc{"Bitstamp", "BTC/USD", {}};
  const ItemSubject xbtEur{"Kraken", "XBT/EUR", {}};
  struct Row {
    std::vector<ItemSubject> subjects;
    HostTraits host;
    int screenWidth;
    LabelForm form;
  };
  for (const Row& row : std::vector<Row>{
           {{xbt, eth, btc}, {true, 34}, 1920, LabelForm::Pair},
           {{xbt, eth, btc}, {true, 34}, 1280, LabelForm::Base},
           {{xbt, xbtEur, btc}, {true, 34}, 1280, LabelForm::PriceOnly},  // "XBT" would not say which
           {{xbt, eth, btc, xbtEur}, {true, 34}, 1024, LabelForm::PriceOnly},
           {{xbt, eth, btc}, {true, 0}, 1024, LabelForm::Pair},  // room enough
       })
    EXPECT_EQ(labelFormFor(row.subjects, {row.host, {}, row.screenWidth}), row.form) << row.screenWidth;
}

TEST(TrayLook, APriceItemIsNamedByWhatItStandsForAndReadOutWithItsMove) {
  StatusItem item(0);
  item.setSubject({"Kraken", "XBT/USD", Rgb{218, 64, 122}});
  item.setAttributedTitle({"XBT/USD\n", {}});
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(spokenOf(wordsOf(item), english), "XBT/USD, Kraken");
  EXPECT_EQ(shownOf(wordsOf(item)), "XBT");
  item.setEarlier(EarlierPrice{"10558.8", "10,558.8 · 3 h ago"});
  EXPECT_EQ(shownOf(wordsOf(item)), "10558.8");
  EXPECT_EQ(detailOf(wordsOf(item)), "10,558.8 · 3 h ago");

  item.setAttributedTitle({"XBT/USD\n10558.8", {}});
  item.setToolTip("XBT/USD: 10558.80000");  // this run's price, over the earlier one
  item.setPriceText("10558.80000");
  item.setMove(PriceMove{1.5, "+1.5 % in 24 h", {}});
  const ItemWords words = wordsOf(item);
  EXPECT_EQ(nameOf(words), "XBT/USD, Kraken");
  EXPECT_EQ(detailOf(words), "10558.80000\n+1.5 % in 24 h");
  EXPECT_EQ(spokenOf(words, english), "XBT/USD 10,558.8, Kraken, +1.5 % in 24 h");
  EXPECT_EQ(wordsOf(StatusItem(20)).pair, "");  // the application's own item says nothing of prices
}

// Whether a text shown to people holds a character that could turn it, or the text after it,
// around or break it: a control (but a line feed between lines), a format character, a line or
// paragraph separator.
bool turnsNothing(const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    switch (QChar::category(c)) {
      case QChar::Other_Control:
        if (c != '\n') return false;
        break;
      case QChar::Other_Format:
      case QChar::Separator_Line:
      case QChar::Separator_Paragraph:
        return false;
      default:
        break;
    }
  }
  return true;
}

struct NoTarget final : MenuActionTarget {
  void sendAction(MenuAction, MenuItem&) override {}
};

// An exchange may send anything as a price (non-numeric prices are kept as they came): every
// output shows it without the characters that turn text around, and cuts it between whole
// characters with their marks.
TEST(HostileText, NoOutputShowsWhatWouldTurnOrBreakTheTextAroundIt) {
  const std::string marks = "ab" + [] {
    std::string pairs;
    for (int i = 0; i < 200; ++i) pairs += "e\u0301";
    return pairs;
  }();
  struct Row {
    std::string sent;
    std::string shown;
  };
  const std::vector<Row> rows{
      {"\u202E10599.5", " 10599.5"},                                         // right-to-left override
      {"\u202A1\u202B2\u202C3\u202D4", " 1 2 3 4"},                          // embeddings, pop
      {"\u2066XBT\u2067/\u2068USD\u2069", " XBT / USD "},                    // isolates
      {"\u200E9\u200F8\u061C7", " 9 8 7"},                                   // marks
      {"1\u20282\u20293", "1 2 3"},                                          // line, paragraph separators
      {"\u206B5\u206A\uFEFF\u200B", " 5   "},                                // mirroring switches, invisibles
      {"\U000E0001tag\U000E007F", " tag "},                                  // tags
      {"\t\x7F\xC2\x85\xFF", "   \uFFFD"},                                   // controls, a stray byte
      {"\u00E9e\u0301 \u20AC\U0001F4C8", "\u00E9e\u0301 \u20AC\U0001F4C8"},  // letters, marks, signs stay
      {marks, marks.substr(0, 2 + 83 * 3) + "\u2026"},                       // never a mark without its letter
  };
  test::FakeHost host;
  const LocaleFormat format("en_US");
  const AlertWords words(host, format);
  ImageCache images{QString()};
  NoTarget target;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.sent);
    EXPECT_EQ(shownText(row.sent), row.shown);

    std::vector<QString> outputs;
    BarView view{{{row.sent, row.sent, row.sent + ": " + row.sent, {"Bid: " + row.sent}, {}, {}, false}}};
    for (BarFormat bar : {BarFormat::waybar, BarFormat::polybar, BarFormat::i3blocks}) {
      const std::string line = barLine(bar, view);
      outputs.push_back(QString::fromStdString(line.substr(0, line.size() - 1)));
    }
    for (const HostTraits& traits : {HostTraits{true, 0}, HostTraits{}}) {
      StatusItem item(0);
      item.setSubject({"Kraken", row.sent, Rgb{218, 64, 122}});
      item.setAttributedTitle({row.sent + "\n" + row.sent, {}});
      item.setToolTip(row.sent + ": " + row.sent);
      const SniLook look = lookOf(item, images, {traits, {}, 1280}, LabelForm::Pair, 1).sni;
      outputs.insert(outputs.end(),
                     {look.label, look.title, look.accessibleDesc, look.toolTip.title, look.toolTip.text});
      const ItemWords itemWords = wordsOf(item);
      outputs.insert(outputs.end(), {nameOf(itemWords), detailOf(itemWords), spokenOf(itemWords)});
    }
    outputs.push_back(dbusMenuLabel(row.sent));
    MenuRef menu = Menu::create();
    menu->addItemWithTitle(row.sent);
    MenuMirror mirror(menu, target, images);
    Q_EMIT mirror.menu()->aboutToShow();  // as it opens
    ASSERT_EQ(mirror.menu()->actions().size(), 1);
    outputs.push_back(mirror.menu()->actions()[0]->text());
    AlertRecord alert;
    alert.pair = {row.sent, row.sent};
    alert.level = 11000;
    outputs.push_back(QString::fromStdString(words.summary(alert)));
    outputs.push_back(QString::fromStdString(words.body(alert, row.sent, 11000, WallTime{})));
    for (std::size_t i = 0; i < outputs.size(); ++i)
      EXPECT_TRUE(turnsNothing(outputs[i])) << i << ": " << outputs[i].toStdString();
  }
}

// Ids never run out and never name two live items: a year of refreshes runs through the last ids
// there are here, and an item made anew in place of one that is gone keeps its id.
TEST(MenuIds, StayInRangeNameOneLiveItemEachAndStayWithTheirPlace) {
  MenuIdRegistry ids(INT_MAX - 4);  // four ids
  const MenuRef menu = Menu::create();
  const MenuItemRef kept = menu->addItemWithTitle("Updated: Just now");
  const int keptId = ids.idOf(kept, 0, 0);
  std::vector<MenuItemRef> pairs;
  std::vector<int> given;
  for (int refresh = 0; refresh < 1000; ++refresh) {
    pairs.clear();  // the exchange's submenu, emptied and filled anew
    given.clear();
    for (int pair = 0; pair < 3; ++pair) {
      pairs.push_back(MenuItem::create("XBT/USD: " + std::to_string(refresh % 2 == 0 ? pair : refresh * 3 + pair)));
      given.push_back(ids.idOf(pairs.back(), keptId, 0));
      EXPECT_GE(given.back(), INT_MAX - 4);
      EXPECT_LT(given.back(), INT_MAX);
      EXPECT_EQ(ids.itemWithId(given.back()), pairs.back());
    }
    ASSERT_EQ(std::set<int>(given.begin(), given.end()).size(), 3u) << refresh;
    EXPECT_EQ(std::count(given.begin(), given.end(), keptId), 0) << refresh;
  }
  kept->setTitle("Updated: 1 minute ago");
  EXPECT_EQ(ids.idOf(kept, 0, 0), keptId);  // a live item keeps its id whatever it says

  MenuIdRegistry places;
  MenuItemRef first = MenuItem::create("BTC/USD: 1"), twin = MenuItem::create("BTC/USD: 1");
  const int firstId = places.idOf(first, 5, 0), twinId = places.idOf(twin, 5, 1);
  EXPECT_NE(firstId, twinId);
  first = MenuItem::create("BTC/USD: 1");  // the next refresh: the same pair at the same price
  EXPECT_EQ(places.idOf(first, 5, 0), firstId);
  EXPECT_NE(places.idOf(MenuItem::create("BTC/USD: 1"), 5, 0), firstId);  // while the first lives
  twin = MenuItem::create("BTC/USD: 1");
  EXPECT_NE(places.idOf(twin, 6, 1), twinId);  // below another node
  EXPECT_EQ(places.itemWithId(0), nullptr);
}

}  // namespace
}  // namespace pricora
