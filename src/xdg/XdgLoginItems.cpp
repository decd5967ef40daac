#include "xdg/XdgLoginItems.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace pricora {

namespace {

// A program path as the Exec key wants it: quoted, with the characters the desktop entry
// specification reserves escaped.
std::string execArgument(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

bool XdgLoginItems::setEnabled(const std::string& identifier, bool enabled) {
  std::error_code error;
  const std::filesystem::path entry = entryPath(identifier);
  if (!enabled) {
    std::filesystem::remove(entry, error);
    return !error && !std::filesystem::exists(entry, error);
  }
  std::filesystem::create_directories(folder_, error);
  if (error) return false;
  // Written beside its final name and moved into place, so a login never finds half a file.
  const std::filesystem::path partial = entry.string() + ".partial";
  {
    std::ofstream file(partial, std::ios::trunc);
    file << "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Pricora\n"
            "Comment=Live cryptocurrency prices in the system tray\n"
            "Exec="
         << execArgument(executable_)
         << "\n"
            "Icon=example.pricora.Pricora\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n";
    file.flush();
    if (!file) {
      std::filesystem::remove(partial, error);
      return false;
    }
  }
  std::filesystem::rename(partial, entry, error);
  if (error) std::filesystem::remove(partial, error);
  return std::filesystem::is_regular_file(entry, error);
}

}  // namespace pricora
