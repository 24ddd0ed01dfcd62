#pragma once

#include <QList>

class CTab;
class CTemplate;
class Pagoline;
class QColor;
class QPainter;

// What the two staircase looks (tabbed dialog, property page) have in common: the parts of
// a tab's outline, the stagger of the back rows, the strip as one drawing sees it and the
// pass that draws the tabs with their captions.
namespace Staircase {

// The outline parts as seen with the tabs on top.
enum Part { LeftSide, TopLeftCorner, TopEdge, TopRightCorner, RightSide, BottomEdge, PartCount };

// Rows further from the page are shifted this far along the strip.
inline constexpr int kRowShift = 11;
// Back-row pages begin this far below their tabs' foot.
inline constexpr int kBackPageDrop = 5;
inline constexpr int kElements = 64;

struct Geometry
{
    int T = 0, L = 0, D = 0, R = 1, P = 1, n = 0, orientation = 0;
    [[nodiscard]] int footY(int row) const { return (R - row + 1) * T; }
    [[nodiscard]] int pageRight(int row) const { return L - kRowShift * (R - row) - 1; }
};

// The strip of the control for this drawing; n counts its visible tabs.
[[nodiscard]] Geometry ReadGeometry(Pagoline &control);
// Whether an outline part takes the 3-D highlight (true) or the darker colour of its line.
[[nodiscard]] bool IsHighlightSide(int orientation, Part part);
// The page colour: the control's back colour, or the face where it has none.
[[nodiscard]] QColor BackColour(const Pagoline &control, const QColor &face);
// Draws found[i] as the outline and caption of the control's i-th visible tab.
void DrawTabsWithCaptions(QPainter &painter, Pagoline &control, const QList<const CTemplate *> &found,
                          int orientation, bool wordWrap);

} // namespace Staircase
