#include "TrendGraph.h"

#include "link/NumberRules.h"

#include <cmath>
#include <limits>

namespace dunmere {

using namespace trendgraph;

int Nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

namespace {

std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const double value = ToNumber(text, &ok);
    if (!ok)
        return std::nullopt;
    const double whole = std::nearbyint(value);
    if (!(whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return static_cast<int>(whole);
}

double yScale(const TrendScale& scale) { return double(Height) / (scale.range() * 10.0); }

}  // namespace

TrendScale GetScale(const QString& topText, const QString& bottomText, int previousTop, int previousBottom)
{
    TrendScale scale{previousTop, previousBottom, topText, bottomText};
    if (!topText.isEmpty() && !bottomText.isEmpty()) {
        const auto top = wholeNumber(topText);
        const auto bottom = top ? wholeNumber(bottomText) : std::nullopt;
        if (top) {
            scale.top = qMin(*top, MaxTop);
            scale.topText = QString::number(scale.top);
        }
        if (bottom) {
            scale.bottom = qMax(*bottom, MinBottom);
            scale.bottomText = QString::number(scale.bottom);
        } else if (top) {
            // A bottom that does not convert keeps the previous scale as a whole.
            scale.top = previousTop;
            scale.topText = topText;
        }
    }
    if (scale.range() < 1) {
        scale.top = scale.bottom + 1;
        scale.topText = QString::number(scale.top);
    }
    return scale;
}

int GridInterval(int range)
{
    if (range <= 4)
        return 1;
    if (range <= 19)
        return 2;
    if (range <= 49)
        return 5;
    if (range <= 100)
        return 10;
    return 20;
}

QList<int> GridLines(int range, int interval)
{
    QList<int> lines;
    const double ys = double(Height) / (range * 10.0);
    const int count = Nearest(double(range) / interval);
    for (int k = 1; k <= count; ++k)
        lines << Nearest(Height - interval * 10.0 * k * ys);
    return lines;
}

std::pair<int, int> TimeLabels(qint64 elapsedSeconds, int windowLength)
{
    const qint64 left = elapsedSeconds - windowLength;
    if (left < 0)
        return {0, windowLength};
    return {int(left), int(elapsedSeconds)};
}

std::optional<int> ValueY(double value, const TrendScale& scale)
{
    const int v = Nearest(value * 10.0) - scale.bottom * 10;
    if (v < 0)
        return std::nullopt;
    const int y = Nearest(Height - v * yScale(scale));
    if (y <= 0 || y >= Height)
        return std::nullopt;
    return y;
}

QList<QLine> CurveSegments(const std::function<std::optional<double>(int)>& valueAt, int samples, int writePosition,
                           int step, const TrendScale& scale)
{
    QList<QLine> segments;
    std::optional<QPoint> previous;
    int sample = (writePosition + 1) % samples;
    for (int x = step; x < Width; x += step, sample = (sample + 1) % samples) {
        const auto value = valueAt(sample);
        const auto y = value ? ValueY(*value, scale) : std::nullopt;
        if (!y)
            continue;
        const QPoint point(x, *y);
        if (previous && x != step)
            segments << QLine(*previous, point);
        previous = point;
    }
    return segments;
}

}  // namespace dunmere
