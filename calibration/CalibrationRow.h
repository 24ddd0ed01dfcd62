#pragma once
// One row of a calibration window's point grid, as the user typed it; both windows have 20.

#include <QString>
#include <array>

namespace dunmere {

constexpr int CalibrationRowCount = 20;

struct CalibrationRow {
    bool include = false;  // CalCheck: the row takes part in the fit
    QString date;          // TextCalDate: a free note
    QString unscaled;      // TextCalUS: the sensor's unscaled reading
    QString lab;           // TextCalM: laboratory moisture % or laboratory Brix

    friend bool operator==(const CalibrationRow&, const CalibrationRow&) = default;
};

using CalibrationRows = std::array<CalibrationRow, CalibrationRowCount>;

}  // namespace dunmere
