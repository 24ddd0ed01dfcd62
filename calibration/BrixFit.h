#pragma once
// The Brix model, its squared-error measure against the laboratory points, and the bounded
// coordinate search for the coefficient set with the smallest error.

#include "CalibrationRow.h"

#include <QString>
#include <array>
#include <functional>

namespace dunmere {

// The sensor's four Brix coefficients; D travels in the parameter and store column that the
// moisture calibration calls SSD.
struct BrixCoefficients {
    double A = 0;
    double B = 0;
    double C = 0;
    double D = 0;

    friend bool operator==(const BrixCoefficients&, const BrixCoefficients&) = default;
};

// The bounds and start values of the search, restored each time the Brix window opens.
struct BrixLimits {
    BrixCoefficients low{97, 0.1, 0.1, -10};
    BrixCoefficients high{105, 10, 0.5, 0};
    BrixCoefficients start{101, 0.15, 0.17, -2.5};
    int steps = 10000;      // the initial step of a coefficient is its range / steps
    int iterations = 100;   // index turn-arounds after which the search stops
};

[[nodiscard]] inline BrixCoefficients DefaultBrixStart() { return BrixLimits{}.start; }

// Brix(u) = A - B e^(C u) / 100000 + D u^2 / 1000 for the unscaled value u.
[[nodiscard]] double BrixModel(double u, const BrixCoefficients& k);

[[nodiscard]] double ClampToRange(double value, double low, double high);

struct BrixError {
    double sum = 0;  // of (lab - model)^2 over the counted rows
    int count = 0;   // ticked rows whose unscaled and lab texts both convert
};

// The laboratory value is taken as a 32-bit float and widened again, as the sensor keeps it.
[[nodiscard]] BrixError BrixSquaredError(const CalibrationRows& rows, const BrixCoefficients& k);

// LblErrorValue: "0" for no counted row, else the square root of the sum divided by the count
// (not the root of the mean), "#0.0000".
[[nodiscard]] QString ShowBrixError(const BrixError& error);

// Called once per iteration with the progress in percent (100 when the search ends). Runs
// pending events if it likes; returning false ends the search early with its best so far.
using BrixProgress = std::function<bool(int percent)>;

struct BrixFitResult {
    BrixCoefficients coefficients;
    BrixError error;        // of the coefficients found
    qint64 evaluations = 0;  // error evaluations made
    bool stopped = false;    // the progress callback ended the search
};

// The search walks one coefficient at a time (index 0 is an empty slot that changes nothing),
// turning back on the first failure and moving to the next coefficient on the second, and
// ends after limits.iterations turn-arounds of the index. The result is never worse than the
// start: a start that no trial improves on is returned as it is.
[[nodiscard]] BrixFitResult BrixBestFit(const CalibrationRows& rows, const BrixCoefficients& start,
                                        const BrixLimits& limits = {}, const BrixProgress& progress = {});

}  // namespace dunmere
