#pragma once
// Where the moisture graph's lines and points lie, in its 4000 x 3000 units (origin top
// left): x = 40 x unscaled, y = 3000 - 3000 x moisture / full scale. Coordinates round to
// whole units, halves to the even neighbour.

#include <QLine>
#include <QList>
#include <QPoint>
#include <optional>

namespace dunmere {

namespace MoistureGraphUnits {
constexpr int Width = 4000;
constexpr int Height = 3000;
constexpr int PointRadius = 30;
}  // namespace MoistureGraphUnits

enum class RuleLineColour { DarkBlue, Magenta, Black };

struct RuleLine {
    QLine line;
    RuleLineColour colour;
};

// The four dotted rule lines in drawing order: the sand slope, the fine slope, the two limits.
[[nodiscard]] QList<RuleLine> MoistureRuleLines(int fullScale);
// The part of moisture = B x unscaled + C inside the area; none when B or C is not finite.
[[nodiscard]] std::optional<QLine> MoistureFittedLine(double B, double C, int fullScale);
[[nodiscard]] QPoint MoisturePointPosition(double unscaled, double moisture, int fullScale);

}  // namespace dunmere
