#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace pricora {

// Where a text bar reads its lines (standard output), written without ever waiting: a bar that
// stops reading must not stop the event loop. The open file description behind the descriptor is
// never changed, because others share it: standard error under 2>&1, whose lines would be lost
// to EAGAIN, and whoever is handed the pipe after us. A pipe is written through a description of
// its own, opened without blocking; a socket with sends that do not wait. A terminal or a file is
// written as it is.
class BarOutput {
 public:
  explicit BarOutput(int fd);
  ~BarOutput();
  BarOutput(const BarOutput&) = delete;
  BarOutput& operator=(const BarOutput&) = delete;

  // A pipe or a socket: its reader may stop reading or go away, which the caller can watch.
  bool isChannel() const { return kind_ != Kind::file; }
  // Like write(2): the bytes taken, or -1 with errno set (EAGAIN while a channel is full).
  ssize_t write(std::string_view data);

  // Lines for a bar that may stop reading for a while: a line it has begun to take is finished
  // first, and of the lines that come meanwhile only the newest waits; the others would be old
  // news by the time it reads again. Both write what the output takes now and return 0 once all is
  // out, EAGAIN while the channel is full (flush again once it is writable), or the error that
  // stopped the writing.
  int offer(std::string line);
  int flush();

 private:
  enum class Kind { file, pipe, guardedPipe, socket };
  int fd_;
  int ownFd_ = -1;  // the pipe's description of our own
  Kind kind_ = Kind::file;
  std::string unsent_;  // the line being written, or the rest of it once begun
  std::string next_;    // the newest line, written once unsent_ is out
  bool begun_ = false;  // part of unsent_ is out
};

}  // namespace pricora
