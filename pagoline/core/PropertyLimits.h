#pragma once

#include <QtGlobal>

#include <algorithm>

// The bounds on the control's settings. A damaged saved form or a careless call must not
// make the control thousands of tabs long, overflow the width arithmetic or ask for a
// back buffer of hundreds of megabytes; no real form comes near these numbers. The
// setters, the property page (through the setters) and the property-bag reader all bound
// a value here, so the three can never disagree.
namespace PropertyLimits {

inline constexpr int MaxTabs = 256;
inline constexpr int MaxTabsPerRow = 64;
inline constexpr int MaxTabHeight = 512;   // pixels
inline constexpr int MaxTabMaxWidth = 1024; // pixels
// Records of host controls read for one tab.
inline constexpr int MaxControlsPerTab = 4096;
// The style grows a control that is too small for its tabs, but never past this many
// pixels in either direction; the rest of the strip is then cut off.
inline constexpr int MaxGrownExtent = 4096;

// Each bound takes a value to the nearest one allowed. A setter that ignores some values
// (a tabs-per-row below 1, a tab height of 0) tests for them before it bounds.
[[nodiscard]] constexpr int BoundTabsPerRow(qint64 perRow)
{
    return int(std::clamp<qint64>(perRow, 1, MaxTabsPerRow));
}
[[nodiscard]] constexpr int BoundTabs(qint64 count)
{
    return int(std::clamp<qint64>(count, 0, MaxTabs));
}
// Tab height and maximum width in whole pixels; 0 is a value of its own for both.
[[nodiscard]] constexpr int BoundTabHeight(qint64 pixels)
{
    return int(std::clamp<qint64>(pixels, 0, MaxTabHeight));
}
[[nodiscard]] constexpr int BoundTabMaxWidth(qint64 pixels)
{
    return int(std::clamp<qint64>(pixels, 0, MaxTabMaxWidth));
}
[[nodiscard]] constexpr int BoundControlsPerTab(qint64 count)
{
    return int(std::clamp<qint64>(count, 0, MaxControlsPerTab));
}
[[nodiscard]] constexpr int BoundGrownExtent(int pixels)
{
    return std::clamp(pixels, 0, MaxGrownExtent);
}

// The declared values of the enumerated properties; anything else is not one of them.
[[nodiscard]] constexpr bool IsStyle(qint64 value)
{
    return value == 0 || value == 1;
}
[[nodiscard]] constexpr bool IsOrientation(qint64 value)
{
    return value >= 0 && value <= 3;
}
[[nodiscard]] constexpr bool IsOLEDropMode(qint64 value)
{
    return value == 0 || value == 1;
}
[[nodiscard]] constexpr bool IsMousePointer(qint64 value)
{
    return (value >= 0 && value <= 15) || value == 99;
}

} // namespace PropertyLimits
