#include "sni/ReplyWriter.h"

#include <QTimer>

namespace pricora {

ReplyWriter::ReplyWriter() { thread_.setMaxThreadCount(1); }

ReplyWriter::~ReplyWriter() { thread_.waitForDone(); }

void ReplyWriter::answer(const QDBusConnection& connection, const QDBusMessage& call,
                         std::function<bool(std::size_t)> take, std::function<QVariantList()> make) {
  ++underWay_;
  takeSlice(std::make_shared<Reply>(Reply{connection, call, std::move(take), std::move(make)}));
}

void ReplyWriter::takeSlice(const std::shared_ptr<Reply>& reply) {
  if (!reply->take(kItemsPerTurn)) {
    // Whatever came in meanwhile goes first, timers included: a continuation posted at once would
    // keep the event loop from ever going idle, and Qt's timers wait for that once they have run.
    QTimer::singleShot(1, this, [this, reply] { takeSlice(reply); });
    return;
  }
  reply->take = nullptr;  // what it held of the model goes on this thread
  thread_.start([this, reply] {
    // QtDBus marshals on the sending thread: the main thread never sees the large message.
    reply->connection.send(reply->call.createReply(reply->make()));
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (--underWay_ == 0 && idle_) idle_();
        },
        Qt::QueuedConnection);
  });
}

}  // namespace pricora
