#pragma once

namespace corvelt {

// The three modeless tool windows of the main window.
enum class DialogKind { viewKit, selectElements, selectNodes };

}  // namespace corvelt
