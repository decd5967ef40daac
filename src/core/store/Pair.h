#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pricora {

class EditingContext;

// One pair the application has seen, with the user's two choices for it. Records are compared by
// identity (the same object), never by their values: two records may hold the same exchange and
// title. Assigning an attribute records the change in the editing context, to be written by the
// next save.
class Pair : public std::enable_shared_from_this<Pair> {
 public:
  const std::optional<std::string>& exchange() const { return exchange_; }
  const std::optional<std::string>& title() const { return title_; }
  bool isFavourite() const { return isFavourite_; }
  bool showInMenubar() const { return showInMenubar_; }

  void setExchange(std::optional<std::string> exchange);
  void setTitle(std::optional<std::string> title);
  void setIsFavourite(bool value);
  void setShowInMenubar(bool value);

  // Deleted from the context; the record lives on while something still holds it.
  bool isDeleted() const { return deleted_; }
  // Records made earlier come first among equal titles.
  std::uint64_t creationOrder() const { return sequence_; }

  Pair(const Pair&) = delete;
  Pair& operator=(const Pair&) = delete;

 private:
  friend class EditingContext;
  Pair(EditingContext* context, std::uint64_t sequence) : context_(context), sequence_(sequence) {}
  void changed(bool keyChanged);

  EditingContext* context_;
  std::uint64_t sequence_;  // creation order, which breaks ties between equal titles
  std::int64_t id_ = 0;     // 0 until first saved
  std::optional<std::string> exchange_;
  std::optional<std::string> title_;
  bool isFavourite_ = false;
  bool showInMenubar_ = false;
  bool dirty_ = false;
  bool deleted_ = false;
};

using PairRef = std::shared_ptr<Pair>;

}  // namespace pricora
