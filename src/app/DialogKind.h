#pragma once

namespace corvelt {

// The modeless tool windows of the main window.
enum class DialogKind { viewKit, selectElements, selectNodes, legend };

}  // namespace corvelt
