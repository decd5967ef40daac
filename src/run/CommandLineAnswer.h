#pragma once

#include "run/CommandLine.h"

namespace pricora {

// What a start answers without running the application, in the user's language: the help, the
// version, a bad command line with the usage (status 1), that there is no display (status 1), or
// that the tray application's module could not be loaded, and why (status 1). Each makes a
// short-lived application object for the translation, so none may exist yet.
int answerCommandLine(int argc, char** argv, const ParsedCommandLine& parsed);
int reportNoDisplay(int argc, char** argv);
int reportNoDesktopPart(int argc, char** argv, const char* reason);

}  // namespace pricora
