#include "run/CommandLineAnswer.h"

#include <QCoreApplication>

#include <cstdio>

#include "qt/QtBundle.h"
#include "qt/Translation.h"

namespace pricora {

namespace {

QString translated(const char* text) { return QCoreApplication::translate("CommandLine", text); }

QString usage() {
  return QString::fromStdString(commandLineUsage([](const char* text) { return translated(text).toStdString(); }));
}

void put(std::FILE* stream, const QString& text) { std::fputs(text.toUtf8().constData(), stream); }

}  // namespace

int answerCommandLine(int argc, char** argv, const ParsedCommandLine& parsed) {
  QCoreApplication app(argc, argv);
  const Translation translation(app, QtBundle().resourcesFolder());
  if (!parsed.options) {
    // Most messages name no argument, and QString::arg warns about a missing place for one.
    QString message = translated(parsed.error.c_str());
    if (message.contains(QLatin1String("%1"))) message = message.arg(QString::fromStdString(parsed.argument));
    put(stderr, "pricora: " + message + "\n");
    put(stderr, usage());
    return 1;
  }
  if (parsed.options->help) {
    put(stdout, usage() + translated(kHelpDetails));
    return 0;
  }
  std::printf("Pricora %s\n", PRICORA_VERSION);
  return 0;
}

int reportNoDisplay(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const Translation translation(app, QtBundle().resourcesFolder());
  put(stderr, QCoreApplication::translate("CommandLine",
                                          "pricora: no display to show the tray icon on (DISPLAY and WAYLAND_DISPLAY "
                                          "name none); run with --headless to use it without one") +
                  "\n");
  return 1;
}

int reportNoDesktopPart(int argc, char** argv, const char* reason) {
  QCoreApplication app(argc, argv);
  const Translation translation(app, QtBundle().resourcesFolder());
  put(stderr, QCoreApplication::translate("CommandLine", "pricora: the tray application cannot be loaded (%1)")
                      .arg(QString::fromLocal8Bit(reason)) +
                  "\n");
  return 1;
}

}  // namespace pricora
