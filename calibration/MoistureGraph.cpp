#include "MoistureGraph.h"

#include <cmath>

namespace dunmere {

using namespace MoistureGraphUnits;

namespace {

int whole(double v) { return int(std::nearbyint(v)); }

// b of the drawing rules: the y units of one moisture %, negative (up is less y).
double unitsPerMoisture(int fullScale) { return std::nearbyint(-double(Height) / fullScale); }

}  // namespace

QList<RuleLine> MoistureRuleLines(int fullScale)
{
    struct Rule {
        double slope;
        double intercept;
        RuleLineColour colour;
    };
    static constexpr Rule rules[] = {{0.2857, -4, RuleLineColour::DarkBlue},
                                     {0.1515, -1.5151, RuleLineColour::Magenta},
                                     {2, -10, RuleLineColour::Black},
                                     {0.06, -3, RuleLineColour::Black}};
    const double b = unitsPerMoisture(fullScale);
    QList<RuleLine> lines;
    for (const Rule& r : rules) {
        const double u1 = std::min(std::nearbyint((fullScale - r.intercept) / r.slope), 100.0);
        const int y1 = std::max(0, whole((u1 * r.slope + r.intercept) * b + Height));
        lines.append({QLine(whole(-(r.intercept / r.slope) * 40), Height, whole(40 * u1), y1), r.colour});
    }
    return lines;
}

std::optional<QLine> MoistureFittedLine(double B, double C, int fullScale)
{
    if (!std::isfinite(B) || !std::isfinite(C))
        return std::nullopt;
    const double b = unitsPerMoisture(fullScale);
    const double atZero = C * b + Height;  // y where unscaled is 0
    if (B > 0) {
        const QPoint start = C >= 0 ? QPoint(0, whole(atZero)) : QPoint(whole(-(C / B) * 40), Height);
        const double u1 = std::min((fullScale - C) / B, 100.0);
        const double y1 = std::max(0.0, b * (u1 * B + C) + Height);
        return QLine(start, QPoint(whole(40 * u1), whole(y1)));
    }
    if (B == 0)
        return QLine(0, whole(atZero), Width, whole(atZero));
    const QPoint start = atZero >= 0 ? QPoint(0, whole(atZero)) : QPoint(whole(40 * (fullScale - C) / B), 0);
    const double crossing = -C / B;
    const QPoint end = crossing <= 100 ? QPoint(whole(40 * crossing), Height) : QPoint(Width, whole(b * (100 * B + C) + Height));
    return QLine(start, end);
}

QPoint MoisturePointPosition(double unscaled, double moisture, int fullScale)
{
    return {whole(40 * unscaled), whole(Height - double(Height) * moisture / fullScale)};
}

}  // namespace dunmere
