#pragma once

#include <string>
#include <string_view>

namespace corvelt {

// Text for the user from bytes that are meant to be UTF-8 but need not be (file
// names, and messages that name files): valid UTF-8 stays as it is and every other
// byte is shown as \xHH, so that a name that is not UTF-8 is shown with all its
// bytes instead of as replacement characters.
std::string displayText(std::string_view bytes);

}  // namespace corvelt
