#pragma once

#include <cstddef>

#include "Reply.h"

namespace exsim {

// What a failing front end in front of an exchange sends: an HTML error page.
Reply serverErrorPage();
// A 200 whose body is not JSON, like a captive portal or a maintenance page.
Reply maintenancePage();

// Grows a JSON reply to at least `size` bytes keeping its shape: an extra "padding" member in
// the outermost object, or in the last element of an array of objects; white space in an array
// of strings (Bitfinex's symbols), where any extra element would read as one more symbol.
void padTo(Reply& reply, std::size_t size);

}  // namespace exsim
