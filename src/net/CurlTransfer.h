#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <string>

namespace pricora {

struct TransferOptions {
  std::chrono::milliseconds idleTimeout{20'000};  // nothing received for this long fails a request
  std::chrono::milliseconds deadline{45'000};     // from when a request is sent, redirects included
  std::int64_t maxBodyBytes = 16 * 1024 * 1024;   // by header, and as they arrive, decoded or not
  std::string caFile;                             // empty: the system's certificates
};

// One libcurl easy handle and the reply it is receiving. The handle is set up once and reused
// for request after request, so its buffers and options are not made again for each. Whatever a
// server sends, it holds at most maxBodyBytes of body and kMaxHeaderBytes of headers: past
// either, or after idleTimeout without a byte, the transfer aborts with an error.
class CurlTransfer {
 public:
  static constexpr std::size_t kMaxHeaderBytes = 256 * 1024;

  // options must outlive the transfer.
  explicit CurlTransfer(const TransferOptions& options);
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  CURL* handle() const { return easy_; }
  // Points the handle at url with timeLeft until the deadline, forgetting any earlier reply.
  void begin(const std::string& url, std::chrono::milliseconds timeLeft);
  std::string takeBody() { return std::move(body_); }

 private:
  static std::size_t onBody(char* data, std::size_t, std::size_t size, void* self);
  static std::size_t onHeader(char* data, std::size_t, std::size_t size, void* self);
  static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

  CURL* easy_;
  const TransferOptions& options_;
  std::string body_;
  std::size_t headerBytes_ = 0;
  std::chrono::steady_clock::time_point lastActivity_;
};

}  // namespace pricora
