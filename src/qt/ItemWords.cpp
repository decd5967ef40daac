#include "qt/ItemWords.h"

#include <QStringList>

#include "core/exchanges/NetworkText.h"

namespace pricora {

namespace {

// A price with its thousands grouped, keeping every digit it has: "10558.80" -> "10,558.80".
QString grouped(const QString& price, const QLocale& locale) {
  bool number = false;
  const double value = price.toDouble(&number);
  if (!number || price.contains('e', Qt::CaseInsensitive)) return price;
  const qsizetype point = price.indexOf('.');
  const int decimals = point < 0 ? 0 : static_cast<int>(price.size() - point - 1);
  return locale.toString(value, 'f', decimals);
}

}  // namespace

ItemWords wordsOf(const StatusItem& item) {
  const ItemSubject& subject = item.subject();
  if (subject.empty()) return {};
  // Titles and prices come from the exchanges: shown as any text from outside is.
  const auto shown = [](std::string_view text) { return QString::fromStdString(shownText(text)); };
  ItemWords words{shown(subject.pair), shown(subject.exchange), {}, {}, {}, shown(item.holding())};
  const std::string& text = item.attributedTitle().text;
  if (const std::size_t lineBreak = text.find('\n'); lineBreak != std::string::npos)
    words.price = shown(std::string_view(text).substr(lineBreak + 1));
  words.fullPrice = item.priceText().empty() ? words.price : shown(item.priceText());
  // Before this run's first price, an earlier run's last, its age said in the tool tip.
  if (const auto& earlier = item.earlier(); earlier && words.price.isEmpty()) {
    words.price = shown(earlier->price);
    words.fullPrice = shown(earlier->detail);
  }
  if (item.move()) words.move = QString::fromStdString(item.move()->text);
  return words;
}

QString baseOf(const QString& pair) { return pair.section('/', 0, 0); }

QString shownOf(const ItemWords& words) { return words.price.isEmpty() ? baseOf(words.pair) : words.price; }

QString nameOf(const ItemWords& words) {
  return words.exchange.isEmpty() ? words.pair : words.pair + ", " + words.exchange;
}

QString detailOf(const ItemWords& words) {
  QStringList lines;
  for (const QString& line : {words.fullPrice, words.move, words.holding})
    if (!line.isEmpty()) lines << line;
  return lines.join('\n');
}

QString spokenOf(const ItemWords& words, const QLocale& locale) {
  QStringList parts{words.price.isEmpty() ? words.pair : words.pair + ' ' + grouped(words.price, locale)};
  for (const QString& part : {words.exchange, words.move})
    if (!part.isEmpty()) parts << part;
  return words.holding.isEmpty() ? parts.join(", ") : parts.join(", ") + ". " + words.holding;
}

QString applicationToolTipOf(const StatusItem& item) {
  QStringList lines;
  for (const std::string& line : {item.toolTip(), item.holding()})
    if (!line.empty()) lines << QString::fromStdString(shownText(line));
  return lines.join('\n');
}

}  // namespace pricora
