#pragma once

// The tray application: the program's run on a desktop, with its tray, menus, window and
// pictures. It is built as a module of its own that the program loads for this run mode alone
// (see DesktopPart.h), so that runs without a display never load Qt's widgets and graphics. A
// display must have been found first. Returns the process's exit status.
extern "C" int pricora_run_desktop(int argc, char** argv);
