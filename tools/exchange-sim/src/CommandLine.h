#pragma once

#include <string_view>
#include <vector>

#include "exchange-sim/Simulator.h"

namespace exsim {

struct CommandLine {
  Options options;
  bool control = false;  // read commands from standard input
  bool help = false;
};

// The arguments after the program name. Throws std::invalid_argument with a message for the user.
CommandLine parseCommandLine(const std::vector<std::string_view>& arguments);

std::string_view usage();

}  // namespace exsim
