#pragma once

namespace corvelt {

// The keys that turn the model, one step per key-down (repeats included).
enum class ArrowKey { left, up, right, down };

// The character that Esc produces.
inline constexpr char32_t escapeCharacter = 27;

}  // namespace corvelt
