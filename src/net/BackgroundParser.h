#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/JsonFetch.h"

namespace pricora {

// Parses large reply bodies on a worker thread and hands the documents back on the main thread,
// so a listing of many megabytes does not hold up the event loop for the half second its
// parsing and freeing take. The worker touches nothing but the bodies and documents given to it:
// the callbacks, and whatever they hold, stay on the main thread, and go with the parser.
class BackgroundParser final : public QObject {
 public:
  using Parsed = std::function<void(JsonReply)>;

  BackgroundParser();
  // Abandons the work under way without waiting for it: no Parsed is called after this.
  ~BackgroundParser() override;

  // Calls parsed with the document (filled to filledDepth, see Json::parse), or none when body
  // is not JSON, later on the main thread.
  void parse(std::string body, int filledDepth, Parsed parsed);
  // Frees a document on the worker thread.
  void dispose(JsonReply document);
  // Bodies handed over whose documents have not come back yet.
  std::size_t pending() const { return waiting_.size(); }

 private:
  struct Shared;
  static void work(const std::shared_ptr<Shared>& shared);
  void collect();

  std::shared_ptr<Shared> shared_;
  std::unordered_map<std::uint64_t, Parsed> waiting_;  // by job number
  std::uint64_t lastJob_ = 0;
};

}  // namespace pricora
