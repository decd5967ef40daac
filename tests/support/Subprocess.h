#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pricora::test {

// A child process with its standard output and error captured. Environment changes apply on top
// of the test's own environment; a variable mapped to none is removed. The child is killed when
// the object goes away.
class Subprocess {
 public:
  using Environment = std::map<std::string, std::optional<std::string>>;
  Subprocess(const std::vector<std::string>& arguments, const Environment& environment = {});
  ~Subprocess();
  Subprocess(const Subprocess&) = delete;
  Subprocess& operator=(const Subprocess&) = delete;

  // Waits for the child to exit; its exit status, or none when it was still running at the
  // deadline (it is then killed) or was ended by a signal.
  std::optional<int> wait(std::chrono::milliseconds deadline);
  // Reads standard output until a line is complete or the deadline passes; none at the deadline
  // or at the end of output.
  std::optional<std::string> readLine(std::chrono::milliseconds deadline);
  // Waits until standard error holds text; false at the deadline or when the child exited first.
  bool waitForError(const std::string& text, std::chrono::milliseconds deadline);
  void signal(int number);
  // True until the child has exited.
  bool running() { return !reaped(); }
  // Closes this end of the child's standard output, as a reader that goes away does.
  void closeOutput();
  int pid() const { return pid_; }

  // What was captured so far (all of it once wait() returned).
  const std::string& output() { return output_; }
  const std::string& errors() { return errors_; }

 private:
  void pump(std::chrono::milliseconds timeout);
  // Collects the child if it has exited; true once it has.
  bool reaped();

  int pid_ = -1;
  int out_ = -1;
  int err_ = -1;
  std::string output_;
  std::string errors_;
  std::size_t consumed_ = 0;  // of output_, by readLine
  bool exited_ = false;
  int status_ = -1;  // as waitpid reported it; -1 when killed by us at a deadline
};

}  // namespace pricora::test
