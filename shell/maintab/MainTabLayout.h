#pragma once
// The four pages of MainTab as the main window's form lays them out: one container widget per
// page placed directly on the tab control, the captions they were designed with (the language
// texts replace them), and the strip's saved settings.

namespace dunmere::maintab {

inline constexpr int PageCount = 4;
inline constexpr int TabsPerRow = 3;
inline constexpr int TabHeightPixels = 24;
inline constexpr const char* PageContainerNames[PageCount] = {"SensorPage", "ConfigurationPage", "DiagnosticsPage",
                                                              "AdvancedPage"};
inline constexpr const char* DesignCaptions[PageCount] = {"Sensor", "Configuration", "Diagnostics", "Advanced"};
// Pagoline keeps the controls of pages not on show this far to the left of their place.
inline constexpr int OffPageOffset = 75000;

}  // namespace dunmere::maintab
