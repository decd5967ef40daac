#include "sni/IconFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>

#include <algorithm>
#include <ctime>

#include <vector>

namespace pricora {

namespace {

// Where hicolor keeps a picture of that many pixels: its own size, and twice half of it.
std::vector<QString> foldersFor(int pixels) {
  std::vector<QString> folders{QStringLiteral("%1x%1").arg(pixels)};
  if (pixels % 2 == 0 && pixels >= 32) folders.push_back(QStringLiteral("%1x%1@2").arg(pixels / 2));
  return folders;
}

QString fileOf(const QString& theme, const QString& folder, const QString& name) {
  return theme + "/hicolor/" + folder + "/apps/" + name + ".png";
}

}  // namespace

IconFolder::IconFolder(QString root) : root_(std::move(root)) {
  if (!root_.isEmpty() && !QDir().mkpath(themePath())) root_.clear();
}

IconFolder::~IconFolder() {
  if (!root_.isEmpty()) QDir(root_).removeRecursively();
}

QString IconFolder::rootIn(const QString& parent, qint64 pid) {
  return parent + QStringLiteral("/pricora-%1").arg(pid);
}

void IconFolder::removeAbandoned(const QString& parent) {
  const QString prefix = QStringLiteral("pricora-");
  for (const QString& name :
       QDir(parent).entryList({prefix + '*'}, QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
    bool number = false;
    const qint64 pid = name.mid(prefix.size()).toLongLong(&number);
    // A process that runs, even another user's (EPERM), keeps its folder.
    if (!number || pid <= 0 || rootIn(parent, pid) != parent + '/' + name || kill(static_cast<pid_t>(pid), 0) == 0 ||
        errno != ESRCH)
      continue;
    QDir folder(parent + '/' + name);
    if (folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) == QStringList{"icons"})
      folder.removeRecursively();
  }
}

QString IconFolder::themePath() const { return root_.isEmpty() ? QString() : root_ + "/icons"; }

QString IconFolder::publish(const QString& key, const Pictures& pictures) {
  if (root_.isEmpty()) return {};
  QCryptographicHash hash(QCryptographicHash::Sha1);
  for (const QImage& picture : pictures)
    hash.addData(QByteArrayView(picture.constBits(), static_cast<qsizetype>(picture.sizeInBytes())));
  // The key keeps two items with the same picture apart, so that one's change leaves the other's files.
  const QString name = "pricora-" + key + "-" + QString::fromLatin1(hash.result().toHex().left(12));
  if (const auto known = names_.find(key); known != names_.end() && known->second == name) return name;
  withdraw(key);
  for (const QImage& picture : pictures) {
    for (const QString& folder : foldersFor(picture.width())) {
      const QString file = fileOf(themePath(), folder, name);
      if (!QDir().mkpath(file.section('/', 0, -2)) || !picture.save(file, "PNG")) return {};
    }
  }
  names_[key] = name;
  markThemeChanged();
  return name;
}

void IconFolder::markThemeChanged() {
  // GTK keeps a theme folder's list of files until the theme folder's own time changes, which it
  // reads in whole seconds; hosts on the desktop's shared theme (mate-panel, the indicator
  // applet) would not find a picture written in the same second as the one before.
  changed_ = std::max(static_cast<std::int64_t>(std::time(nullptr)), changed_ + 1);
  const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(changed_), 0}};
  utimensat(AT_FDCWD, QFile::encodeName(themePath() + "/hicolor").constData(), times, 0);
}

void IconFolder::withdraw(const QString& key) {
  const auto found = names_.find(key);
  if (found == names_.end()) return;
  for (int pixels : kTraySizes)
    for (const QString& folder : foldersFor(pixels)) QFile::remove(fileOf(themePath(), folder, found->second));
  names_.erase(found);
}

}  // namespace pricora
