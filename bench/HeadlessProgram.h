#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace pricora::bench {

// A headless pricora in a home of its own (a temporary folder), pointed at the simulator whose
// settings text it is given and refreshing once a second.
class HeadlessProgram {
 public:
  explicit HeadlessProgram(const std::string& settingsText);
  ~HeadlessProgram();
  HeadlessProgram(const HeadlessProgram&) = delete;
  HeadlessProgram& operator=(const HeadlessProgram&) = delete;

  // Starts `pricora --headless` with these extra arguments; with pipeStandardError, its standard
  // error is readable from standardError(). Returns the process id, or -1 when it did not start.
  pid_t start(const std::vector<std::string>& arguments, bool pipeStandardError = false);
  int standardError() const { return errorPipe_; }

 private:
  test::TempDir home_;
  int errorPipe_ = -1;
};

}  // namespace pricora::bench
