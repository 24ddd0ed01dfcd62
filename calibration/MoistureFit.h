#pragma once
// The moisture fit: moisture % = B x unscaled + C through the ticked rows, with the
// plausibility rules that may replace the slope by a fixed one, pivot the line onto the
// 5...50 crossing limits, warn, or reject the result. A pure function of the grid: it says
// what becomes of each row and each text, and the window or the command line shows it.

#include "CalibrationRow.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace dunmere {

class TextSource;

namespace MoistureRules {
constexpr double SandSlope = 0.2857;
constexpr double FineSlope = 0.1515;
constexpr double AverageSlope = 0.2186;
constexpr double MinSlope = 0.06;
constexpr double MaxSlope = 2.0;
constexpr double MinXAxis = 5.0;
constexpr double MaxXAxis = 50.0;
constexpr double ValueCeiling = 100.0;  // an unscaled or moisture entry above it is rejected
}  // namespace MoistureRules

// The status tokens; each selects the message of MoistureStatusMessage.
namespace MoistureStatus {
inline const QString None;
inline const QString WarningSlope = QStringLiteral("Warning Slope");
inline const QString WarningXAxis = QStringLiteral("Warning XAxis");
inline const QString SandSlope = QStringLiteral("Sand Slope");
inline const QString FineSlope = QStringLiteral("Fine Slope");
inline const QString UsingAverageSlope = QStringLiteral("Using Average Slope");
inline const QString InvalidCalibration = QStringLiteral("Invalid Calibration");
}  // namespace MoistureStatus

struct MoisturePointSet {
    QList<double> X;          // unscaled
    QList<double> Y;          // moisture %
    QList<bool> highlighted;  // drawn magenta: the point of the current row
    QList<int> rows;          // the grid row of each point
    double maxX = 0, minX = 10000, maxY = 0, minY = 10000;
    double meanX = 0, meanY = 0;
    int fullScale = 10;  // the graph's moisture full scale

    [[nodiscard]] qsizetype count() const { return X.size(); }
};

struct MoistureFitResult {
    double B = 0;
    double C = 0;
    QString status;
    // B and C are a result to show (LblCalB, LblCalC) and to draw as the fitted line.
    bool hasLine = false;
};

// What the fit does to one text of a row.
enum class TextMark {
    Unchanged,  // keeps its colour
    Accepted,   // black
    Invalid,    // red, with the tooltip LangInvalid
};

struct MoistureRowVerdict {
    bool unticked = false;  // the row was ticked and its values were refused
    TextMark unscaled = TextMark::Unchanged;
    TextMark lab = TextMark::Unchanged;
};

struct MoistureFit {
    MoisturePointSet points;
    MoistureFitResult result;
    std::array<MoistureRowVerdict, CalibrationRowCount> verdicts;
    bool ruleLines = false;  // the four rule lines belong on the graph
    // The write button: set enabled (true) or disabled (false), or left as it is. A window
    // without a sensor never enables it.
    std::optional<bool> writeEnabled;

    // LblCalB and LblCalC as the window shows them ("##0.00##"), empty without a result.
    [[nodiscard]] QString bText() const;
    [[nodiscard]] QString cText() const;
};

[[nodiscard]] std::pair<double, double> LeastSquaresLine(const QList<double>& X, const QList<double>& Y);
[[nodiscard]] std::pair<double, double> PivotLineToAxisLimit(double B, double C, double meanX, double meanY);

// currentRow: the row drawn in the highlight colour (-1 for none). rulesOn: CheckRules.
[[nodiscard]] MoistureFit FitMoistureCalibration(const CalibrationRows& rows, int currentRow, bool rulesOn);

// The rows with the fit's unticking applied: what the window's ticks (and the store) hold
// after the recompute.
[[nodiscard]] CalibrationRows ApplyVerdicts(CalibrationRows rows, const MoistureFit& fit);

// LblMatStatus for a status token; empty for "" and for an unknown token.
[[nodiscard]] QString MoistureStatusMessage(const QString& status, const TextSource& texts);

}  // namespace dunmere
