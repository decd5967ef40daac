#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pricora {

// What became of a text the user typed into a row: a sentence for the user, and whether it is an
// error (then nothing was stored, and the row keeps the text for correcting).
struct ManageNote {
  std::string text;
  bool isError = false;
  friend bool operator==(const ManageNote&, const ManageNote&) = default;
};

// A pair's alerts as the user writes them, and the ids of the alerts written, in the same order.
struct ShownAlerts {
  std::string text;
  std::vector<std::int64_t> ids;
};

// One row of the management table.
struct ManageRow {
  std::uint64_t id = 0;  // which record the row shows; rows are matched by it, not by position
  std::string title;
  bool isFavourite = false;
  bool showInMenubar = false;
  std::string alerts;  // the pair's alerts as the user writes them: "> 11000; +5% 1h"
  // The alerts the text was written from, in its order. An edit of the text changes these and
  // no others: alerts made elsewhere since the window last read the rows are not in the text.
  std::vector<std::int64_t> alertIds;
  ManageNote alertsNote;
  std::string holding;  // the amount of the pair the user owns, "0.25"; empty for none
  ManageNote holdingNote;
};

// What the management window asks of the application.
class ManageWindowDelegate {
 public:
  virtual std::size_t numberOfRows() const = 0;
  virtual ManageRow row(std::size_t index) const = 0;
  // A check box of a row was set to on; the window has already shown the new state.
  virtual void favouriteChanged(std::uint64_t id, bool on) = 0;
  virtual void showInMenubarChanged(std::uint64_t id, bool on) = 0;
  // The user typed the row's alerts over the text made from the alerts madeFrom (the row's
  // alertIds); the window shows the text until the next reload.
  virtual void alertsChanged(std::uint64_t id, const std::string& text, const std::vector<std::int64_t>& madeFrom) = 0;
  // The user typed the row's holding; empty or 0 removes it.
  virtual void holdingChanged(std::uint64_t id, const std::string& text) = 0;
  virtual void selectedExchangeChanged() = 0;

 protected:
  ~ManageWindowDelegate() = default;
};

// The window where the user picks favourites and menu-bar items, one exchange at a time. It
// shows the rows as they were at the last reloadData().
class ManageWindow {
 public:
  virtual ~ManageWindow() = default;
  virtual void setDelegate(ManageWindowDelegate* delegate) = 0;
  // The label of the selected exchange segment, if one is selected.
  virtual std::optional<std::string> selectedSegmentLabel() const = 0;
  virtual void reloadData() = 0;
  // Shows the window in front of every other application's windows, with the keyboard focus.
  virtual void makeKeyAndOrderFront() = 0;
  // The table's look for a long list of pairs (alternating rows), in the desktop's own palette.
  virtual void setDarkTableAppearance() = 0;
  // Keeps the window above the others.
  virtual void setFloating() = 0;
};

}  // namespace pricora
