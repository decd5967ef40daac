#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/store/Pair.h"
#include "platform/PairStore.h"
#include "platform/Result.h"

namespace pricora {

// Something that may hold an edit not yet written into its record (a table cell being edited).
class Editor {
 public:
  virtual bool commitEditing() = 0;

 protected:
  ~Editor() = default;
};

// Told about every insert, delete and change of a record's exchange or title, at once.
class ContextObserver {
 public:
  virtual void pairInserted(const PairRef& pair) = 0;
  virtual void pairDeleted(const PairRef& pair) = 0;
  virtual void pairKeyChanged(const PairRef& pair) = 0;

 protected:
  ~ContextObserver() = default;
};

// The application's one editing context: every record, and the changes not yet saved.
class EditingContext {
 public:
  // The records already in store; the context writes its changes back there.
  static Result<std::unique_ptr<EditingContext>> open(std::unique_ptr<PairStore> store);
  EditingContext(const EditingContext&) = delete;
  EditingContext& operator=(const EditingContext&) = delete;
  ~EditingContext();

  // A new record with both flags false. Not saved until the next save().
  PairRef insertPair(std::string exchange, std::string title);
  void deletePair(PairRef pair);  // by value: callers pass elements of content()
  // Deletes all of them in one walk over the records, however many.
  void deletePairs(const std::vector<PairRef>& pairs);

  // Every record, in creation order.
  const std::vector<PairRef>& content() const { return records_; }

  bool hasChanges() const;
  // Asks every registered editor to commit its edit; true when all did.
  bool commitEditing();
  void registerEditor(Editor* editor);
  void unregisterEditor(Editor* editor);

  // Writes every pending insert, change and delete in one transaction. On failure nothing is
  // written and every change stays pending for the next save.
  Status save();

  // The store belongs to another process: this context only follows it and never saves.
  bool isReadOnly() const { return store_->isReadOnly(); }
  // Brings the records in line with the store as it is now, for a context that follows a store
  // someone else writes. A record still stored keeps its identity and takes the stored values;
  // records no longer stored leave, as do records never saved; new stored records arrive at the
  // end. Unsaved changes are dropped. On failure nothing changes.
  Status reloadFromStore();

  void setObserver(ContextObserver* observer) { observer_ = observer; }

 private:
  friend class Pair;
  explicit EditingContext(std::unique_ptr<PairStore> store) : store_(std::move(store)) {}
  PairRef makePair();
  PairRef adopt(const StoredPair& stored);
  void recordChanged(Pair& pair, bool keyChanged);

  std::unique_ptr<PairStore> store_;
  std::vector<PairRef> records_;
  std::vector<PairRef> deleted_;  // saved records deleted since the last save
  std::vector<Editor*> editors_;
  ContextObserver* observer_ = nullptr;
  std::uint64_t nextSequence_ = 0;
};

}  // namespace pricora
