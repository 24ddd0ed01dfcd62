#include "CalibrationNotebook.h"

#include "CalibrationNumbers.h"
#include "MoistureFit.h"

#include <cmath>

namespace dunmere {

namespace {

constexpr int MinimumPointsToFlag = 3;
constexpr double FlagFactor = 2.0;
// Points exactly on the line differ by rounding noise only; a residual that shows as 0.00
// stands out from nothing.
constexpr double SmallestShownResidual = 0.005;

void judge(CalibrationNotebook& book)
{
    const qsizetype n = book.entries.size();
    if (n < 2)
        return;
    double sum = 0;
    const NotebookEntry* worst = nullptr;
    for (const NotebookEntry& e : book.entries) {
        sum += e.residual * e.residual;
        if (!worst || std::abs(e.residual) > std::abs(worst->residual))
            worst = &e;
    }
    book.residualDeviation = std::sqrt(sum / double(n - 1));
    if (n >= MinimumPointsToFlag && std::isfinite(book.residualDeviation)
        && std::abs(worst->residual) > FlagFactor * book.residualDeviation
        && std::abs(worst->residual) >= SmallestShownResidual)
        book.worstRow = worst->row;
}

}  // namespace

std::optional<NotebookEntry> CalibrationNotebook::entryForRow(int row) const
{
    for (const NotebookEntry& e : entries)
        if (e.row == row)
            return e;
    return std::nullopt;
}

QString CalibrationNotebook::valueText(double value) { return FormatFixed(value, 2); }

CalibrationNotebook MoistureNotebook(const MoistureFit& fit)
{
    CalibrationNotebook book;
    if (!fit.result.hasLine)
        return book;
    const MoisturePointSet& p = fit.points;
    for (qsizetype k = 0; k < p.count(); ++k) {
        const double fitted = fit.result.B * p.X[k] + fit.result.C;
        book.entries.append({p.rows[k], p.Y[k], fitted, p.Y[k] - fitted});
    }
    judge(book);
    return book;
}

CalibrationNotebook BrixNotebook(const CalibrationRows& rows, const BrixCoefficients& k)
{
    CalibrationNotebook book;
    for (int r = 0; r < CalibrationRowCount; ++r) {
        const CalibrationRow& row = rows[size_t(r)];
        bool uOk = false, labOk = false;
        const double u = CalibrationValue(row.unscaled, &uOk);
        const double lab = CalibrationValue(row.lab, &labOk);
        if (!row.include || !uOk || !labOk)
            continue;
        const double fitted = BrixModel(u, k);
        book.entries.append({r, lab, fitted, lab - fitted});
    }
    judge(book);
    return book;
}

}  // namespace dunmere
