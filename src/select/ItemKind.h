#pragma once

namespace corvelt {

// The two kinds of items a selection set, a selection list file or a stress
// listing is about.
enum class ItemKind { elements, nodes };

}  // namespace corvelt
