#include "sni/IconFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

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
  return name;
}

void IconFolder::withdraw(const QString& key) {
  const auto found = names_.find(key);
  if (found == names_.end()) return;
  for (int pixels : kTraySizes)
    for (const QString& folder : foldersFor(pixels)) QFile::remove(fileOf(themePath(), folder, found->second));
  names_.erase(found);
}

}  // namespace pricora
