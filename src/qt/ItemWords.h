#pragma once

#include <QLocale>
#include <QString>

#include "model/StatusBar.h"

namespace pricora {

// What a price item says in words, for tool tips, names and screen readers: the pair and its
// exchange from what the item stands for, the price as the bar shows it and as the menu does, and
// how it moved lately. All empty for the application's own item.
struct ItemWords {
  QString pair;       // "XBT/USD"
  QString exchange;   // "Kraken"
  QString price;      // as the bar shows it, "10558.8"; an earlier run's until the first, or empty
  QString fullPrice;  // every digit the exchange sent, as the menu shows it: "10558.80000", or an earlier
                      // price with its age: "10,558.8 · 3 h ago"
  QString move;       // "+1.5 % in 24 h", or empty
  QString holding;    // "Holding 0.25 XBT: 2,639.70 USD, +1.2 % in 24 h", or empty
};

ItemWords wordsOf(const StatusItem& item);

// The pair's first currency: "XBT".
QString baseOf(const QString& pair);

// What the item's picture shows: its price, or before the first price the pair's first currency.
QString shownOf(const ItemWords& words);

// "XBT/USD, Kraken": the tool tip's title, and the item's name where a host lists items.
QString nameOf(const ItemWords& words);

// The tool tip's text: the full price, and the move and the holding each on a line of its own.
QString detailOf(const ItemWords& words);

// What a screen reader says: "XBT/USD 10,558.8, Kraken, +1.5 % in 24 h", the digits grouped as the
// locale groups them, and the holding after a full stop.
QString spokenOf(const ItemWords& words, const QLocale& locale = QLocale());

// The application's own item's tool tip: its text, and the holdings' totals on a line of their own.
QString applicationToolTipOf(const StatusItem& item);

}  // namespace pricora
