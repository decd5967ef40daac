#include "net/CurlTransfer.h"

#include <algorithm>
#include <new>

namespace pricora {

namespace {

constexpr const char* kUserAgent = "Pricora/" PRICORA_VERSION;

}  // namespace

CurlTransfer::CurlTransfer(const TransferOptions& options) : easy_(curl_easy_init()), options_(options) {
  if (easy_ == nullptr) throw std::bad_alloc();
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // Redirects are followed by the fetch itself, which first checks that they stay on the origin.
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, kUserAgent);
  // Decoded before it reaches onBody, so the cap counts what a small gzip bomb would become.
  curl_easy_setopt(easy_, CURLOPT_ACCEPT_ENCODING, "gzip");
  curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_2TLS);
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  // Ending a transfer whose name lookup still runs would otherwise wait for the lookup, on the
  // event loop, for as long as a dropping resolver takes.
  curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options_.maxBodyBytes));
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options_.idleTimeout.count()));
  // Makes libcurl look at a silent transfer every second, which is when onProgress checks it.
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy_, CURLOPT_LOW_SPEED_TIME,
                   static_cast<long>(std::max<std::int64_t>(1, (options_.idleTimeout.count() + 999) / 1000)));
  if (!options_.caFile.empty()) curl_easy_setopt(easy_, CURLOPT_CAINFO, options_.caFile.c_str());
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlTransfer::onBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlTransfer::onHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::onProgress);
  curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
}

CurlTransfer::~CurlTransfer() { curl_easy_cleanup(easy_); }

void CurlTransfer::begin(const std::string& url, std::chrono::milliseconds timeLeft) {
  curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
  // Only TLS can offer HTTP/2, so only there is it worth waiting for a connection's answer before
  // opening another; libcurl would otherwise hold plain HTTP requests until the first reply.
  curl_easy_setopt(easy_, CURLOPT_PIPEWAIT, url.starts_with("https:") ? 1L : 0L);
  curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max<std::int64_t>(1, timeLeft.count())));
  // Released, not cleared: a spare transfer must not keep the capacity of a large reply.
  body_ = std::string();
  headerBytes_ = 0;
  lastActivity_ = std::chrono::steady_clock::now();
}

// Returning less than size aborts the transfer.
std::size_t CurlTransfer::onBody(char* data, std::size_t, std::size_t size, void* self) {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  if (static_cast<std::int64_t>(transfer.body_.size() + size) > transfer.options_.maxBodyBytes) return 0;
  // A stated length (already checked against the cap) saves growing a large body step by step.
  curl_off_t length = -1;
  if (transfer.body_.empty() &&
      curl_easy_getinfo(transfer.easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length > 0 &&
      length <= transfer.options_.maxBodyBytes)
    transfer.body_.reserve(static_cast<std::size_t>(length));
  transfer.body_.append(data, size);
  transfer.lastActivity_ = std::chrono::steady_clock::now();
  return size;
}

std::size_t CurlTransfer::onHeader(char*, std::size_t, std::size_t size, void* self) {
  auto& transfer = *static_cast<CurlTransfer*>(self);
  transfer.headerBytes_ += size;
  if (transfer.headerBytes_ > kMaxHeaderBytes) return 0;
  transfer.lastActivity_ = std::chrono::steady_clock::now();
  return size;
}

// Also caps the bytes as they arrive, before decoding: a compressed stream that never decodes to
// a byte (empty deflate blocks) would otherwise pass onBody's count, and the cap, for ever.
int CurlTransfer::onProgress(void* self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
  const auto& transfer = *static_cast<const CurlTransfer*>(self);
  if (received > transfer.options_.maxBodyBytes) return 1;
  return std::chrono::steady_clock::now() - transfer.lastActivity_ > transfer.options_.idleTimeout ? 1 : 0;
}

}  // namespace pricora
