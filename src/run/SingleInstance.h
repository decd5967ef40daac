#pragma once

#include <optional>
#include <string>

#include "platform/StoreLock.h"

namespace pricora {

// One Pricora per store. The desktop and headless starts take the lock beside the store before
// they open it and hold it until they end; a process that only reads the store never asks. A start
// that finds the lock held runs no second copy: it says so and ends with the status given.
class SingleInstance {
 public:
  // Tries to take the lock of the store in storeFolder. When the lock cannot be used at all (an
  // unwritable folder), says so and lets the start go on: opening the store reports the rest.
  explicit SingleInstance(const std::string& storeFolder);

  // True when another process holds the store.
  bool heldElsewhere() const { return holder_.has_value(); }
  // A headless start: names the process that holds the store; the exit status, 1.
  int refuseHeadless() const;
  // A desktop start: asks the running copy to show its Manage window and says so; the exit
  // status, 0 (the user's wish, a Pricora in front, is met), or 1 when the running copy could
  // not be reached (no session bus, or it did not answer).
  int handOverToRunningCopy() const;

  static std::string lockPath(const std::string& storeFolder) { return storeFolder + "/pricora.lock"; }

 private:
  std::string folder_;
  std::optional<StoreLock> lock_;
  std::optional<LockHolder> holder_;
};

}  // namespace pricora
