#pragma once
// What a page shows beside a value: the caption of its row and of its column, and the caption
// of the frame it sits in, taken from where the controls sit, in the loaded language. For
// output without windows, where each value stands under the words the user knows.

#include "ControlModel.h"

#include <QString>

namespace dunmere {

// "High Limit Moisture %" for TextHighPercent: the row's caption, then the column's, of the
// alternatives the ones now shown. Empty when the value stands alone (LblNameConfig).
[[nodiscard]] QString CaptionOf(const ControlModel& model, const QString& name);
// The caption of the frame the control sits in ("Analogue Output"); empty on the page itself.
[[nodiscard]] QString GroupCaptionOf(const ControlModel& model, const QString& name);

}  // namespace dunmere
