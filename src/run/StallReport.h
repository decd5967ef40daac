#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace pricora {

// When enabled, beats every 10 ms on the event loop and, when it goes, writes the longest time a
// beat came late to standard error: how long the program ever stopped answering. Benchmarks turn
// it on with PRICORA_REPORT_STALLS=1.
class StallReport final : public QObject {
 public:
  explicit StallReport(bool enabled);
  ~StallReport() override;

 private:
  QTimer heartbeat_;
  std::chrono::steady_clock::time_point last_;
  std::chrono::steady_clock::duration longest_{};
};

}  // namespace pricora
