#pragma once
// Colours as the settings file and the database keep them: red in the low byte, then green, then
// blue, top byte 0.

#include <array>
#include <cstdint>

using ColoreRgb = std::uint32_t;

// The custom colours of the colour dialog.
using ColoriPersonalizzati = std::array<ColoreRgb, 16>;
