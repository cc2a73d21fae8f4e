#pragma once

#include <string_view>

#include "app/DialogKind.h"
#include "app/DialogTemplate.h"

namespace corvelt {

// What a control of a tool window does, in a sentence for its tooltip; the
// control's own text stays as the template has it. Labels, which have no id, are
// known by their text. Empty for a control without a tooltip.
std::string_view controlTooltip(DialogKind kind, const DialogControl& control);

}  // namespace corvelt
