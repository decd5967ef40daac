#include "core/app/SaveAndQuit.h"

#include <string>

#include "core/app/AppDelegate.h"

namespace pricora {

void SaveAndQuit::saveAction() {
  if (context_.isReadOnly()) return;
  if (!context_.commitEditing())
    host_.log(std::string(AppDelegate::kQualifiedClassName) + " unable to commit editing before saving");
  if (!context_.hasChanges()) return;
  if (Status saved = context_.save(); !saved) host_.presentError(saved.error());
}

TerminateReply SaveAndQuit::applicationShouldTerminate() {
  if (context_.isReadOnly()) return TerminateReply::Now;
  if (!context_.commitEditing()) {
    host_.log(std::string(AppDelegate::kQualifiedClassName) + " unable to commit editing to terminate");
    return TerminateReply::Cancel;
  }
  if (!context_.hasChanges()) return TerminateReply::Now;
  const Status saved = context_.save();
  if (saved) return TerminateReply::Now;
  if (host_.presentError(saved.error())) return TerminateReply::Cancel;

  const Alert alert{
      host_.localizedString("Could not save changes while quitting. Quit anyway?",
                            "Quit without saves error question message"),
      host_.localizedString("Quitting now will lose any changes you have made since the last successful save",
                            "Quit without saves error question info"),
      {host_.localizedString("Quit anyway", "Quit anyway button title"),
       host_.localizedString("Cancel", "Cancel button title")}};
  return host_.runModal(alert) == 1 ? TerminateReply::Cancel : TerminateReply::Now;
}

void SaveAndQuit::saveBeforeForcedQuit() {
  if (context_.isReadOnly()) return;
  context_.commitEditing();
  if (!context_.hasChanges()) return;
  if (const Status saved = context_.save(); !saved)
    host_.log(std::string(AppDelegate::kQualifiedClassName) +
              " could not save changes while quitting: " + saved.error().description + ", " + saved.error().userInfo);
}

}  // namespace pricora
