#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pricora {

// A message for the desktop's notification area.
struct Notification {
  std::string summary;
  std::string body;
  // (key, label) in order; shown as buttons where the desktop offers them, else left out.
  std::vector<std::pair<std::string, std::string>> actions;
};

// Told what became of the notifications, on the main queue.
class NotifierListener {
 public:
  // The user chose the action `key` of the notification shown under `tag`.
  virtual void notificationAction(std::int64_t tag, const std::string& key) = 0;
  // The notification shown under `tag` reached no one: the desktop has no notification service.
  virtual void notificationUndelivered(std::int64_t tag) = 0;

 protected:
  ~NotifierListener() = default;
};

// The desktop's notifications. One notification per tag: a later one under the same tag
// replaces the earlier one on screen rather than stacking beside it.
class Notifier {
 public:
  virtual ~Notifier() = default;
  virtual void setListener(NotifierListener* listener) = 0;
  // Returns at once; what became of it reaches the listener later.
  virtual void notify(std::int64_t tag, const Notification& notification) = 0;
};

// For a process that never notifies (a text bar beside the tray).
class NoNotifier final : public Notifier {
 public:
  void setListener(NotifierListener*) override {}
  void notify(std::int64_t, const Notification&) override {}
};

}  // namespace pricora
