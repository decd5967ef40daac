#pragma once

#include <QDBusConnection>
#include <QStringList>

#include <optional>

namespace pricora {

// The bus name of the desktop's tray, where items register.
inline constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";

// What the desktop's tray draws of an item, known from the program that owns the bus's
// org.kde.StatusNotifierWatcher: the watcher runs in the host that shows the items.
struct HostTraits {
  bool drawsLabels = false;  // writes XAyatanaLabel beside the icon
  // Characters of label that fit beside all items together on a screen 1280 pixels wide, where
  // the host gives the tray only part of its bar; 0 where labels have room enough.
  int labelRoom = 0;
  // Takes a new item only once it has stored the one before: xfce4-panel's systray writes each new
  // item's Id to its settings by a round trip that an item arriving meanwhile undoes, and then
  // leaves that item out of the panel.
  bool oneItemAtATime = false;
  friend bool operator==(const HostTraits&, const HostTraits&) = default;
};

// The traits of the host whose watcher runs in a program of one of these names (its file name, or
// the kernel's name for the process, cut to 15 characters). A program not in the table draws
// icons only, as the StatusNotifierItem protocol itself does.
HostTraits hostTraits(const QStringList& processNames);

// The names of the program that owns the watcher on bus, for hostTraits; empty when the bus or
// the system does not tell (another user's process, a sandbox).
QStringList watcherProcessNames(const QDBusConnection& bus);

// The width in logical pixels of the primary monitor as GNOME's compositor lays it out, asked of
// org.gnome.Mutter.DisplayConfig on bus; none where no such service answers. The screen the
// program itself sees may be another one (a nested or virtual display), while the top bar's
// room for labels is the shell's.
std::optional<int> shellScreenWidth(const QDBusConnection& bus);

}  // namespace pricora
