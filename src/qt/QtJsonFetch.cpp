#include "qt/QtJsonFetch.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace pricora {

namespace {

// An HTTP answer of any status counts as an answer: the body decides. Transport failures,
// protocol failures and our own aborts do not.
bool answered(QNetworkReply::NetworkError error) {
  const int code = static_cast<int>(error);
  return code == 0 || (code > 200 && code < 300) || (code > 400 && code < 500);
}

QUrl validUrl(const std::string& text) {
  QUrl url(QString::fromStdString(text), QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty() || (url.scheme() != "http" && url.scheme() != "https")) return {};
  return url;
}

// One request under way. It lives as a child of its reply, so both go together.
class Transfer final : public QObject {
 public:
  Transfer(QNetworkReply* reply, JsonCompletion completion, const QtJsonFetch::Limits& limits,
           std::unordered_set<QObject*>& registry)
      : QObject(reply), reply_(reply), completion_(std::move(completion)), maxBody_(limits.maxBodyBytes),
        registry_(registry) {
    registry_.insert(this);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { giveUp(); });
    deadline_.start(limits.deadline);
    connect(reply, &QNetworkReply::metaDataChanged, this, [this] {
      if (reply_->header(QNetworkRequest::ContentLengthHeader).toLongLong() > maxBody_) giveUp();
    });
    connect(reply, &QNetworkReply::readyRead, this, [this] {
      body_ += reply_->readAll();
      if (body_.size() > maxBody_) giveUp();
    });
    connect(reply, &QNetworkReply::finished, this, [this] { finish(); });
  }

  ~Transfer() override { registry_.erase(this); }

  // Drops the transfer without calling its completion (the fetch is going away).
  void abandon() {
    completion_ = nullptr;
    disconnect(reply_, nullptr, this, nullptr);
    reply_->abort();
  }

 private:
  void giveUp() {
    failed_ = true;
    reply_->abort();  // emits finished
  }

  void finish() {
    deadline_.stop();
    if (reply_->isOpen()) body_ += reply_->readAll();
    JsonReply document;
    if (!failed_ && answered(reply_->error()) && body_.size() <= maxBody_)
      document = Json::parse(std::string_view(body_.constData(), static_cast<std::size_t>(body_.size())));
    body_.clear();
    JsonCompletion completion = std::move(completion_);
    completion_ = nullptr;
    reply_->deleteLater();  // takes this transfer with it
    if (completion) completion(document);
  }

  QNetworkReply* reply_;
  JsonCompletion completion_;
  qint64 maxBody_;
  QByteArray body_;
  QTimer deadline_;
  bool failed_ = false;
  std::unordered_set<QObject*>& registry_;
};

}  // namespace

QtJsonFetch::QtJsonFetch(Limits limits) : limits_(limits) {
  manager_.setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
  manager_.setTransferTimeout(static_cast<int>(limits_.idleTimeout.count()));
}

QtJsonFetch::~QtJsonFetch() {
  // Copied: abandoning may finish a transfer, which removes it from the set.
  const std::vector<QObject*> pending(transfers_.begin(), transfers_.end());
  for (QObject* transfer : pending) static_cast<Transfer*>(transfer)->abandon();
}

void QtJsonFetch::get(const std::string& text, JsonCompletion completion) {
  const QUrl url = validUrl(text);
  if (url.isEmpty()) {
    // Never inside get(): the caller may not be ready for its completion yet.
    QTimer::singleShot(0, this, [completion = std::move(completion)] { completion(std::nullopt); });
    return;
  }
  QNetworkReply* reply = manager_.get(QNetworkRequest(url));
  new Transfer(reply, std::move(completion), limits_, transfers_);
}

std::size_t QtJsonFetch::pendingCount() const { return transfers_.size(); }

}  // namespace pricora
