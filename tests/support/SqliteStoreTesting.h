#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "platform/PairStore.h"

namespace pricora {

// Lets a failed comparison show the pairs rather than their bytes.
inline void PrintTo(const StoredPair& pair, std::ostream* out) {
  const auto text = [](const std::optional<std::string>& value) { return value ? "\"" + *value + "\"" : "NULL"; };
  *out << "{" << pair.id << ", " << text(pair.exchange) << ", " << text(pair.title) << ", " << pair.isFavourite << ", "
       << pair.showInMenubar << "}";
}

namespace test {

// Every stored pair; a store that cannot read them fails the test.
inline std::vector<StoredPair> loadPairs(PairStore& store) {
  auto pairs = store.loadAll();
  EXPECT_TRUE(pairs) << pairs.error().description << " " << pairs.error().userInfo;
  return pairs ? pairs.value() : std::vector<StoredPair>();
}

}  // namespace test
}  // namespace pricora
