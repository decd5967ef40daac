#include "ControlCommand.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <vector>

#include "Faults.h"

namespace exsim {

namespace {

// The first `count` words, and whatever follows them untouched in `rest`.
std::vector<std::string> words(std::string_view line, std::size_t count, std::string_view* rest = nullptr) {
  std::vector<std::string> result;
  std::size_t at = 0;
  while (result.size() < count) {
    const std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    result.emplace_back(line.substr(start, end - start));
    at = end;
  }
  if (rest) {
    const std::size_t start = line.find_first_not_of(" \t", at);
    *rest = start == std::string_view::npos ? std::string_view() : line.substr(start);
  }
  return result;
}

int integer(const std::string& text, std::string_view what) {
  int value = 0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (failure != std::errc() || end != text.data() + text.size())
    throw std::invalid_argument("bad " + std::string(what) + " \"" + text + "\"");
  return value;
}

void run(Simulator& simulator, std::string_view line) {
  std::string_view rest;
  const std::vector<std::string> command = words(line, 4, &rest);
  const std::string& verb = command.front();
  const std::size_t arguments = command.size() - 1;
  if (verb == "fault" && arguments == 3) {
    Fault fault{command[1], command[2]};
    parseFaultKind(command[3], fault);
    if (!rest.empty()) fault.count = integer(std::string(rest), "count");
    simulator.addFault(std::move(fault));
  } else if (verb == "clear" && arguments <= 1 && rest.empty()) {
    simulator.clearFaults(arguments == 1 ? command[1] : std::string());
  } else if (verb == "reply" && arguments == 3 && !rest.empty()) {
    simulator.setReply(command[1], command[2], integer(command[3], "status"), std::string(rest));
  } else {
    throw std::invalid_argument(
        "expected one of: fault EXCHANGE GLOB KIND[=PARAM] [COUNT] | clear [EXCHANGE] | "
        "reply EXCHANGE TARGET STATUS BODY | quit");
  }
}

}  // namespace

ControlAnswer runControlLine(Simulator& simulator, std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  const std::vector<std::string> first = words(line, 1);
  if (first.empty()) return {};
  if (first.front() == "quit") return {"ok", true};
  try {
    run(simulator, line);
    return {"ok"};
  } catch (const std::exception& failure) {
    return {std::string("error: ") + failure.what()};
  }
}

}  // namespace exsim
