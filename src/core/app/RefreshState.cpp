#include "core/app/RefreshState.h"

namespace pricora {

bool lastRefreshCompleted(const Menu& statusMenu) {
  return !statusMenu.empty() && statusMenu.lastItem()->title().starts_with("Updated: ");
}

bool refreshUnderWay(const Menu& statusMenu) {
  return !statusMenu.empty() && statusMenu.lastItem()->title().starts_with("Updating");
}

}  // namespace pricora
