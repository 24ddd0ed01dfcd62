#include "MoistureFit.h"

#include "CalibrationNumbers.h"
#include "link/Messages.h"
#include "link/ValueFormat.h"

#include <cmath>

namespace dunmere {

using namespace MoistureRules;

namespace {

// An entry the fit takes: a number no larger than the ceiling (negative ones pass).
bool acceptable(const QString& text, double& value)
{
    bool ok = false;
    value = CalibrationValue(text, &ok);
    return ok && value <= ValueCeiling;
}

TextMark validationMark(const QString& text)
{
    double value = 0;
    return !text.isEmpty() && !acceptable(text, value) ? TextMark::Invalid : TextMark::Unchanged;
}

void collectPoints(const CalibrationRows& rows, int currentRow, MoistureFit& fit)
{
    MoisturePointSet& p = fit.points;
    for (int r = 0; r < CalibrationRowCount; ++r) {
        const CalibrationRow& row = rows[size_t(r)];
        MoistureRowVerdict& v = fit.verdicts[size_t(r)];
        double x = 0, y = 0;
        if (row.include) {
            if (!acceptable(row.unscaled, x)) {
                v.unticked = true;
            } else {
                v.unscaled = TextMark::Accepted;
                if (!acceptable(row.lab, y)) {
                    v.unticked = true;
                } else {
                    v.lab = TextMark::Accepted;
                    p.X.append(x);
                    p.Y.append(y);
                    p.rows.append(r);
                    p.highlighted.append(r == currentRow);
                    p.maxX = std::max(p.maxX, x);
                    p.minX = std::min(p.minX, x);
                    p.maxY = std::max(p.maxY, y);
                    p.minY = std::min(p.minY, y);
                }
            }
        }
        if (validationMark(row.lab) == TextMark::Invalid)
            v.lab = TextMark::Invalid;
        if (validationMark(row.unscaled) == TextMark::Invalid)
            v.unscaled = TextMark::Invalid;
    }
    const qsizetype n = p.count();
    if (n == 1) {
        p.meanX = p.X[0];
        p.meanY = p.Y[0];
    } else if (n > 1) {
        double sx = 0, sy = 0;
        for (qsizetype k = 0; k < n; ++k) {
            sx += p.X[k];
            sy += p.Y[k];
        }
        p.meanX = sx / double(n);
        p.meanY = sy / double(n);
    }
    p.fullScale = std::max(10, 5 * (int(std::floor(p.maxY / 5.0)) + 1));
}

void fitWithRules(MoistureFit& fit)
{
    const MoisturePointSet& p = fit.points;
    MoistureFitResult& r = fit.result;
    const qsizetype n = p.count();
    fit.ruleLines = true;
    if (n == 0) {
        r.status = MoistureStatus::InvalidCalibration;
    } else {
        const double rangeX = p.maxX - p.minX;
        const double rangeY = p.maxY - p.minY;
        if (rangeX > 6 && rangeY > 3 && n > 1) {
            std::tie(r.B, r.C) = LeastSquaresLine(p.X, p.Y);
            if (r.B > MaxSlope || r.B < MinSlope)
                r.status = MoistureStatus::WarningSlope;
            // A level line never reaches moisture 0; it is refused below in any case.
            if (r.B != 0) {
                const double x0 = -r.C / r.B;
                if (x0 < MinXAxis || x0 > MaxXAxis)
                    r.status = MoistureStatus::WarningXAxis;
            }
        } else if (rangeX > 2 && rangeY > 1 && n > 1) {
            std::tie(r.B, r.C) = LeastSquaresLine(p.X, p.Y);
            if (r.B > SandSlope || r.B < FineSlope) {
                if (r.B > SandSlope) {
                    r.B = SandSlope;
                    r.status = MoistureStatus::SandSlope;
                }
                if (r.B < FineSlope) {
                    r.B = FineSlope;
                    r.status = MoistureStatus::FineSlope;
                }
                double sum = 0;
                for (qsizetype k = 0; k < n; ++k)
                    sum += p.Y[k] - r.B * p.X[k];
                r.C = sum / double(n);
            }
            std::tie(r.B, r.C) = PivotLineToAxisLimit(r.B, r.C, p.meanX, p.meanY);
        } else {
            r.status = MoistureStatus::UsingAverageSlope;
            r.B = AverageSlope;
            r.C = p.meanY - AverageSlope * p.meanX;
            std::tie(r.B, r.C) = PivotLineToAxisLimit(r.B, r.C, p.meanX, p.meanY);
        }
    }
    // Values near the limits of a double can overflow the sums: such a line is no result.
    const bool invalid = r.status == MoistureStatus::InvalidCalibration || r.B == 0 || (r.B < 0 && r.C < 0)
        || !std::isfinite(r.B) || !std::isfinite(r.C);
    if (invalid)
        r.status = MoistureStatus::InvalidCalibration;
    r.hasLine = !invalid;
    fit.writeEnabled = !invalid;
}

void fitWithoutRules(MoistureFit& fit)
{
    MoistureFitResult& r = fit.result;
    if (fit.points.count() >= 2) {
        std::tie(r.B, r.C) = LeastSquaresLine(fit.points.X, fit.points.Y);
        r.hasLine = std::isfinite(r.B) && std::isfinite(r.C);
    }
}

}  // namespace

std::pair<double, double> LeastSquaresLine(const QList<double>& X, const QList<double>& Y)
{
    const qsizetype n = std::min(X.size(), Y.size());
    if (n == 0)
        return {0.0, 0.0};
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (qsizetype k = 0; k < n; ++k) {
        sx += X[k];
        sy += Y[k];
        sxx += X[k] * X[k];
        sxy += X[k] * Y[k];
    }
    const double d = sxx - sx * sx / double(n);
    // Equal unscaled values such as 40.1 leave rounding noise of about 1e-12 x Sxx in d
    // instead of 0; dividing by it would give an arbitrary steep line.
    if (!(d > 1e-12 * sxx))
        return {0.0, 0.0};
    const double B = (sxy - sx * sy / double(n)) / d;
    const double C = (sy - sx * B) / double(n);
    return {B, C};
}

std::pair<double, double> PivotLineToAxisLimit(double B, double C, double meanX, double meanY)
{
    // A level line has no crossing to move; the slope limits refuse it below.
    if (B != 0 && std::isfinite(B)) {
        const double x0 = -C / B;
        // Both pivots divide by the mean unscaled value, which may be 0 with negative entries.
        auto pivot = [&](double limit) {
            const double q = 1 - meanX / limit;
            if (meanX != 0 && q != 0) {
                C = meanY / q;
                B = (meanY - C) / meanX;
            } else {
                B = 0;
            }
        };
        if (x0 < MinXAxis)
            pivot(MinXAxis);
        else if (x0 > MaxXAxis)
            pivot(MaxXAxis);
    }
    if (B > MaxSlope || B < MinSlope || !std::isfinite(B))
        B = 0;
    return {B, C};
}

MoistureFit FitMoistureCalibration(const CalibrationRows& rows, int currentRow, bool rulesOn)
{
    MoistureFit fit;
    collectPoints(rows, currentRow, fit);
    if (rulesOn)
        fitWithRules(fit);
    else
        fitWithoutRules(fit);
    return fit;
}

CalibrationRows ApplyVerdicts(CalibrationRows rows, const MoistureFit& fit)
{
    for (int r = 0; r < CalibrationRowCount; ++r)
        if (fit.verdicts[size_t(r)].unticked)
            rows[size_t(r)].include = false;
    return rows;
}

QString MoistureFit::bText() const { return result.hasLine ? FormatNumberValue(result.B) : QString(); }
QString MoistureFit::cText() const { return result.hasLine ? FormatNumberValue(result.C) : QString(); }

QString MoistureStatusMessage(const QString& status, const TextSource& texts)
{
    if (status == MoistureStatus::WarningSlope)
        return texts.text(QStringLiteral("LangWarningSlope"));
    if (status == MoistureStatus::WarningXAxis)
        return texts.text(QStringLiteral("LangWarningAxis"));
    if (status == MoistureStatus::SandSlope)
        return texts.text(QStringLiteral("LangWarningSand"));
    if (status == MoistureStatus::FineSlope)
        return texts.text(QStringLiteral("LangWarningFine"));
    if (status == MoistureStatus::UsingAverageSlope)
        return texts.text(QStringLiteral("LangWarningAvg"));
    if (status == MoistureStatus::InvalidCalibration)
        return texts.text(QStringLiteral("LangInvalid")) + QLatin1Char(' ') + texts.text(QStringLiteral("LangCalibration"));
    return {};
}

}  // namespace dunmere
