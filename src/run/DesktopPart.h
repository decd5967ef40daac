#pragma once

namespace pricora {

// Runs the tray application (see DesktopRun.h) from its module, which sits at the same place
// relative to the program in the build tree and once installed. The program itself links
// nothing of Qt's widgets and graphics: loading them costs about 6 MB, which runs without a
// display (headless, text bars, alert commands) never pay. A module that is missing or broken
// is reported in one line, with status 1.
int runDesktopPart(int argc, char** argv);

}  // namespace pricora
