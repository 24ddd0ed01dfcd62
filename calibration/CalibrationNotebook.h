#pragma once
// The calibration notebook: for every point a fit used, the value the fitted calibration
// gives there and the residual (lab - fitted), and which point stands out. A point stands out
// when its residual is the largest in size and exceeds twice the residual standard deviation
// s = sqrt(sum of residuals^2 / (n - 1)) and shows as at least 0.01; with fewer than three
// points none does.

#include "BrixFit.h"
#include "CalibrationRow.h"

#include <QList>
#include <QString>
#include <optional>

namespace dunmere {

struct MoistureFit;

struct NotebookEntry {
    int row = -1;  // grid row 0...19
    double lab = 0;
    double fitted = 0;
    double residual = 0;  // lab - fitted
};

struct CalibrationNotebook {
    QList<NotebookEntry> entries;  // in row order
    double residualDeviation = 0;  // s; 0 with fewer than two points
    int worstRow = -1;             // the row that stands out, -1 for none

    // The entry of a grid row, if that row was a point of the fit.
    [[nodiscard]] std::optional<NotebookEntry> entryForRow(int row) const;
    // Fitted value and residual as the grid and the command line show them ("0.00").
    [[nodiscard]] static QString valueText(double value);
};

// The points of a moisture fit against its line; empty when the fit has no line.
[[nodiscard]] CalibrationNotebook MoistureNotebook(const MoistureFit& fit);
// The counted rows of the Brix error against the model with the given coefficients.
[[nodiscard]] CalibrationNotebook BrixNotebook(const CalibrationRows& rows, const BrixCoefficients& k);

}  // namespace dunmere
