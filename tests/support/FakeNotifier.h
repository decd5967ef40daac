#pragma once

#include <utility>
#include <vector>

#include "platform/Notifier.h"

namespace pricora::test {

// Notifications kept for the test to read; the test answers for the desktop through listener.
class FakeNotifier final : public Notifier {
 public:
  void setListener(NotifierListener* newListener) override { listener = newListener; }
  void notify(std::int64_t tag, const Notification& notification) override { shown.emplace_back(tag, notification); }

  NotifierListener* listener = nullptr;
  std::vector<std::pair<std::int64_t, Notification>> shown;
};

}  // namespace pricora::test
