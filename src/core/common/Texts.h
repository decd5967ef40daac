#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AppHost.h"

// The core's texts for people are English, marked where they are written with the marker Qt's
// lupdate collects, so the translations list them without a second copy. The core has no Qt:
// here the marker is the text itself. They reach the user through AppHost::localizedString,
// whose translations live in the context "AppDelegate".
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace pricora {

// The text in the user's language with %1, %2 ... replaced by the arguments, in one pass (an
// argument that holds "%2" stays as it is).
std::string localizedText(AppHost& host, const char* english, std::initializer_list<std::string_view> arguments = {});
std::string localizedText(AppHost& host, const char* english, const std::vector<std::string>& arguments);

}  // namespace pricora
