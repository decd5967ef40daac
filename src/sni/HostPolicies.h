#pragma once

#include <chrono>

namespace pricora {

// What the hosts that show our menus need beyond the protocol's letter. The exporter follows the
// rules of every family at once: it cannot tell which host asks.

// GNOME Shell's AppIndicator extension fetches the whole tree on every LayoutUpdated, and again
// when AboutToShow answers that an update is needed; it sends "opened" beside AboutToShow.
struct GnomeShellPolicy {
  // A layout change of a closed menu waits until the menu opens, and AboutToShow's answer tells of
  // it then: told at once, GNOME would rebuild thousands of items for each burst of a refresh.
  static bool holdsLayout(bool menuOpen) { return !menuOpen; }
};

// Hosts built on libdbusmenu (xfce4-panel among them) send AboutToShowGroup, ignore its answer
// and fetch again only on LayoutUpdated. They never send "closed" for the top menu.
struct LibdbusmenuPolicy {
  // They are told as the top menu opens, when whatever changed below it can still be fetched
  // before a submenu shows: told as the submenu itself opens, they rebuild it while showing it,
  // and show it empty.
  static bool announcesOpening(int id, bool anythingWaiting) { return id == 0 && anythingWaiting; }

  // What an opening starts (the last-update label's timer, rewriting the label every second)
  // would run for as long as the program does: a menu counts as closed once hosts have been
  // silent this long. Openings and events renew it, fetches do not (hosts fetch whatever they are
  // told of, open or not); a host that closes the top menu ends the rule. Two
  // minutes leave the label's seconds and its first minute to someone who keeps the menu open
  // without touching it, at the cost of a label rewritten for two minutes after the menu closed.
  static constexpr std::chrono::minutes kSilenceCloses{2};
};

}  // namespace pricora
