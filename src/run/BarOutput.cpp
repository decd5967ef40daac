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
#include <utility>

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

int BarOutput::offer(std::string line) {
  (begun_ ? next_ : unsent_) = std::move(line);
  return flush();
}

int BarOutput::flush() {
  while (!unsent_.empty()) {
    const ssize_t n = write(unsent_);
    if (n > 0) {
      unsent_.erase(0, static_cast<std::size_t>(n));
      begun_ = !unsent_.empty();
      if (!begun_) unsent_ = std::exchange(next_, {});
      continue;
    }
    const int error = n == 0 ? EIO : errno;
    if (error == EINTR) continue;
    return error == EWOULDBLOCK ? EAGAIN : error;
  }
  return 0;
}

}  // namespace pricora
