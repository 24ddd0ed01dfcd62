#pragma once
// The language texts on the controls of the three pages, the fixed captions of the edition,
// and the demonstration values shown while no sensor was found.

#include "PagesContext.h"

namespace dunmere {

// Captions of the pages' frames, labels and buttons, then the fixed lists (selections are
// cleared; the caller reads the page again).
void ApplyPageTexts(PagesContext& ctx);

// The edition's layout of the coefficient row and the valid-range caption (start-up).
void ApplyEditionLayout(PagesContext& ctx);

// The pages' part of the demonstration values.
void ShowPageDemonstrationValues(PagesContext& ctx);

}  // namespace dunmere
