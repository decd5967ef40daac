// exchange-sim: the simulator as a process, for the demo, the benchmarks and manual testing.
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

#include "CommandLine.h"
#include "ControlCommand.h"
#include "exchange-sim/Simulator.h"

namespace {

// Answers control lines until `quit`, the end of input or a signal; only signals without --control.
void serve(exsim::Simulator& simulator, int signals, bool control) {
  std::string pending;
  for (;;) {
    pollfd watched[2] = {{signals, POLLIN, 0}, {control ? STDIN_FILENO : -1, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[0].revents) return;
    if (!watched[1].revents) continue;
    char chunk[4096];
    const ssize_t size = read(STDIN_FILENO, chunk, sizeof chunk);
    if (size < 0 && errno == EINTR) continue;
    if (size <= 0) return;
    pending.append(chunk, static_cast<std::size_t>(size));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const exsim::ControlAnswer answer = exsim::runControlLine(simulator, std::string_view(pending).substr(0, end));
      pending.erase(0, end + 1);
      if (!answer.text.empty()) std::cout << answer.text << std::endl;
      if (answer.quit) return;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  exsim::CommandLine commandLine;
  try {
    commandLine = exsim::parseCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
  } catch (const std::exception& failure) {
    std::cerr << "exchange-sim: " << failure.what() << "\n\n" << exsim::usage();
    return 1;
  }
  if (commandLine.help) {
    std::cout << exsim::usage();
    return 0;
  }

  // Blocked before any thread starts, so that only the signalfd ever sees them. A shell starts
  // background jobs with SIGINT ignored, and an ignored signal is dropped even when blocked.
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGINT);
  sigaddset(&stopping, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
  const int signals = signalfd(-1, &stopping, SFD_CLOEXEC);
  if (signals < 0) {
    std::cerr << "exchange-sim: cannot watch for signals: " << std::strerror(errno) << "\n";
    return 1;
  }

  try {
    exsim::Simulator simulator(commandLine.options);
    simulator.start();
    std::cout << simulator.settingsText() << "# ready" << std::endl;
    serve(simulator, signals, commandLine.control);
    simulator.stop();
  } catch (const std::exception& failure) {
    std::cerr << "exchange-sim: " << failure.what() << "\n";
    return 1;
  }
  close(signals);
  return 0;
}
