#pragma once

#include <QNetworkAccessManager>
#include <QObject>

#include <chrono>
#include <cstdint>
#include <unordered_set>

#include "platform/JsonFetch.h"

namespace pricora {

// JsonFetch over QNetworkAccessManager. Every request has an idle time-out and a total deadline,
// so a server that stops answering cannot hold a refresh forever, and a cap on the body; past
// any of them the reply is dropped and reported as none.
class QtJsonFetch final : public QObject, public JsonFetch {
 public:
  struct Limits {
    std::chrono::milliseconds idleTimeout{20'000};
    std::chrono::milliseconds deadline{45'000};
    std::int64_t maxBodyBytes = 16 * 1024 * 1024;
  };

  explicit QtJsonFetch(Limits limits);
  QtJsonFetch() : QtJsonFetch(Limits{}) {}
  // Abandons the requests still under way; their completions are not called.
  ~QtJsonFetch() override;

  void get(const std::string& url, JsonCompletion completion) override;

  // Requests under way, for tests.
  std::size_t pendingCount() const;

 private:
  Limits limits_;
  QNetworkAccessManager manager_;
  // The requests under way; each removes itself when it goes, with its reply.
  std::unordered_set<QObject*> transfers_;
};

}  // namespace pricora
