#include <gtest/gtest.h>

#include <unicode/locid.h>

#include <clocale>

#include "core/menu/PriceFormat.h"

namespace pricora {
namespace {

class PriceFormat : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    // Under a German locale the C library and ICU both write 1,5; the price line must not.
    if (std::string(GetParam()) != "C") {
      ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr) << "set LOCPATH to the build's locale folder";
      icu::Locale::setDefault(icu::Locale::getGermany(), status);
    }
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    icu::Locale::setDefault(icu::Locale::getUS(), status);
  }
  std::string price(const std::string& title, const std::string& headline) {
    return menuBarPriceText(title, headline, formatter);
  }

  UErrorCode status = U_ZERO_ERROR;
  ScientificFormatter formatter;
};

TEST_P(PriceFormat, CutsPricesToTheTitlesWidthAndWritesTinyOnesScientifically) {
  EXPECT_EQ(price("BTC/USD", "BTC/USD: 912.3456"), "912.345");
  EXPECT_EQ(price("BTC/USD", "BTC/USD: 95.5"), "95.5");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0.00001234"), "1.234e-5");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0.0011"), "0.0011");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0.001"), "0.001");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0.00099"), "9.9e-4");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0.0001"), "1e-4");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0"), "0e+0");
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: -0.5"), "-5e-1");
  EXPECT_EQ(price("USDT/USD", "USDT/USD: 1.000123456"), "1.000123");
  // Ties round to even; 1.0625 and 1.1875 are exact in binary, so they are true ties.
  EXPECT_EQ(formatter.format(1.0625f), "1.062e+0");
  EXPECT_EQ(formatter.format(1.1875f), "1.188e+0");
}

TEST_P(PriceFormat, LeavesWhatIsNotANumberAlone) {
  EXPECT_EQ(price("BTC/USD", "BTC/USD: "), "");
  EXPECT_EQ(price("BTC/USD", "BTC/USD"), "");
  EXPECT_EQ(price("BTC/USD", "BTC/US"), "");
  EXPECT_EQ(price("BTC/USD", "BTC/USD: 9 123.45"), "9 123.4");
  EXPECT_EQ(price("BTC/USD", "BTC/USD: 9,123.45"), "9,123.4");
  EXPECT_EQ(price("BTC/USD", "BTC/USD: n/a"), "n/a");
  EXPECT_EQ(price("BTC/USD", "BTC/USD: 0,0001"), "0,0001");
  // A tiny number followed by text: the cut number is the one written.
  EXPECT_EQ(price("ETH/BTC", "ETH/BTC: 0.00001 BTC"), "1e-5");
}

TEST_P(PriceFormat, CountsUserPerceivedCharacters) {
  // "É" written as E and a combining accent is one character of the title.
  EXPECT_EQ(price("E\xCC\x81TH/EUR", "E\xCC\x81TH/EUR: 1234.56789"), "1234.56");
  EXPECT_EQ(price("\xF0\x9F\x90\xB6/USD", "\xF0\x9F\x90\xB6/USD: 12345"), "12345");
  EXPECT_EQ(graphemeCount("e\xCC\x81\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"), 2u);
}

INSTANTIATE_TEST_SUITE_P(Locales, PriceFormat, ::testing::Values("C", "de_DE.UTF-8"));

}  // namespace
}  // namespace pricora
