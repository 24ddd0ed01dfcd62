#pragma once
// The trend graph's geometry in its own 5000 x 3000 units (origin top left, y downwards):
// the value scale, the grid, the time labels and the curves. The window only paints what
// this gives.

#include <QLine>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace dunmere {

namespace trendgraph {
inline constexpr int Width = 5000;
inline constexpr int Height = 3000;
inline constexpr int NormalStep = 50;
inline constexpr int RawStep = 10;
inline constexpr int MaxTop = 200;
inline constexpr int MinBottom = -50;
}  // namespace trendgraph

struct TrendScale {
    int top = 50;
    int bottom = -5;
    // What the scale boxes show afterwards (the limited values, or as they were).
    QString topText;
    QString bottomText;
    [[nodiscard]] int range() const { return top - bottom; }
};

// Reads the scale boxes. Both must hold text, each a 16-bit whole number (rounded halves to
// even); the top is limited to 200 and the bottom to -50. Otherwise the previous scale
// stays. A range below 1 makes the top bottom + 1.
[[nodiscard]] TrendScale GetScale(const QString& topText, const QString& bottomText, int previousTop, int previousBottom);

// 1, 2, 5, 10 or 20 value units between grid lines.
[[nodiscard]] int GridInterval(int range);
// The y of each grid line, the lowest first; lines above the top (y < 0) are included.
[[nodiscard]] QList<int> GridLines(int range, int interval);

// The left and right time labels in seconds: elapsed - windowLength and elapsed, or 0 and
// windowLength while the left one would be negative.
[[nodiscard]] std::pair<int, int> TimeLabels(qint64 elapsedSeconds, int windowLength);

// The y of a value, or nothing when it lies at or outside the graph's edges.
[[nodiscard]] std::optional<int> ValueY(double value, const TrendScale& scale);

// One curve over `samples` circular positions, starting at the one after `writePosition`
// and taking one per column of `step` units; a column without a value is bridged.
[[nodiscard]] QList<QLine> CurveSegments(const std::function<std::optional<double>(int sample)>& valueAt, int samples,
                                         int writePosition, int step, const TrendScale& scale);

// nearest(x): halves to the even neighbour.
[[nodiscard]] int Nearest(double x);

}  // namespace dunmere
