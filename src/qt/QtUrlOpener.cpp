#include "qt/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace pricora {

void QtUrlOpener::openURL(const std::string& url) {
  QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
}

}  // namespace pricora
