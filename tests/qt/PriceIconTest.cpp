#include <gtest/gtest.h>

#include <QRegularExpression>

#include "qt/PriceIcon.h"

namespace pricora {
namespace {

TEST(PriceIcon, CompactPricesLoseDigitsOneAtATimeAndKeepTheirMagnitude) {
  struct Row {
    QString price;
    QStringList forms;
  };
  for (const Row& row : std::vector<Row>{
           {"10599.5", {"10599.5", "10600", "10.6k", "11k"}},
           {"1234567", {"1234567", "1.235M", "1.23M", "1.2M"}},
           {"706.390", {"706.390", "706.39", "706.4", "706"}},
           {"0.03412", {"0.03412", ".03412", ".0341", ".034"}},
           {"1.234e-5", {"1.234e-5", "1.23e-5", "1.2e-5", "1e-5"}},
           {"12 345", {"12 345"}},  // not a number: left as it is
       })
    EXPECT_EQ(compactPrices(row.price), row.forms) << row.price.toStdString();
}

TEST(PriceIcon, SquareSlotsShowThreeDigitsFromTwentyTwoPixelsAndFourFromThirtyTwo) {
  struct Row {
    QString price;
    int size;
    qsizetype digits;
  };
  for (const Row& row : std::vector<Row>{{"10599.5", 22, 3},
                                         {"10599.5", 24, 3},
                                         {"706.390", 22, 3},
                                         {"10599.5", 32, 4},
                                         {"706.390", 44, 4},
                                         {"0.03412", 48, 4}}) {
    const BadgeText shown = badgeText(row.price, row.size);
    EXPECT_GE(shown.text.count(QRegularExpression("[0-9]")), row.digits) << shown.text.toStdString();
    EXPECT_GE(shown.digitHeight, row.size < 32 ? 8 : std::round(row.size * 0.36)) << shown.text.toStdString();
  }
  // What is drawn stands as tall as promised: the ink of the digits on the badge.
  const QImage badge = pricePictures({"10599.5", Rgb{218, 64, 122}})[1];
  int top = badge.height(), bottom = -1;
  for (int y = 0; y < badge.height(); ++y)
    for (int x = 0; x < badge.width(); ++x)
      if (qGray(badge.pixel(x, y)) < 40 && qAlpha(badge.pixel(x, y)) > 200)
        top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_GE(bottom - top + 1, 8);
}

TEST(PriceIcon, DigitsAreBlackOrWhiteWhicheverContrastsMoreWithTheBadge) {
  struct Row {
    QColor fill;
    QColor ink;
  };
  for (const Row& row : std::vector<Row>{{QColor(218, 64, 122), Qt::black},  // Kraken
                                         {QColor(93, 17, 247), Qt::white},   // Bitfinex
                                         {QColor(247, 199, 88), Qt::black},  // OKCoin
                                         {QColor(36, 101, 144), Qt::white},  // CoinFloor
                                         {QColor(190, 40, 19), Qt::white},   // GDAX
                                         {QColor(118, 118, 118), Qt::black},
                                         {QColor(0x8a, 0x8a, 0x8a), Qt::black}}) {
    EXPECT_EQ(inkOn(row.fill), row.ink) << row.fill.name().toStdString();
    EXPECT_GE(contrastRatio(row.fill, inkOn(row.fill)), 4.5) << row.fill.name().toStdString();
  }
  EXPECT_NEAR(contrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
}

}  // namespace
}  // namespace pricora
