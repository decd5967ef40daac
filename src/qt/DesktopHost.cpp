#include "qt/DesktopHost.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

#include "qt/CoreTranslation.h"
#include "qt/TrayFont.h"

namespace pricora {

bool DesktopHost::presentError(const Error& untranslated) {
  const Error error = translatedError(untranslated);
  QMessageBox box(QMessageBox::Critical, "Pricora", QString::fromStdString(error.description), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  if (!error.userInfo.empty()) box.setDetailedText(QString::fromStdString(error.userInfo));
  box.exec();
  return false;  // our errors offer no way to recover but to dismiss them
}

std::size_t DesktopHost::runModal(const Alert& alert) {
  QMessageBox box(QMessageBox::Warning, "Pricora", QString::fromStdString(alert.messageText));
  box.setTextFormat(Qt::PlainText);
  box.setInformativeText(QString::fromStdString(alert.informativeText));
  std::vector<QAbstractButton*> buttons;
  for (const std::string& title : alert.buttons)
    buttons.push_back(box.addButton(QString::fromStdString(title), QMessageBox::AcceptRole));
  if (!buttons.empty()) box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
  box.exec();
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (box.clickedButton() == buttons[i]) return i;
  return 0;
}

std::string DesktopHost::localizedString(const std::string& key, const std::string& comment) {
  return translatedCoreText(key, comment).toStdString();
}

Error DesktopHost::localizedError(const Error& error) { return translatedError(error); }

void DesktopHost::log(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

void DesktopHost::printLine(const std::string& line) {
  std::fprintf(stdout, "%s\n", line.c_str());
  std::fflush(stdout);
}

void DesktopHost::activateIgnoringOtherApps() {
  if (QWidget* window =
          QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow())
    window->activateWindow();
}

void DesktopHost::quit() { QCoreApplication::exit(0); }

double DesktopHost::width(const AttributedTitle& title) const {
  double widest = 0;
  for (const QString& line : QString::fromStdString(title.text).split('\n'))
    widest = std::max(
        widest,
        QFontMetricsF(trayFont(title.weights.empty() ? 0.0 : title.weights.front().weight)).horizontalAdvance(line));
  return widest;
}

}  // namespace pricora
