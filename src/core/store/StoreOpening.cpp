#include "core/store/StoreOpening.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace pricora {

namespace {

Error folderError(const std::string& folder, int error) {
  return Error{
      "The folder “" + folder + "” for Pricora’s data could not be read.",
      "{path = \"" + folder + "\"; reason = \"" + std::strerror(error) + "\"; errno = " + std::to_string(error) + "}"};
}

}  // namespace

StoreLocation storeLocation(const std::string& dataHome) {
  const std::string folder = (std::filesystem::path(dataHome) / "com.apple.toolsQA.CocoaApp_CD").string();
  return {folder, (std::filesystem::path(folder) / "Mintor.storedata").string()};
}

std::variant<std::unique_ptr<EditingContext>, StoreFailure> openPairStore(const StoreLocation& location,
                                                                          const PairStoreOpener& opener) {
  std::optional<Error> error;
  std::optional<std::string> reason;

  struct stat info {};
  if (stat(location.folder.c_str(), &info) != 0) {
    const int readError = errno;
    // A missing folder is made, with every folder on the way. When that fails the reading error
    // is what gets reported: it says what the application found.
    bool usable = false;
    if (readError == ENOENT) {
      std::error_code ignored;
      std::filesystem::create_directories(location.folder, ignored);
      usable = std::filesystem::is_directory(location.folder, ignored);
    }
    if (!usable) error = folderError(location.folder, readError);
  } else if (!S_ISDIR(info.st_mode)) {
    reason = "Expected a folder to store application data, found a file " + location.folder + ".";
  }

  if (!error) {
    Result<std::unique_ptr<PairStore>> store = opener(location.file);
    if (!store) {
      error = store.error();
    } else if (!reason) {
      Result<std::unique_ptr<EditingContext>> context = EditingContext::open(std::move(store.value()));
      if (context) return std::move(context.value());
      error = context.error();
    }
  }

  if (error) return StoreFailure{error, "Unresolved error: " + error->description + ", " + error->userInfo};
  return StoreFailure{std::nullopt, "Unsresolved error: " + *reason};
}

}  // namespace pricora
