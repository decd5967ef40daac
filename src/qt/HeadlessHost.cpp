#include "qt/HeadlessHost.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

#include "qt/CoreTranslation.h"

namespace pricora {

namespace {

void errorLine(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace

bool HeadlessHost::presentError(const Error& untranslated) {
  const Error error = translatedError(untranslated);
  errorLine(error.description);
  if (!error.userInfo.empty()) errorLine(error.userInfo);
  return false;
}

std::size_t HeadlessHost::runModal(const Alert& alert) {
  errorLine(alert.messageText);
  if (!alert.informativeText.empty()) errorLine(alert.informativeText);
  return 0;
}

std::string HeadlessHost::localizedString(const std::string& key, const std::string& comment) {
  return translatedCoreText(key, comment).toStdString();
}

Error HeadlessHost::localizedError(const Error& error) { return translatedError(error); }

void HeadlessHost::log(const std::string& line) { errorLine(line); }

void HeadlessHost::printLine(const std::string& line) {
  std::FILE* out = printToStandardError_ ? stderr : stdout;
  std::fprintf(out, "%s\n", line.c_str());
  std::fflush(out);
}

void HeadlessHost::openURL(const std::string& url) { errorLine("open " + url); }

void HeadlessHost::quit() { QCoreApplication::exit(exitStatus_); }

double HeadlessHost::width(const AttributedTitle& title) const {
  // About what the tray font gives at 8 points: 5 points a character of the longest line.
  std::size_t longest = 0, current = 0;
  for (unsigned char c : title.text) {
    if (c == '\n') {
      longest = std::max(longest, current);
      current = 0;
    } else if ((c & 0xC0) != 0x80) {
      ++current;
    }
  }
  return 5.0 * static_cast<double>(std::max(longest, current));
}

}  // namespace pricora
