#pragma once

#include "core/store/EditingContext.h"
#include "platform/AppHost.h"

namespace pricora {

enum class TerminateReply { Now, Cancel };

// Saving the store on demand and before quitting. A read-only context (the store is another
// process's) is never saved: what it holds beyond the store (pairs seen for the first time) is
// scratch that the next reload replaces, and quitting never waits for it.
class SaveAndQuit {
 public:
  SaveAndQuit(AppHost& host, EditingContext& context) : host_(host), context_(context) {}

  // Commits pending edits and saves; a failure is shown, and the changes stay pending.
  void saveAction();
  // Whether the application may quit now: yes when everything is saved, else the user decides.
  TerminateReply applicationShouldTerminate();
  // For a quit nobody can be asked about (a signal, the desktop session ending): saves what it
  // can and logs a failure instead of asking.
  void saveBeforeForcedQuit();

 private:
  AppHost& host_;
  EditingContext& context_;
};

}  // namespace pricora
