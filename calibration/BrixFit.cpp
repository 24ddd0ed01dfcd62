#include "BrixFit.h"

#include "CalibrationNumbers.h"

#include <QList>
#include <cmath>

namespace dunmere {

namespace {

struct BrixPoint {
    double u;
    double lab;
};

// The counted rows, converted once: the search evaluates them tens of thousands of times.
QList<BrixPoint> brixPoints(const CalibrationRows& rows)
{
    QList<BrixPoint> points;
    for (const CalibrationRow& row : rows) {
        if (!row.include)
            continue;
        bool uOk = false, labOk = false;
        const double u = CalibrationValue(row.unscaled, &uOk);
        const double lab = CalibrationValue(row.lab, &labOk);
        if (uOk && labOk)
            points.append({u, double(float(lab))});
    }
    return points;
}

// The model term by term as BrixModel has it, with e^(C u) given.
double modelWith(double exponential, double u, const BrixCoefficients& k)
{
    return k.A - k.B * exponential / 100000.0 + k.D * u * u / 1000.0;
}

BrixError squaredError(const QList<BrixPoint>& points, const BrixCoefficients& k)
{
    BrixError e;
    for (const BrixPoint& p : points) {
        const double d = p.lab - BrixModel(p.u, k);
        e.sum += d * d;
        ++e.count;
    }
    return e;
}

// The search's error: e^(C u) is the costly part and only moves when C does, so it is kept
// per point for the C it was made for. The sums are those of squaredError to the last bit.
class SearchError {
public:
    explicit SearchError(const QList<BrixPoint>& points) : points_(points), exponentials_(points.size()) {}

    double operator()(const BrixCoefficients& k)
    {
        if (!valid_ || k.C != madeForC_) {
            for (qsizetype i = 0; i < points_.size(); ++i)
                exponentials_[i] = std::exp(k.C * points_[i].u);
            madeForC_ = k.C;
            valid_ = true;
        }
        double sum = 0;
        for (qsizetype i = 0; i < points_.size(); ++i) {
            const double d = points_[i].lab - modelWith(exponentials_[i], points_[i].u, k);
            sum += d * d;
        }
        return sum;
    }

private:
    const QList<BrixPoint>& points_;
    QList<double> exponentials_;
    double madeForC_ = 0;
    bool valid_ = false;
};

// Index 0 is the empty slot of the search; 1 to 4 are A to D.
using Slots = std::array<double, 5>;

Slots toSlots(const BrixCoefficients& k) { return {0, k.A, k.B, k.C, k.D}; }
BrixCoefficients fromSlots(const Slots& s) { return {s[1], s[2], s[3], s[4]}; }

// A trial is better only with a finite error: the exponential overflows for large unscaled
// values, and an infinite or NaN error must never become the best set.
bool better(double err, double than) { return std::isfinite(err) && (err < than || !std::isfinite(than)); }

}  // namespace

double BrixModel(double u, const BrixCoefficients& k) { return modelWith(std::exp(k.C * u), u, k); }

double ClampToRange(double value, double low, double high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

BrixError BrixSquaredError(const CalibrationRows& rows, const BrixCoefficients& k)
{
    return squaredError(brixPoints(rows), k);
}

QString ShowBrixError(const BrixError& error)
{
    if (error.count == 0)
        return QStringLiteral("0");
    return FormatFixed(std::sqrt(error.sum) / error.count, 4);
}

BrixFitResult BrixBestFit(const CalibrationRows& rows, const BrixCoefficients& start, const BrixLimits& limits,
                          const BrixProgress& progress)
{
    constexpr double StartError = 10000;
    constexpr double StepFloorDivisor = 10000;  // fixed, whatever limits.steps says
    const QList<BrixPoint> points = brixPoints(rows);
    const Slots low = toSlots(limits.low);
    const Slots high = toSlots(limits.high);
    const int iterations = std::max(1, limits.iterations);
    Slots base = toSlots(start);
    Slots step{};
    for (int i = 1; i <= 4; ++i)
        step[size_t(i)] = (high[size_t(i)] - low[size_t(i)]) / limits.steps;
    Slots trial = base;
    // The best set starts at the start point, so that a search where no trial scores below
    // the initial 10000 returns where it began instead of four zeros.
    Slots best = base;

    SearchError searchError(points);
    BrixFitResult result;
    int dir = +1, k = 1, kdir = +1, turns = 0;
    double bestErr = StartError, err = StartError;
    do {
        const size_t i = size_t(k);
        trial[i] = ClampToRange(trial[i] + dir * step[i], low[i], high[i]);
        const double prevErr = err;
        err = searchError(fromSlots(trial));
        ++result.evaluations;
        if (better(err, prevErr)) {
            if (better(err, bestErr)) {
                bestErr = err;
                best = trial;
            }
        } else {
            dir = -dir;
            if (dir == +1) {  // both directions of this coefficient have failed
                base[i] = best[i];
                step[i] = ClampToRange(0.8 * step[i], (high[i] - low[i]) / StepFloorDivisor, 1000);
                k += kdir;
            }
            if (k > 4 || k < 0) {
                ++turns;
                kdir = -kdir;
                k = k > 4 ? 4 : 0;
            }
            trial[size_t(k)] = base[size_t(k)];
        }
        const int percent = int(std::lround(100.0 / iterations * turns));
        if (progress && !progress(std::min(percent, 100))) {
            result.stopped = true;
            break;
        }
    } while (turns != iterations);

    result.coefficients = fromSlots(best);
    result.error = squaredError(points, result.coefficients);
    // Never worse than where the search began.
    const BrixError startError = squaredError(points, start);
    if (better(startError.sum, result.error.sum)) {
        result.coefficients = start;
        result.error = startError;
    }
    return result;
}

}  // namespace dunmere
