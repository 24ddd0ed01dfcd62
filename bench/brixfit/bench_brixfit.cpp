// The Brix best-fit search with 20 points from the default start: milliseconds per search,
// error evaluations per second, and the search beside the time one coefficient read takes on
// the 9600-baud wire (the search should cost less than that read; the aim is under 10 ms). It
// prints; it never judges.

#include "calibration/BrixFit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cmath>
#include <cstdio>

using namespace dunmere;

namespace {

constexpr int Searches = 50;
// "R25" framed (STX, address, code, text, checksum, ETX) and a reply such as "101.0000"
// framed likewise, 10 bit times per byte at 9600 baud.
constexpr double ReadBytes = 7 + 12;
constexpr double ByteMs = 10.0 * 1000.0 / 9600.0;

CalibrationRows twentyPoints()
{
    const BrixCoefficients truth{100, 0.5, 0.12, -3};
    CalibrationRows rows;
    for (int i = 0; i < CalibrationRowCount; ++i) {
        const double u = 15 + 3 * i;
        // A little scatter, as laboratory values have.
        const double lab = BrixModel(u, truth) + 0.2 * std::sin(i * 1.7);
        rows[size_t(i)] = {true, QString(), QString::number(u), QString::number(lab, 'f', 2)};
    }
    return rows;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const CalibrationRows rows = twentyPoints();
    qint64 evaluations = 0;
    int progressCalls = 0;
    BrixFitResult last;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Searches; ++i) {
        last = BrixBestFit(rows, DefaultBrixStart(), {}, [&](int) {
            ++progressCalls;
            return true;
        });
        evaluations += last.evaluations;
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6 / Searches;
    const double perSecond = double(evaluations) / (double(timer.nsecsElapsed()) / 1e9);
    const double readMs = ReadBytes * ByteMs;
    std::printf("brix best fit, 20 points, default start: %.3f ms per search (aim: under 10 ms)\n", ms);
    std::printf("  %lld evaluations per search, %.0f evaluations per second\n", static_cast<long long>(last.evaluations), perSecond);
    std::printf("  one coefficient read on the 9600-baud wire: %.1f ms; search / read = %.3f\n", readMs, ms / readMs);
    std::printf("  result A %.4f B %.4f C %.4f D %.4f, error figure %s\n", last.coefficients.A, last.coefficients.B,
                last.coefficients.C, last.coefficients.D, qPrintable(ShowBrixError(last.error)));
    return progressCalls == evaluations ? 0 : 1;
}
