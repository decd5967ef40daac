#include "Faults.h"

#include <fnmatch.h>
#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "Sites.h"

namespace exsim {

namespace {

constexpr std::string_view kKinds[] = {"delay", "reset", "http500", "nonjson", "ratelimit", "error", "hang", "big"};

bool takesParameter(std::string_view kind) { return kind == "delay" || kind == "big"; }

template <typename Number>
Number numberIn(std::string_view text, std::string_view what) {
  Number value{};
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size() || value < 0)
    throw std::invalid_argument("bad " + std::string(what) + " \"" + std::string(text) + "\"");
  return value;
}

}  // namespace

void checkFault(const Fault& fault) {
  siteNamed(fault.exchange);
  if (std::find(std::begin(kKinds), std::end(kKinds), fault.kind) == std::end(kKinds))
    throw std::invalid_argument("unknown fault kind \"" + fault.kind +
                                "\" (known: delay=MS, reset, http500, nonjson, ratelimit, error, hang, big=BYTES)");
  if (takesParameter(fault.kind) && fault.parameter <= 0)
    throw std::invalid_argument("fault " + fault.kind + " needs a positive value, as in " + fault.kind + "=100");
  if (!takesParameter(fault.kind) && fault.parameter != 0)
    throw std::invalid_argument("fault " + fault.kind + " takes no value");
  if (fault.count == 0) throw std::invalid_argument("a fault count must be at least 1");
  if (fault.targetGlob.empty()) throw std::invalid_argument("empty target pattern; \"*\" matches every target");
}

void parseFaultKind(std::string_view text, Fault& fault) {
  // The longest kind that starts the text, so that the count of "http500x2" is not eaten.
  std::string_view kind;
  for (std::string_view each : kKinds)
    if (text.starts_with(each) && each.size() > kind.size()) kind = each;
  if (kind.empty()) kind = text.substr(0, text.find_first_of("=x"));
  fault.kind = kind;
  text.remove_prefix(kind.size());
  fault.parameter = 0;
  fault.count = -1;
  if (text.starts_with('=')) {
    const std::size_t times = text.find('x');
    fault.parameter =
        numberIn<long>(text.substr(1, times == std::string_view::npos ? times : times - 1), "fault value");
    text.remove_prefix(times == std::string_view::npos ? text.size() : times);
  }
  if (text.starts_with('x'))
    fault.count = numberIn<int>(text.substr(1), "fault count");
  else if (!text.empty())
    throw std::invalid_argument("bad fault \"" + fault.kind + std::string(text) + "\"");
}

Fault parseFault(std::string_view text) {
  const std::size_t first = text.find(':');
  const std::size_t last = text.rfind(':');
  if (first == std::string_view::npos || first == last)
    throw std::invalid_argument("bad fault \"" + std::string(text) + "\"; expected EXCHANGE:GLOB:KIND[=PARAM][xCOUNT]");
  Fault fault;
  fault.exchange = text.substr(0, first);
  fault.targetGlob = text.substr(first + 1, last - first - 1);
  parseFaultKind(text.substr(last + 1), fault);
  checkFault(fault);
  return fault;
}

void FaultList::clear(std::string_view exchange) {
  std::erase_if(faults_, [&](const Fault& fault) { return exchange.empty() || fault.exchange == exchange; });
}

std::optional<Fault> FaultList::take(std::string_view exchange, const std::string& target) {
  for (auto each = faults_.begin(); each != faults_.end(); ++each) {
    if (each->exchange != exchange || fnmatch(each->targetGlob.c_str(), target.c_str(), 0) != 0) continue;
    Fault fault = *each;
    if (each->count > 0 && --each->count == 0) faults_.erase(each);
    return fault;
  }
  return std::nullopt;
}

}  // namespace exsim
