#include "pagoline/styles/StaircaseParts.h"

#include "pagoline/core/CTab.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/styles/CTemplate.h"
#include "pagoline/styles/SystemColours.h"

#include <QPainter>

namespace Staircase {

Geometry ReadGeometry(Pagoline &control)
{
    Geometry g;
    g.T = control.TabHeightPixels();
    g.L = control.StripLength();
    g.D = control.StripDepth();
    g.P = qMax<int>(1, control.TabsPerRow());
    g.n = int(control.VisibleTabs(false).size());
    g.R = qMax<int>(1, control.Rows());
    g.orientation = control.TabOrientation();
    return g;
}

bool IsHighlightSide(int orientation, Part part)
{
    // left side, top-left corner, top edge, top-right corner, right side, bottom edge
    static constexpr bool kTable[4][PartCount] = {
        {true, true, true, false, false, false},   // top
        {true, false, false, false, false, true},  // bottom
        {false, false, true, true, true, false},   // left
        {true, false, false, false, false, true},  // right
    };
    return kTable[qBound(0, orientation, 3)][part];
}

QColor BackColour(const Pagoline &control, const QColor &face)
{
    const QColor back = SystemColours::TranslateColour(control.BackColor(), control.palette());
    return back.isValid() ? back : face;
}

void DrawTabsWithCaptions(QPainter &painter, Pagoline &control, const QList<const CTemplate *> &found,
                          int orientation, bool wordWrap)
{
    const QPalette palette = control.palette();
    const QColor fore = SystemColours::TranslateColour(control.ForeColor(), palette);
    const QColor grey = SystemColours::TranslateColour(SystemColours::GrayText, palette);
    const QList<CTab *> &visible = control.VisibleTabs(false);
    const CTab *current = control.CurrentTab();
    const bool focus = control.ShowFocusNow();
    const bool accelerators = control.ShowAcceleratorsNow();
    for (qsizetype i = 0; i < found.size(); ++i) {
        const CTab *tab = visible[i];
        const CTemplate &t = *found[i];
        t.DrawTab(painter);
        CTemplate::CaptionOptions options;
        options.font = control.font();
        options.orientation = orientation;
        options.colour = tab->Enabled ? fore : grey;
        options.wordWrap = wordWrap;
        options.showFocus = focus && tab == current;
        options.showAccelerators = accelerators;
        options.picture = tab->Picture;
        t.DrawCaption(painter, {tab->CaptionPrefix(), tab->CaptionAccelerator(), tab->CaptionPostfix()}, options);
    }
}

} // namespace Staircase
