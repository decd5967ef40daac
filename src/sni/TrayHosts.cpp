#include "sni/TrayHosts.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QFileInfo>

#include <array>

#include "DisplayConfigProxy.h"
#include "sni/DBusTypes.h"

namespace pricora {

namespace {

struct KnownHost {
  const char* program;
  HostTraits traits;
};

// Hosts known to draw labels beside icons, and xfce4-panel's systray (its plugins run in a
// wrapper process); every other host (KDE Plasma's kded, waybar, ...) shows icons only and gets
// the price drawn into the icon. mate-panel's notification area draws a label instead of the
// icon, which runs several items together: it gets no label either.
constexpr std::array<KnownHost, 5> kKnownHosts{{
    // GNOME Shell's AppIndicator extension: the tray shares the right half of the top bar with
    // the system menu, so three labels of 15 characters do not fit a laptop's screen.
    {"gnome-shell", {true, 34}},
    // The application indicator service behind MATE's, Xfce's and Budgie's indicator applets and
    // Unity's panel.
    {"ayatana-indicator-application-service", {true, 0}},
    {"indicator-application-service", {true, 0}},
    {"xfce4-panel", {false, 0, true}},
    {"wrapper-2.0", {false, 0, true}},
}};

constexpr qsizetype kShortNameLength = 15;  // the kernel keeps that much of a process's name

bool sameProgram(const QString& name, const QString& program) {
  return name == program || (name.size() == kShortNameLength && program.startsWith(name));
}

}  // namespace

HostTraits hostTraits(const QStringList& processNames) {
  for (const KnownHost& host : kKnownHosts)
    for (const QString& name : processNames)
      if (sameProgram(name, QString::fromLatin1(host.program))) return host.traits;
  return {};
}

QStringList watcherProcessNames(const QDBusConnection& bus) {
  QDBusConnectionInterface* daemon = bus.interface();
  if (!daemon) return {};
  const QString owner = daemon->serviceOwner(QString::fromLatin1(kWatcherService));
  const uint pid = owner.isEmpty() ? 0 : daemon->servicePid(owner).value();
  if (pid == 0) return {};
  QStringList names;
  const QString process = QStringLiteral("/proc/%1/").arg(pid);
  if (const QString program = QFileInfo(process + "exe").symLinkTarget(); !program.isEmpty())
    names << QFileInfo(program).fileName();
  QFile comm(process + "comm");
  if (comm.open(QIODevice::ReadOnly)) names << QString::fromLocal8Bit(comm.readAll()).trimmed();
  return names;
}

std::optional<int> shellScreenWidth(const QDBusConnection& bus) {
  const QString service = QStringLiteral("org.gnome.Mutter.DisplayConfig");
  if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service)) return std::nullopt;
  registerTrayDBusTypes();
  OrgGnomeMutterDisplayConfigInterface displays(service, QStringLiteral("/org/gnome/Mutter/DisplayConfig"), bus);
  // The compositor is the shell itself, which is answering our items already: a short wait.
  constexpr int kTimeoutMs = 500;
  displays.setTimeout(kTimeoutMs);
  QDBusPendingReply<uint, MutterMonitors, MutterLogicalMonitors, QVariantMap> state = displays.GetCurrentState();
  state.waitForFinished();
  if (!state.isValid()) return std::nullopt;

  // The width of each monitor's current mode, by connector.
  QMap<QString, int> widths;
  for (const MutterMonitor& monitor : state.argumentAt<1>())
    for (const MutterMode& mode : monitor.modes)
      if (mode.properties.value(QStringLiteral("is-current")).toBool()) widths[monitor.identity.connector] = mode.width;

  // The primary logical monitor's scale and first monitor.
  std::optional<int> width;
  for (const MutterLogicalMonitor& logical : state.argumentAt<2>()) {
    // A monitor turned a quarter (transforms 1, 3, 5 and 7) would need its height; the top bar
    // of such a screen is rare enough to leave to the program's own screen.
    if (logical.primary && !logical.monitors.isEmpty() && widths.contains(logical.monitors.front().connector) &&
        logical.scale > 0 && logical.transform % 2 == 0)
      width = static_cast<int>(widths[logical.monitors.front().connector] / logical.scale);
  }
  return width;
}

}  // namespace pricora
