// What the tray says and shows of an item, by host: pure functions, no bus.
#include <gtest/gtest.h>

#include "qt/ItemWords.h"
#include "sni/ItemLook.h"

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
           {{"notification-area-applet"}, {}},  // a label would take the icon's place
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

}  // namespace
}  // namespace pricora
