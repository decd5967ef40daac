#include "store/StoreLock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace pricora {

namespace {

flock wholeFile(short type) {
  flock region{};
  region.l_type = type;
  region.l_whence = SEEK_SET;
  region.l_start = 0;
  region.l_len = 0;  // to the end, however long the file grows
  return region;
}

Error lockError(const std::string& path, int error) {
  return Error{"The lock file “" + path + "” could not be used.",
               "{path = \"" + path + "\"; reason = \"" + std::strerror(error) + "\"}"};
}

// The pid the holder wrote, for when the kernel cannot name it (another pid namespace).
long writtenPid(int fd) {
  char text[32] = {};
  const ssize_t n = pread(fd, text, sizeof text - 1, 0);
  if (n <= 0) return 0;
  long pid = 0;
  for (char c : std::string_view(text, static_cast<std::size_t>(n))) {
    if (c < '0' || c > '9') break;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

}  // namespace

std::variant<StoreLock, LockHolder, Error> StoreLock::acquire(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  // POSIX record locks rather than flock(): the kernel names the holder's pid. They belong to the
  // process and go with any descriptor of the file it closes, so this file is opened nowhere else.
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return lockError(path, errno);
  // The holder may end between the failed attempt and the question who it is: then try again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    flock exclusive = wholeFile(F_WRLCK);
    if (fcntl(fd, F_SETLK, &exclusive) == 0) {
      const std::string pid = std::to_string(getpid()) + "\n";
      // The pid is a courtesy to readers: the lock is held whether or not it could be written.
      const bool written =
          ftruncate(fd, 0) == 0 && pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
      static_cast<void>(written);
      return StoreLock(fd);
    }
    const int error = errno;
    if (error != EAGAIN && error != EACCES) {
      close(fd);
      return lockError(path, error);
    }
    flock holder = wholeFile(F_WRLCK);
    if (fcntl(fd, F_GETLK, &holder) == 0 && holder.l_type == F_UNLCK) continue;
    const long pid = holder.l_pid > 0 ? static_cast<long>(holder.l_pid) : writtenPid(fd);
    close(fd);
    return LockHolder{pid};
  }
  close(fd);
  return lockError(path, EAGAIN);
}

StoreLock::~StoreLock() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace pricora
