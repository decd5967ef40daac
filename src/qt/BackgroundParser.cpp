#include "qt/BackgroundParser.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace pricora {

struct BackgroundParser::Shared {
  struct Job {
    std::string body;
    int filledDepth = Json::kMaxDepth;
    Parsed parsed;  // none for a document that only needs freeing
    JsonReply document;
  };

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Job> jobs;
  std::deque<std::pair<Parsed, JsonReply>> done;
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
    if (job.parsed) job.document = Json::parse(job.body, job.filledDepth);
    job.body = {};
    const bool answer = static_cast<bool>(job.parsed);
    if (!answer) job.document.reset();
    lock.lock();
    if (!answer || shared->owner == nullptr) continue;
    shared->done.emplace_back(std::move(job.parsed), std::move(job.document));
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
  ++pending_;
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->jobs.push_back({std::move(body), filledDepth, std::move(parsed), std::nullopt});
  }
  shared_->wake.notify_one();
}

void BackgroundParser::dispose(JsonReply document) {
  {
    const std::lock_guard lock(shared_->mutex);
    shared_->jobs.push_back({{}, Json::kMaxDepth, nullptr, std::move(document)});
  }
  shared_->wake.notify_one();
}

void BackgroundParser::collect() {
  std::deque<std::pair<Parsed, JsonReply>> done;
  {
    const std::lock_guard lock(shared_->mutex);
    done.swap(shared_->done);
  }
  for (auto& [parsed, document] : done) {
    --pending_;
    parsed(std::move(document));
  }
}

}  // namespace pricora
