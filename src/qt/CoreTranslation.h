#pragma once

#include <QString>

#include <string>

#include "platform/AppHost.h"

namespace pricora {

// The core and the platform speak English and know no Qt; their texts meet the user's language
// here, where they are shown.

// A text the core looks up through AppHost::localizedString, by its English text and the
// translator's comment (the quit alert's four texts).
QString translatedCoreText(const std::string& key, const std::string& comment);

// An error to show, its description in the user's language when it is one of the store's known
// sentences (each with one path in it); any other description stays as it is. The details are
// technical and stay English.
Error translatedError(const Error& error);

}  // namespace pricora
