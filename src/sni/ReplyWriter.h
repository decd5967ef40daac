#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QThreadPool>
#include <QVariantList>

#include <cstddef>
#include <functional>
#include <memory>

namespace pricora {

// Answers calls whose replies may be large without holding up the main thread: what a reply shows
// is taken from the model a slice per turn of the event loop, so that other calls are served in
// between, and the reply is then made, marshalled and sent on a thread of its own. Replies leave
// in the order they were taken.
class ReplyWriter final : public QObject {
 public:
  // Items read from the model per turn: a few milliseconds' work.
  static constexpr std::size_t kItemsPerTurn = 5'000;

  ReplyWriter();
  // Waits for the replies being made.
  ~ReplyWriter() override;

  // Answers call on connection. take(budget) runs on the main thread, once per turn of the event
  // loop, reading about budget items each time, until it returns true; make() then runs on the
  // writer's thread and what it returns is sent. make must read nothing but what it holds.
  void answer(const QDBusConnection& connection, const QDBusMessage& call, std::function<bool(std::size_t)> take,
              std::function<QVariantList()> make);

  // Whether a reply is still being taken, made or sent.
  bool busy() const { return underWay_ > 0; }
  // Told on the main thread each time the last reply under way has been sent.
  void setIdleHandler(std::function<void()> idle) { idle_ = std::move(idle); }

 private:
  struct Reply {
    QDBusConnection connection;
    QDBusMessage call;
    std::function<bool(std::size_t)> take;
    std::function<QVariantList()> make;
  };

  void takeSlice(const std::shared_ptr<Reply>& reply);

  QThreadPool thread_;
  int underWay_ = 0;
  std::function<void()> idle_;
};

}  // namespace pricora
