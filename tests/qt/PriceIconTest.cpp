#include <gtest/gtest.h>

#include "qt/PriceIcon.h"

namespace pricora {
namespace {

TEST(PriceIcon, CompactPricesGetShorterAndKeepTheirMagnitude) {
  struct Row {
    QString price;
    QStringList forms;
  };
  for (const Row& row : std::vector<Row>{
           {"10599.5", {"10599.5", "10.6k", "11k"}},
           {"1234567", {"1234567", "1.235M", "1.23M", "1.2M"}},
           {"912.345", {"912.345", "912.3", "912"}},
           {"0.03412", {"0.03412", ".03412", ".0341", ".034"}},
           {"1.234e-5", {"1.234e-5", "1.23e-5", "1.2e-5", "1e-5"}},
           {"12 345", {"12 345"}},  // not a number: left as it is
           {"", {""}},
       })
    EXPECT_EQ(compactPrices(row.price), row.forms) << row.price.toStdString();
}

TEST(PriceIcon, SmallSlotsShowThePriceTallerThanTwoLinesWould) {
  const QIcon icon = priceIcon({"XBT/USD\n10599.5", {}}, false);
  for (int size : {22, 24}) {
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    int top = size, bottom = -1;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (qAlpha(image.pixel(x, y)) > 128) top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_GE(bottom - top + 1, 9) << size;
  }
}

}  // namespace
}  // namespace pricora
