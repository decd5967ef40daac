#include "core/menu/PriceItems.h"

#include <algorithm>
#include <charconv>

#include "core/common/TextOrder.h"

namespace pricora {

namespace {

// Weights on the scale where regular is 0 and bold is 0.4.
constexpr double kTitleWeight = 0.25;
constexpr double kPriceWeight = 0.0;
constexpr double kPadding = 10.0;  // points beside the text

// Title over price: the title in its weight, the line break and the price in theirs.
AttributedTitle twoLines(const std::string& title, const std::string& price, double priceWeight) {
  AttributedTitle text{title + "\n" + price, {}};
  const std::size_t titleLength = graphemeCount(title);
  const std::size_t total = graphemeCount(text.text);
  if (priceWeight == kTitleWeight) {
    text.weights.push_back({0, total, kTitleWeight});
  } else {
    text.weights.push_back({0, titleLength, kTitleWeight});
    text.weights.push_back({titleLength, total - titleLength, priceWeight});
  }
  return text;
}

}  // namespace

PriceItems::PriceItems(StatusBar& statusBar, const TextMetrics& textMetrics, UrlOpener& urlOpener, AppState& state,
                       PairList& pairs, std::function<void()> saveAction)
    : statusBar_(statusBar),
      textMetrics_(textMetrics),
      urlOpener_(urlOpener),
      state_(state),
      pairs_(pairs),
      saveAction_(std::move(saveAction)) {}

StatusItemRef PriceItems::makeItem(const Pair& record, AttributedTitle text) {
  StatusItemRef item = statusBar_.statusItemWithLength(0);
  // Hosts tell items apart and colour them by what they stand for, not by their text.
  ItemSubject subject{record.exchange().value_or(""), record.title().value_or(""), std::nullopt};
  if (const auto exchange = exchangeNamed(subject.exchange)) subject.colour = info(*exchange).colour;
  item->setSubject(std::move(subject));
  // The width is fixed now, from the text the item starts with; later prices never move the
  // items beside it.
  item->setLength(textMetrics_.width(text) + kPadding);
  item->setAttributedTitle(std::move(text));
  return item;
}

void PriceItems::createAtStartup() {
  for (const PairRef& record : pairs_.allArranged()) {
    if (!record->showInMenubar() || !record->title()) continue;
    statusPairs_.push_back({record, makeItem(*record, twoLines(*record->title(), "", kTitleWeight))});
  }
}

MenuRef PriceItems::menuFor(const Menu& lines, const std::string& exchange) const {
  MenuRef menu = lines.copy();
  menu->insertItem(MenuItem::create(exchange, MenuAction::openExchangeWebsite), 0);
  menu->insertItem(MenuItem::separatorItem(), 1);
  menu->setDelegate(menuDelegate_);
  return menu;
}

void PriceItems::show(StatusItem& item, const std::string& title, const std::string& headline,
                      std::string_view priceText, const Menu& lines, const std::string& exchange) const {
  item.setPriceText(std::string(priceText));
  item.setAttributedTitle(twoLines(title, menuBarPriceText(title, headline, scientificFormatter_), kPriceWeight));
  item.setToolTip(headline);
  item.setMenu(menuFor(lines, exchange));
  item.setEarlier(std::nullopt);
}

void PriceItems::showEarlierPrice(const std::string& exchange, const std::string& title, double price,
                                  std::string detail) {
  // Cut as a ticker's price would be, from the number written out in full.
  char digits[400];
  const auto written = std::to_chars(std::begin(digits), std::end(digits), price, std::chars_format::fixed);
  if (written.ec != std::errc()) return;
  const std::string line =
      menuBarPriceText(title, title + ": " + std::string(digits, written.ptr), scientificFormatter_);
  for (const StatusPair& pair : statusPairs_) {
    StatusItem& item = *pair.item;
    if (item.subject().exchange == exchange && item.subject().pair == title &&
        item.attributedTitle().text.ends_with('\n'))
      item.setEarlier(EarlierPrice{line, detail});
  }
}

void PriceItems::updateStatusPair(const PairRef& record, const PairEntryRef& entry) {
  if (!record->title() || !record->exchange()) return;
  const auto found = std::find_if(statusPairs_.begin(), statusPairs_.end(),
                                  [&](const StatusPair& pair) { return pair.record == record; });
  if (found == statusPairs_.end()) return;
  show(*found->item, *record->title(), entry->headline(), entry->priceText(), *entry->tickerLines(),
       *record->exchange());
}

void PriceItems::statusPairsChangedWithSender(const PairRef& record) {
  if (record->showInMenubar()) {
    if (record->title() && record->exchange()) {
      const ExchangeState& exchange = state_.exchanges[exchangeForName(record->exchange())];
      // The pair's own item: its title is the pair's title and ": ", so BTC/USD never takes
      // BTC/USDT's price.
      const std::string key = *record->title() + ": ";
      const auto& items = exchange.submenu->itemArray();
      const auto found = std::find_if(items.begin(), items.end(),
                                      [&](const MenuItemRef& item) { return hasTitlePrefix(item->title(), key); });
      const std::string& title = *record->title();
      if (found != items.end() && (*found)->submenu()) {
        StatusItemRef item = makeItem(
            *record, twoLines(title, menuBarPriceText(title, (*found)->title(), scientificFormatter_), kPriceWeight));
        const std::string& headline = (*found)->title();
        show(*item, title, headline, std::string_view(headline).substr(key.size()), *(*found)->submenu(),
             *record->exchange());
        statusPairs_.push_back({record, item});
      } else {
        // No current entry (its batch is in flight, or its ticker failed): the item starts as it
        // does at launch, with the title alone, and the pair's next ticker fills it.
        statusPairs_.push_back({record, makeItem(*record, twoLines(title, "", kTitleWeight))});
      }
    }
  } else {
    std::erase_if(statusPairs_, [&](const StatusPair& pair) {
      if (pair.record != record) return false;
      statusBar_.removeStatusItem(pair.item);
      return true;
    });
  }
  saveAction_();
}

void PriceItems::openExchangeWebsiteWithSender(const MenuItem& sender) {
  const Exchange exchange = exchangeNamed(sender.title()).value_or(Exchange::Wex);
  urlOpener_.openURL(std::string(info(exchange).homePage));
}

void PriceItems::followMarks() {
  std::erase_if(statusPairs_, [&](const StatusPair& pair) {
    if (!pair.record->isDeleted() && pair.record->showInMenubar() && pair.record->title()) return false;
    statusBar_.removeStatusItem(pair.item);
    return true;
  });
  for (const PairRef& record : pairs_.allArranged()) {
    if (!record->showInMenubar() || !record->title()) continue;
    const bool shown = std::any_of(statusPairs_.begin(), statusPairs_.end(),
                                   [&](const StatusPair& pair) { return pair.record == record; });
    if (!shown) statusPairs_.push_back({record, makeItem(*record, twoLines(*record->title(), "", kTitleWeight))});
  }
}

}  // namespace pricora
