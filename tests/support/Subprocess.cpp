#include "support/Subprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace pricora::test {

namespace {

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds remaining(Clock::time_point end) {
  return std::max(std::chrono::milliseconds(0),
                  std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()));
}

}  // namespace

Subprocess::Subprocess(const std::vector<std::string>& arguments, const Environment& environment) {
  std::map<std::string, std::string> merged;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::size_t equals = text.find('=');
    if (equals != std::string::npos) merged[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& [name, value] : environment) {
    if (value)
      merged[name] = *value;
    else
      merged.erase(name);
  }
  std::vector<std::string> envText;
  for (const auto& [name, value] : merged) envText.push_back(name + "=" + value);
  std::vector<char*> envp, argv;
  for (std::string& text : envText) envp.push_back(text.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = arguments;
  for (std::string& text : args) argv.push_back(text.data());
  argv.push_back(nullptr);

  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  const int result = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  out_ = outPipe[0];
  err_ = errPipe[0];
  if (result != 0) throw std::runtime_error("cannot start " + arguments.at(0) + ": " + std::strerror(result));
}

Subprocess::~Subprocess() {
  if (!exited_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  close(out_);
  close(err_);
}

void Subprocess::pump(std::chrono::milliseconds timeout) {
  pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
  if (poll(fds, 2, static_cast<int>(timeout.count())) <= 0) return;
  char buffer[65536];
  for (int i = 0; i < 2; ++i) {
    if ((fds[i].revents & (POLLIN | POLLHUP)) == 0) continue;
    const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
    if (n > 0) (i == 0 ? output_ : errors_).append(buffer, static_cast<std::size_t>(n));
  }
}

bool Subprocess::reaped() {
  if (exited_) return true;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
  exited_ = true;
  status_ = status;
  return true;
}

std::optional<int> Subprocess::wait(std::chrono::milliseconds deadline) {
  const Clock::time_point end = Clock::now() + deadline;
  while (!reaped()) {
    if (Clock::now() >= end) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      exited_ = true;
      status_ = -1;
      break;
    }
    pump(std::min(remaining(end), std::chrono::milliseconds(20)));
  }
  // Drain what the child left in the pipes.
  for (;;) {
    const std::size_t before = output_.size() + errors_.size();
    pump(std::chrono::milliseconds(0));
    if (output_.size() + errors_.size() == before) break;
  }
  if (status_ == -1 || !WIFEXITED(status_)) return std::nullopt;
  return WEXITSTATUS(status_);
}

std::optional<std::string> Subprocess::readLine(std::chrono::milliseconds deadline) {
  const Clock::time_point end = Clock::now() + deadline;
  for (;;) {
    const std::size_t newline = output_.find('\n', consumed_);
    if (newline != std::string::npos) {
      std::string line = output_.substr(consumed_, newline - consumed_);
      consumed_ = newline + 1;
      return line;
    }
    if (Clock::now() >= end || reaped()) return std::nullopt;
    pump(std::min(remaining(end), std::chrono::milliseconds(50)));
  }
}

bool Subprocess::waitForError(const std::string& text, std::chrono::milliseconds deadline) {
  const Clock::time_point end = Clock::now() + deadline;
  while (errors_.find(text) == std::string::npos) {
    if (Clock::now() >= end) return false;
    if (reaped()) {
      pump(std::chrono::milliseconds(0));
      return errors_.find(text) != std::string::npos;
    }
    pump(std::min(remaining(end), std::chrono::milliseconds(50)));
  }
  return true;
}

void Subprocess::signal(int number) { kill(pid_, number); }

void Subprocess::closeOutput() {
  close(out_);
  out_ = open("/dev/null", O_RDONLY | O_CLOEXEC);  // keeps pump() and the destructor simple
}

}  // namespace pricora::test
