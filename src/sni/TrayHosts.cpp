#include "sni/TrayHosts.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
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
  // The compositor is the shell itself, which is answering our items already: a short wait.
  constexpr int kTimeoutMs = 500;
  const QDBusMessage reply =
      bus.call(QDBusMessage::createMethodCall(service, QStringLiteral("/org/gnome/Mutter/DisplayConfig"), service,
                                              QStringLiteral("GetCurrentState")),
               QDBus::Block, kTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 3) return std::nullopt;

  // Monitors, a((ssss)a(siiddada{sv})a{sv}): the width of each one's current mode by connector.
  QMap<QString, int> widths;
  const QDBusArgument monitors = reply.arguments()[1].value<QDBusArgument>();
  monitors.beginArray();
  while (!monitors.atEnd()) {
    monitors.beginStructure();
    QString connector, vendor, product, serial;
    monitors.beginStructure();
    monitors >> connector >> vendor >> product >> serial;
    monitors.endStructure();
    monitors.beginArray();
    while (!monitors.atEnd()) {
      QString mode;
      int width = 0, height = 0;
      double rate = 0, preferredScale = 0;
      QList<double> scales;
      QVariantMap properties;
      monitors.beginStructure();
      monitors >> mode >> width >> height >> rate >> preferredScale >> scales >> properties;
      monitors.endStructure();
      if (properties.value(QStringLiteral("is-current")).toBool()) widths[connector] = width;
    }
    monitors.endArray();
    QVariantMap properties;
    monitors >> properties;
    monitors.endStructure();
  }
  monitors.endArray();

  // Logical monitors, a(iiduba(ssss)a{sv}): the primary one's scale and first monitor.
  std::optional<int> width;
  const QDBusArgument logical = reply.arguments()[2].value<QDBusArgument>();
  logical.beginArray();
  while (!logical.atEnd()) {
    int x = 0, y = 0;
    double scale = 1;
    uint transform = 0;
    bool primary = false;
    logical.beginStructure();
    logical >> x >> y >> scale >> transform >> primary;
    QStringList connectors;
    logical.beginArray();
    while (!logical.atEnd()) {
      QString connector, vendor, product, serial;
      logical.beginStructure();
      logical >> connector >> vendor >> product >> serial;
      logical.endStructure();
      connectors << connector;
    }
    logical.endArray();
    QVariantMap properties;
    logical >> properties;
    logical.endStructure();
    // A monitor turned a quarter (transforms 1, 3, 5 and 7) would need its height; the top bar
    // of such a screen is rare enough to leave to the program's own screen.
    if (primary && !connectors.isEmpty() && widths.contains(connectors.front()) && scale > 0 && transform % 2 == 0)
      width = static_cast<int>(widths[connectors.front()] / scale);
  }
  logical.endArray();
  return width;
}

}  // namespace pricora
