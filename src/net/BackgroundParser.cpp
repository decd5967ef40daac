#include "net/BackgroundParser.h"

#include <malloc.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace pricora {

struct BackgroundParser::Shared {
  struct Job {
    std::uint64_t number;  // 0 for a document that only needs freeing
    std::string body;
    int filledDepth;
    JsonReply document;
  };

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Job> jobs;
  std::deque<std::pair<std::uint64_t, JsonReply>> done;
  BackgroundParser* owner = nullptr;  // none once the owner has gone
};

void BackgroundParser::work(const std::shared_ptr<Shared>& shared) {
  std::unique_lock lock(shared->mutex);
  for (;;) {
    shared->wake.wait(lock, [&] { return !shared->jobs.empty() || shared->owner == nullptr; });
    if (shared->owner == nullptr) return;
    auto job = std::move(shared->jobs.front());
    shared->jobs.pop_front();
    lock.unlock();
    const bool answer = job.number != 0;
    if (answer) job.document = Json::parse(job.body, job.filledDepth);
    job.body = {};
    if (!answer) {
      job.document.reset();
      // A large document leaves its many small blocks free inside the heap, where the allocator
      // keeps them; hand the pages back, or a tray app carries the largest reply it ever parsed.
      malloc_trim(0);
    }
    lock.lock();
    if (!answer || shared->owner == nullptr) continue;
    shared->done.emplace_back(job.number, std::move(job.document));
    // The owner clears itself under this lock before it goes, and its queued calls go with it.
    if (shared->done.size() == 1)
      QMetaObject::invokeMethod(
          shared->owner, [owner = shared->owner] { owner->collect(); }, Qt::QueuedConnection);
  }
}

BackgroundParser::BackgroundParser() : shared_(std::make_shared<Shared>()) {
  shared_->owner = this;
  std::thread([shared = shared_] { work(shared); }).detach();
}

BackgroundParser::~BackgroundParser() {
  std::deque<Shared::Job> dropped;
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->owner = nullptr;
    dropped.swap(shared_->jobs);
  }
  shared_->wake.notify_one();
}

void BackgroundParser::parse(std::string body, int filledDepth, Parsed parsed) {
  waiting_.emplace(++lastJob_, std::move(parsed));
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->jobs.push_back({lastJob_, std::move(body), filledDepth, std::nullopt});
  }
  shared_->wake.notify_one();
}

void BackgroundParser::dispose(JsonReply document) {
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->jobs.push_back({0, {}, Json::kMaxDepth, std::move(document)});
  }
  shared_->wake.notify_one();
}

void BackgroundParser::collect() {
  std::deque<std::pair<std::uint64_t, JsonReply>> done;
  {
    const std::lock_guard lock(shared_->mutex);
    done.swap(shared_->done);
  }
  for (auto& [number, document] : done) {
    auto job = waiting_.extract(number);
    if (!job.empty()) job.mapped()(std::move(document));
  }
}

}  // namespace pricora
