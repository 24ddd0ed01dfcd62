#pragma once
// Window sizes are given in twips; at 96 DPI a pixel is 15 twips. Halves round to even.

#include <cmath>

namespace dunmere {

[[nodiscard]] inline int Twips(int twips)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(twips) / 15.0));
}

}  // namespace dunmere
