#include "core/alerts/KnownPairs.h"

#include <algorithm>
#include <cctype>

#include "core/common/Texts.h"
#include "core/exchanges/NetworkText.h"

namespace pricora {

namespace {

// The closest titles named when a title is unknown, at most.
constexpr std::size_t kMostSuggested = 3;

std::string folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Edits from one text to the other: a character left out, put in, changed, or two swapped.
std::size_t editDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  return d[a.size()][b.size()];
}

}  // namespace

KnownPairs::KnownPairs(std::vector<PairName> pairs) : pairs_(std::move(pairs)) {}

std::variant<PairName, TextProblem> KnownPairs::find(const PairName& typed, const char* noneSeen) const {
  const std::string wanted = folded(typed.title);
  std::vector<std::pair<std::size_t, const PairName*>> near;
  const PairName* found = nullptr;
  for (const PairName& pair : pairs_) {
    if (pair.exchange != typed.exchange) continue;
    if (pair.title == typed.title) return pair;
    const std::string title = folded(pair.title);
    if (title == wanted) {
      if (found == nullptr) found = &pair;
      continue;
    }
    // A slip of a character or two, more in a longer title.
    if (const std::size_t distance = editDistance(title, wanted);
        distance <= std::max<std::size_t>(2, wanted.size() / 4))
      near.emplace_back(distance, &pair);
  }
  if (found != nullptr) return *found;
  const std::string exchange = shownText(typed.exchange), title = shownText(typed.title);
  if (std::none_of(pairs_.begin(), pairs_.end(), [&](const PairName& pair) { return pair.exchange == typed.exchange; }))
    return TextProblem{noneSeen, {exchange}};
  if (near.empty()) return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "%1 has no %2"), {exchange, title}};
  std::sort(near.begin(), near.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second->title < b.second->title;
  });
  std::string closest;
  for (std::size_t i = 0; i < near.size() && i < kMostSuggested; ++i)
    closest += (i == 0 ? "" : ", ") + shownText(near[i].second->title);
  return TextProblem{QT_TRANSLATE_NOOP("AppDelegate", "%1 has no %2; did you mean %3?"), {exchange, title, closest}};
}

}  // namespace pricora
