#include "run/BarOutput.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace pricora {

BarOutput::BarOutput(int fd) : fd_(fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return;
  if (S_ISSOCK(info.st_mode)) {
    kind_ = Kind::socket;
  } else if (S_ISFIFO(info.st_mode)) {
    // Opening a pipe through /proc gives a new description of the same pipe.
    ownFd_ = open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    kind_ = ownFd_ >= 0 ? Kind::pipe : Kind::guardedPipe;
  }
}

BarOutput::~BarOutput() {
  if (ownFd_ >= 0) close(ownFd_);
}

ssize_t BarOutput::write(std::string_view data) {
  switch (kind_) {
    case Kind::pipe:
      return ::write(ownFd_, data.data(), data.size());
    case Kind::socket:
      return send(fd_, data.data(), data.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    case Kind::guardedPipe: {
      // Without /proc: a pipe that polls writable has room for one atomic write. A pipe without
      // a reader polls too, and write() then says so.
      pollfd probe{fd_, POLLOUT, 0};
      if (poll(&probe, 1, 0) != 1) {
        errno = EAGAIN;
        return -1;
      }
      return ::write(fd_, data.data(), std::min<std::size_t>(data.size(), PIPE_BUF));
    }
    case Kind::file:
      break;
  }
  return ::write(fd_, data.data(), data.size());
}

}  // namespace pricora
