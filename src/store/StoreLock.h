#pragma once

#include <string>
#include <variant>

#include "platform/AppHost.h"

namespace pricora {

// The process that holds a lock this one could not take; pid 0 when it could not be learnt.
struct LockHolder {
  long pid = 0;
};

// An exclusive advisory lock on one file, held until the object goes away. The kernel releases
// it when the process ends, however it ends, so a lock file left behind by a killed process never
// blocks anyone: only a running process can hold the lock. The file keeps the holder's pid as
// text for people and tools that look.
class StoreLock {
 public:
  // Takes the lock on path without waiting, creating the file and its folder when missing.
  // Exactly one of any number of processes trying at once gets it; the others learn its pid.
  static std::variant<StoreLock, LockHolder, Error> acquire(const std::string& path);

  StoreLock(StoreLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  StoreLock& operator=(StoreLock&&) = delete;
  ~StoreLock();

 private:
  explicit StoreLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace pricora
