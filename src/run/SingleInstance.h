#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "store/StoreLock.h"

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
  // A desktop start: asks the running copy to show its Manage window and says so. A copy that is
  // still starting (not on the bus yet) or is quitting (off the bus, still holding the lock) is
  // waited for, up to kHandOverWait: whichever comes first, its answer or the free lock, decides.
  // Returns the exit status when this start is to end: 0 once the running copy answered (the
  // user's wish, a Pricora in front, is met), 1 when it never did (no session bus, or it hung);
  // none when this process took the lock and is to start in its place.
  // With chart ("Kraken XBT/USD"), the running copy shows that pair's chart instead.
  std::optional<int> handOverToRunningCopy(const std::optional<std::string>& chart = std::nullopt);

  static constexpr std::chrono::milliseconds kHandOverWait{10000};

  static std::string lockPath(const std::string& storeFolder) { return storeFolder + "/pricora.lock"; }

 private:
  // Takes the lock if it is free now; true when this process may run.
  bool retake();

  std::string folder_;
  std::optional<StoreLock> lock_;
  std::optional<LockHolder> holder_;
};

}  // namespace pricora
