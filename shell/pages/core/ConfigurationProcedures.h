#pragma once
// Reading and writing the Configuration page, the rules that show and hide the analogue
// output fields, and the four settings written from the Advanced page.

#include "PagesContext.h"

namespace dunmere {

struct FillOutcome {
    bool coefficientsRead = false;  // TextMB and TextMC hold values
    bool allAnswered = false;       // no read went unanswered ("?" counts as an answer)
    // The page holds this sensor's values and may be written back.
    [[nodiscard]] bool complete() const { return coefficientsRead && allAnswered; }
};

[[nodiscard]] FillOutcome FillConfigurationPage(PagesContext& ctx);

// Writes every field in the page's order; false when a write went unanswered.
[[nodiscard]] bool WriteConfigurationPage(PagesContext& ctx);

// Stores and reports a write. For type 89 the configuration is read before and after the
// store and confirmed only when both readings agree. writesAnswered false (or an unanswered
// store) reports the communication error and confirms nothing.
void ConfirmConfigurationWrite(PagesContext& ctx, bool writesAnswered);

// The code of a list text, as written with W6 (output 1) or W29 (output 2); empty when no
// code has that text.
[[nodiscard]] QString OutputVariableValue(const PagesContext& ctx, const QString& itemText);

// Selects the first item equal to text ignoring case; false, and the list as it was, when
// none is.
bool SelectListItemByText(ControlModel& model, const QString& list, const QString& text);

// Click rules of the analogue output group and the smoothing list; also run by the reading.
void OutputTypeClicked(PagesContext& ctx);
void OutputVariable1Clicked(PagesContext& ctx);
void OutputVariable2Clicked(PagesContext& ctx);
void SmoothingTimeClicked(PagesContext& ctx);

// Entering the Configuration page; true when the page is to be read from the sensor.
// configLocked: chkDisableConfig ticked while hidden. calibrationLocked: DisableCalib is 1.
[[nodiscard]] bool EnterConfigurationPage(PagesContext& ctx, bool configLocked, bool calibrationLocked);
// CmdCalibrate opens the Brix calibration window: in the Brix edition, or for a sensor with
// BrixSelected.
[[nodiscard]] bool OpensBrixCalibration(const PagesContext& ctx);

// The Advanced-page writes: write, confirm, refresh the diagnostics fully.
void WriteMeasurementMode(PagesContext& ctx, int channel);  // 1 or 2
void WriteAveragingMode(PagesContext& ctx);
void WriteArmType(PagesContext& ctx);

}  // namespace dunmere
