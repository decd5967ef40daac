#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pricora {

// A failure to show the user: what went wrong, and the details behind it (a path, the store
// engine's own message) rendered as text.
struct Error {
  std::string description;
  std::string userInfo;
};

struct Alert {
  std::string messageText;
  std::string informativeText;
  std::vector<std::string> buttons;  // in order; the first is the default
};

// The application object of the desktop: modal messages, the log, activation and quitting.
class AppHost {
 public:
  virtual ~AppHost() = default;
  // Shows the error modally. True when the user resolved it through a recovery option.
  virtual bool presentError(const Error& error) = 0;
  // Shows the alert modally and returns the index of the chosen button.
  virtual std::size_t runModal(const Alert& alert) = 0;
  // The text translated for the user's language, or key itself.
  virtual std::string localizedString(const std::string& key, const std::string& comment) = 0;
  // The error's description in the user's language, where it is one the host knows.
  virtual Error localizedError(const Error& error) { return error; }
  // One diagnostic line to the platform log (standard error).
  virtual void log(const std::string& line) = 0;
  // One line to standard output.
  virtual void printLine(const std::string& line) = 0;
  // Brings the application in front of every other application.
  virtual void activateIgnoringOtherApps() = 0;
  // Ends the event loop: the application has agreed to quit.
  virtual void quit() = 0;
};

}  // namespace pricora
