#pragma once

#include <QString>

#include <cstdint>
#include <map>

#include "qt/PriceIcon.h"

namespace pricora {

// A theme folder of the program's own, for hosts that show icons only by name (the Ayatana
// indicator applet reads IconName and never IconPixmap): each item's pictures are PNG files in
// <root>/icons/hicolor/<size>x<size>[@2]/apps/, and <root>/icons is the items' IconThemePath.
// Hosts keep pictures by name, so a new picture gets a new name and the files of the one it
// replaces go. Nothing is written anywhere else; the folder goes with the object.
class IconFolder {
 public:
  // root: a folder to make, in a private place such as $XDG_RUNTIME_DIR; empty, or a folder that
  // cannot be made: pictures are not published and hosts have the pixmaps alone.
  explicit IconFolder(QString root);
  ~IconFolder();
  IconFolder(const IconFolder&) = delete;
  IconFolder& operator=(const IconFolder&) = delete;

  // The root of the process pid's folder in parent.
  static QString rootIn(const QString& parent, qint64 pid);
  // Removes the folders in parent that processes which ended without removing them (a crash, a
  // SIGKILL) left there; only folders named and filled as rootIn and publish make them.
  static void removeAbandoned(const QString& parent);

  // <root>/icons, or empty when there is no folder.
  QString themePath() const;

  // Writes pictures (one per size of kTraySizes) for the item known by key, and names them; the
  // same pictures keep their name. Empty when there is no folder or writing failed.
  QString publish(const QString& key, const Pictures& pictures);
  // Removes the files of key's pictures.
  void withdraw(const QString& key);

 private:
  void markThemeChanged();

  QString root_;
  std::map<QString, QString> names_;  // key -> name of its pictures
  std::int64_t changed_ = 0;          // the time last given to the theme folder, in seconds
};

}  // namespace pricora
