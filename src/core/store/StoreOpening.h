#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "core/store/EditingContext.h"
#include "platform/PairStore.h"
#include "platform/Result.h"

namespace pricora {

// Opens the store file at a path; the SQLite store in the program, fakes in tests.
using PairStoreOpener = std::function<Result<std::unique_ptr<PairStore>>(const std::string& path)>;

// Why the application cannot run: the error to show the user first, when there is one, and the
// line for the log. The process then ends with a failure status.
struct StoreFailure {
  std::optional<Error> error;
  std::string diagnostic;
};

struct StoreLocation {
  std::string folder;  // <data home>/com.apple.toolsQA.CocoaApp_CD
  std::string file;    // <folder>/Mintor.storedata
};

// dataHome: the user's application-data folder ($XDG_DATA_HOME, else ~/.local/share).
StoreLocation storeLocation(const std::string& dataHome);

// Finds or makes the store's folder, opens the store file in it and reads every record. A
// missing folder is made with every folder on the way; anything in the way ends in a failure.
std::variant<std::unique_ptr<EditingContext>, StoreFailure> openPairStore(const StoreLocation& location,
                                                                          const PairStoreOpener& opener);

}  // namespace pricora
