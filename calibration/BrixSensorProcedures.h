#pragma once
// Writing a Brix calibration to a sensor: A, B, C and D into parameters 25 to 28, the store
// action "A1", and the read-back check.

#include "MoistureSensorProcedures.h"

#include <array>

namespace dunmere {

struct BrixCalibrationWrite {
    CalibrationWriteOutcome outcome = CalibrationWriteOutcome::NotSent;
    std::array<QString, 4> readBack;  // parameters 25...28, formatted
    QString message;
};

// values: the texts of A, B, C and D. Nothing is sent unless all four are numbers (the first
// that is not gives LangInvalid and "A Value", "B Value", "C Value" or "SSD Value"); "written"
// only when all four read back as written to four decimals.
[[nodiscard]] BrixCalibrationWrite WriteBrixCalibration(Link& link, int address, const std::array<QString, 4>& values,
                                                        const TextSource& texts);

}  // namespace dunmere
