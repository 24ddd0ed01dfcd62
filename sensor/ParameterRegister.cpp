#include "ParameterRegister.h"

#include <algorithm>
#include <iterator>

namespace dunmere {

namespace {

using K = ParameterKind;

// Ordered by number. The read limits are those the pages parse with; smoothing time reads up
// to 100 where "Any" is offered, and its page narrows the limit to 6 otherwise.
constexpr ParameterInfo Register[] = {
    {1, "moisture calibration coefficient A", K::Number, 0, 0, "W1"},
    {2, "moisture calibration coefficient B", K::Number, 0, 0, "W2"},
    {3, "moisture calibration coefficient C", K::Number, 0, 0, "W3"},
    {4, "moisture calibration coefficient D (SSD)", K::Number, 0, 0, "W4"},
    {5, "analogue output type", K::Index, 3, 3, "W5"},
    {6, "analogue output 1 variable", K::Code, 0, 12, "W6"},
    {7, "analogue output low limit, %", K::Number, 0, 0, "W7"},
    {8, "analogue output high limit, %", K::Number, 0, 0, "W8"},
    {9, "digital input 1 use", K::Index, 4, 4, "W9"},
    {10, "water (low) reference frequency", K::Number, 0, 0, "W10"},
    {11, "air (high) reference frequency", K::Number, 0, 0, "W11"},
    {12, "electronics temperature frequency coefficient", K::Number, 0, 0, "W12"},
    {13, "average/hold delay", K::Index, 6, 6, "W13"},
    {14, "smoothing time", K::Index, 6, 101, "W14"},
    {16, "slew rate limit +", K::Index, 4, 4, "W16"},
    {17, "slew rate limit -", K::Index, 4, 4, "W17"},
    {20, "averaging valid range, moisture low", K::Number, 0, 0, "W20"},
    {21, "averaging valid range, moisture high", K::Number, 0, 0, "W21"},
    {22, "averaging valid range, unscaled low", K::Number, 0, 0, "W22"},
    {23, "averaging valid range, unscaled high", K::Number, 0, 0, "W23"},
    {24, "digital input/output 2 use", K::Index, 5, 5, "W24"},
    {25, "Brix coefficient A", K::Number, 0, 0, "W25"},
    {26, "Brix coefficient B", K::Number, 0, 0, "W26"},
    {27, "Brix coefficient C", K::Number, 0, 0, "W27"},
    {28, "Brix coefficient D", K::Number, 0, 0, "W28"},
    {29, "analogue output 2 variable", K::Code, 0, 12, "W29"},
    {31, "analogue output 1 test value (raw)", K::Number, 0, 0, "W31"},
    {37, "analogue output 2 test value (raw)", K::Number, 0, 0, "W37"},
    {38, "measurement mode 1", K::Code, 0, 5, "W38"},
    {39, "water (low) reference amplitude", K::Number, 0, 0, "W39"},
    {40, "air (high) reference amplitude", K::Number, 0, 0, "W40"},
    {42, "configuration value 42", K::Number, 0, 0, nullptr},
    {43, "configuration value 43", K::Number, 0, 0, nullptr},
    {46, "filtered unscaled reading, second channel", K::Number, 0, 0, nullptr},
    {47, "measurement mode 2", K::Code, 0, 5, "W47"},
    {49, "averaging mode", K::Index, 2, 2, "W49"},
    {50, "firmware identification", K::Text, 0, 0, nullptr},
    {51, "firmware checksum", K::Text, 0, 0, nullptr},
    {55, "resonator temperature frequency coefficient", K::Number, 0, 0, "W55"},
    {56, "material temperature frequency coefficient", K::Number, 0, 0, "W56"},
    {57, "electronics temperature amplitude coefficient", K::Number, 0, 0, "W57"},
    {58, "resonator temperature amplitude coefficient", K::Number, 0, 0, "W58"},
    {59, "material temperature amplitude coefficient", K::Number, 0, 0, "W59"},
    {61, "filtered moisture, %", K::Number, 0, 0, nullptr},
    {62, "average moisture, %", K::Number, 0, 0, nullptr},
    {64, "filtered unscaled reading", K::Number, 0, 0, nullptr},
    {65, "average unscaled reading", K::Number, 0, 0, nullptr},
    {66, "electronics temperature, C", K::Number, 0, 0, nullptr},
    {67, "resonator temperature, C", K::Number, 0, 0, nullptr},
    {69, "status flags", K::Text, 0, 0, nullptr},
    {74, "Brix reading", K::Number, 0, 0, nullptr},
    {75, "material temperature, C", K::Number, 0, 0, nullptr},
    {77, "digital signal processing level", K::Index, 6, 6, "W77"},
    {78, "hardware kind bits", K::Number, 0, 0, nullptr},
    {79, "arm type", K::Code, 0, 36, "W79"},
    {100, "raw unscaled samples, channel 1", K::Bytes, 0, 0, nullptr},
    {117, "raw unscaled samples, channel 2", K::Bytes, 0, 0, nullptr},
};

constexpr bool ordered()
{
    for (std::size_t i = 1; i < std::size(Register); ++i)
        if (Register[i].number <= Register[i - 1].number)
            return false;
    return true;
}
static_assert(ordered(), "lookups rely on number order");

}  // namespace

std::span<const ParameterInfo> ParameterRegister() { return Register; }

const ParameterInfo* FindParameter(int number)
{
    const auto all = ParameterRegister();
    const auto it = std::lower_bound(all.begin(), all.end(), number,
                                     [](const ParameterInfo& p, int n) { return p.number < n; });
    return it != all.end() && it->number == number ? &*it : nullptr;
}

}  // namespace dunmere
