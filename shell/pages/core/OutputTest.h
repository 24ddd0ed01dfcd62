#pragma once
// The analogue output test: open and close the group, the quick settings, and the step that
// each task-timer tick sends while the test is open.

#include "PagesContext.h"

namespace dunmere {

// The current a raw output value drives: 128 steps per mA.
[[nodiscard]] QString OutputCurrentText(int raw);

// demonstration and fullLevel decide whether cmdResonator comes back on closing.
void OpenOutputTest(PagesContext& ctx);
void CloseOutputTest(PagesContext& ctx, bool fullLevel);
// CmdmA(i): i 0-2 set SlidermA(0) to 0, 4 and 20 mA, 3-5 the same for SlidermA(1).
void QuickOutputSetting(PagesContext& ctx, int i);
// The second output exists where the Configuration page shows its variable list.
[[nodiscard]] bool HasSecondAnalogueOutput(const PagesContext& ctx);
// Sends the slider positions: "P" + 0x10, "W31 " v1 and, with a second output, "W37 " v2.
void RunOutputTestStep(PagesContext& ctx);
// The same for a caller that knows the raw values (dunmere-cli).
void SendOutputValues(PagesContext& ctx, int raw1, int raw2, bool secondOutput);

}  // namespace dunmere
