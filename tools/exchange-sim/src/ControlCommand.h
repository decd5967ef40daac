#pragma once

#include <string>
#include <string_view>

#include "exchange-sim/Simulator.h"

namespace exsim {

struct ControlAnswer {
  std::string text;  // "ok" or "error: ..."; empty for a blank line, which needs no answer
  bool quit = false;
};

// Carries out one line of the --control protocol:
//   fault EXCHANGE GLOB KIND[=PARAM] [COUNT]
//   clear [EXCHANGE]
//   reply EXCHANGE TARGET STATUS BODY      (BODY is the rest of the line)
//   quit
ControlAnswer runControlLine(Simulator& simulator, std::string_view line);

}  // namespace exsim
