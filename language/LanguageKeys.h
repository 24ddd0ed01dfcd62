#pragma once
// The language keys in the order they are read from a Language<n> section of config.ini.

#include <array>

namespace dunmere {

// Distinct keys a language section holds.
inline constexpr int LanguageKeyCount = 278;
// Read slots: one per key, and a second one for LangNo.
inline constexpr int LanguageSlotCount = LanguageKeyCount + 1;

// Key names as written in config.ini ("Langreset" with a small r); names match without
// regard to case.
[[nodiscard]] const std::array<const char*, LanguageSlotCount>& LanguageKeySlots();

}  // namespace dunmere
