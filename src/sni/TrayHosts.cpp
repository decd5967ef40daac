#include "sni/TrayHosts.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QFileInfo>

#include <array>

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
  const QString owner = daemon->serviceOwner(QStringLiteral("org.kde.StatusNotifierWatcher"));
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

}  // namespace pricora
