#pragma once
// Laying the pages out for the selected sensor's type: which groups and fields exist, the
// smoothing items, the auto-calibration and arm-type frames and the value lists.

#include "PagesContext.h"

namespace dunmere {

// Sets BrixAvailable and SecondChannel and shows or hides the type-dependent controls of the
// three pages. Talks to the sensor for types 63, 70, 77 and 89.
void AdaptPagesToSensorType(PagesContext& ctx);

// The hardware kind of parameter 78, read in two steps (the byte, then the wider value); for
// the Brix edition the Fayline kind also sets BrixSelected. Empty when neither step names one.
[[nodiscard]] QString ReadSensorKind(PagesContext& ctx);

// The Brix or the moisture coefficient row, by BrixSelected.
void ShowCoefficientRow(PagesContext& ctx);

// Rebuilds ListOPVar1 and ListOPVar2 for the second-channel and Brix states; nothing selected.
void RefillOutputVariableLists(PagesContext& ctx);

// Fills the fixed configuration and Advanced-page lists from the language texts; the
// selections are cleared.
void FillConfigurationLists(PagesContext& ctx);

[[nodiscard]] bool HasSecondOutput(int typeCode);

}  // namespace dunmere
