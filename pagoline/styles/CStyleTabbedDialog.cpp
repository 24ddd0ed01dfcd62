#include "pagoline/styles/CStyleTabbedDialog.h"

#include "pagoline/core/CTab.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/styles/SystemColours.h"

#include <QPainter>

using Staircase::kBackPageDrop;
using Staircase::kElements;
using Staircase::kRowShift;

namespace {

constexpr int kCorner = 4;

} // namespace

bool CStyleTabbedDialog::InnerIsHighlight(int orientation, Part part)
{
    return Staircase::IsHighlightSide(orientation, part);
}

QString CStyleTabbedDialog::TemplateKey(int column, int row, int kind)
{
    return QStringLiteral("%1_%2_%3").arg(column).arg(row).arg(kind);
}

// 1, 2: the current tab (2 in the last column) with the whole border of the page.
// 3, 4: plain tabs of the front row (3 in the last column).
// 5, 6: last column of a back row; 5 right behind a short row, its sides reaching down
//       to its page and that page's top edge drawn from the end of the short row.
// 7:    the last visible tab in a back row, with the visible part of its row's page.
// 8, 9: behind a short row, past its end (8, both sides reaching down) or over its last
//       column (9, the right side reaching down).
// 10:   every other back tab.
int CStyleTabbedDialog::ShapeKind(int row, int column, bool current, bool lastVisible, int tabsPerRow,
                                  int visibleTabs, int lastRow)
{
    const int p = tabsPerRow;
    const int a = (visibleTabs - 1) % p;
    const int k = column - 1;
    const bool behindShortRow = row == lastRow + 1 && visibleTabs % p != 0;
    if (row == 1) {
        if (current)
            return column == p ? 2 : 1;
        return column == p ? 3 : 4;
    }
    if (column == p)
        return behindShortRow ? 5 : 6;
    if (lastVisible)
        return 7;
    if (behindShortRow && k > a)
        return 8;
    if (behindShortRow && k == a)
        return 9;
    return 10;
}

void CStyleTabbedDialog::resolveColours()
{
    const QPalette palette = m_parent->palette();
    m_outer = SystemColours::TranslateColour(SystemColours::WindowFrame, palette);
    const QColor highlight = SystemColours::TranslateColour(SystemColours::Highlight3D, palette);
    const QColor shadow = SystemColours::TranslateColour(SystemColours::ButtonShadow, palette);
    for (int part = 0; part < PartCount; ++part)
        m_inner[part] = InnerIsHighlight(m_g.orientation, Part(part)) ? highlight : shadow;
    m_face = SystemColours::TranslateColour(SystemColours::ButtonFace, palette);
}

bool CStyleTabbedDialog::calculateSizes()
{
    const int p = m_g.P;
    const int shift = kRowShift * (m_g.R - 1);
    if (m_parent->TabMaxWidthPixels() > 0) {
        m_w = m_parent->TabMaxWidthPixels();
        m_e = 0;
    } else {
        m_w = qMax(42, (m_g.L - shift) / p);
        m_e = qMax(0, (m_g.L - shift) % p);
    }
    const int neededLength = m_w * p + shift;
    const int neededDepth = m_parent->PageDepth() + m_g.T * m_g.R;
    if (m_g.L >= neededLength && m_g.D >= neededDepth)
        return true;
    // Grown along the strip only when it is too short, so that a control short of depth
    // alone keeps its length.
    const int length = m_g.L < neededLength ? neededLength + m_e : m_g.L;
    return !m_parent->SetControlSize(length, qMax(neededDepth, m_g.D));
}

void CStyleTabbedDialog::recordTabOutline(CTemplate &t, int x0, int y0, int wt, int extendLeft, int extendRight,
                                          int captionDrop, bool fillBelow) const
{
    const int T = m_g.T;
    const QColor &o = m_outer;
    t.SPt(x0, y0 + extendLeft);
    t.RPt(0, -(T - kCorner) - extendLeft, o, 1, CTemplate::LineAndOutline);
    t.SetULx(kCorner, 0);
    t.RPt(kCorner, -kCorner, o, 1, CTemplate::LineAndOutline);
    t.gSave();
    t.MPt(0, 2);
    t.SetULy(0, 3);
    t.gRestore();
    t.RPt(wt - 2 * kCorner, 0, o, 1, CTemplate::LineAndOutline);
    t.RPt(kCorner, kCorner, o, 1, CTemplate::LineAndOutline);
    t.RPt(0, T - kCorner + extendRight, o, 1, CTemplate::LineAndOutline);
    t.gSave();
    t.MPt(0, -2 - extendRight + captionDrop);
    t.SetLRx(-4, 0);
    t.SetLRy(-3, 0);
    t.gRestore();
    if (fillBelow) {
        t.MPt(0, 8 - extendRight, CTemplate::OutlineOnly);
        t.SPt(x0, y0 + 8, CTemplate::OutlineOnly);
    }
}

void CStyleTabbedDialog::recordTabInner(CTemplate &t, int x0, int y0, int wt, int extendLeft, int extendRight) const
{
    const int T = m_g.T;
    // One pixel further in than the outer line.
    t.Pt(x0 + 1, y0 - 1 + extendLeft, 0, -(T - kCorner) - extendLeft, m_inner[LeftSide], 1);
    t.Pt(x0 + 1, y0 - T + kCorner, kCorner, -kCorner, m_inner[TopLeftCorner], 1);
    t.Pt(x0 + kCorner, y0 - T + 1, wt - 2 * kCorner, 0, m_inner[TopEdge], 1);
    t.Pt(x0 + wt - kCorner, y0 - T + 1, kCorner, kCorner, m_inner[TopRightCorner], 1);
    t.Pt(x0 + wt - 1, y0 - T + kCorner, 0, T - kCorner + extendRight, m_inner[RightSide], 1);
}

// The part of a back row's page that shows beside the pages in front: its top edge from
// xs, its right side and 11 pixels of its bottom edge; the fill covers the whole page.
// Continues the outline from the foot of the tab's right side round that page.
void CStyleTabbedDialog::recordBackPageOutline(CTemplate &t, int row, int x0, int y0) const
{
    const int yp = y0 + kBackPageDrop;
    const int xe = m_g.pageRight(row);
    const int yb = m_g.D - 1 - m_g.T * (row - 1);
    const int left = kRowShift * (row - 1);
    t.SPt(t.X(), yp, CTemplate::OutlineOnly);
    t.SPt(xe, yp, CTemplate::OutlineOnly);
    t.SPt(xe, yb, CTemplate::OutlineOnly);
    t.SPt(left, yb, CTemplate::OutlineOnly);
    t.SPt(left, yp, CTemplate::OutlineOnly);
    t.SPt(x0, yp, CTemplate::OutlineOnly);
}

void CStyleTabbedDialog::recordBackPageLines(CTemplate &t, int row, int xs, int y0) const
{
    const int yp = y0 + kBackPageDrop;
    const int xe = m_g.pageRight(row);
    const int yb = m_g.D - 1 - m_g.T * (row - 1);
    if (xe > xs) {
        t.Pt(xs, yp, xe - xs, 0, m_outer, 1);
        t.Pt(xs, yp + 1, xe - 1 - xs, 0, m_inner[TopEdge], 1);
    }
    t.Pt(xe, yp, 0, yb - yp, m_outer, 1);
    t.Pt(xe, yb, -kRowShift, 0, m_outer, 1);
    t.Pt(xe - 1, yp + 1, 0, yb - 1 - (yp + 1), m_inner[RightSide], 1);
    t.Pt(xe - 1, yb - 1, -(kRowShift - 1), 0, m_inner[BottomEdge], 1);
}

void CStyleTabbedDialog::recordCurrentTab(CTemplate &t, int x0, int wt) const
{
    const int T = m_g.T;
    const int D = m_g.D;
    const int y0 = m_g.footY(1);
    const int xr = m_g.pageRight(1);
    const QColor &o = m_outer;
    const auto side = CTemplate::LineAndOutline;
    // The outer line all round, which is also the outline of the fill.
    t.SPt(x0, y0);
    t.RPt(0, -(T - kCorner), o, 1, side);
    t.SetULx(kCorner, 0);
    t.RPt(kCorner, -kCorner, o, 1, side);
    t.gSave();
    t.MPt(0, 2);
    t.SetULy(0, 3);
    t.gRestore();
    t.RPt(wt - 2 * kCorner, 0, o, 1, side);
    t.RPt(kCorner, kCorner, o, 1, side);
    t.RPt(0, T - kCorner, o, 1, side);
    t.gSave();
    t.MPt(0, -2);
    t.SetLRx(-4, 0);
    t.SetLRy(-3, 0);
    t.gRestore();
    t.RPt(xr - (x0 + wt), 0, o, 1, side);
    t.RPt(0, D - 1 - y0, o, 1, side);
    t.RPt(-xr, 0, o, 1, side);
    t.RPt(0, -(D - 1 - y0), o, 1, side);
    t.RPt(x0, 0, o, 1, side);
    // Two inner lines, 1 and 2 pixels further in; the tab's foot stays open.
    for (int k = 1; k <= 2; ++k) {
        t.Pt(x0 + k, y0 + k, 0, -(T - kCorner) - k, m_inner[LeftSide], 1);
        t.Pt(x0 + k, y0 - T + kCorner, kCorner, -kCorner, m_inner[TopLeftCorner], 1);
        t.Pt(x0 + kCorner, y0 - T + k, wt - 2 * kCorner, 0, m_inner[TopEdge], 1);
        t.Pt(x0 + wt - kCorner, y0 - T + k, kCorner, kCorner, m_inner[TopRightCorner], 1);
        t.Pt(x0 + wt - k, y0 - T + kCorner, 0, T - kCorner + k, m_inner[RightSide], 1);
        t.Pt(x0 + wt - k, y0 + k, xr - x0 - wt, 0, m_inner[TopEdge], 1);
        t.Pt(xr - k, y0 + k, 0, D - 1 - 2 * k - y0, m_inner[RightSide], 1);
        t.Pt(xr - k, D - 1 - k, -(xr - 2 * k), 0, m_inner[BottomEdge], 1);
        t.Pt(k, D - 1 - k, 0, -(D - 1 - 2 * k - y0), m_inner[LeftSide], 1);
        t.Pt(k, y0 + k, x0, 0, m_inner[TopEdge], 1);
    }
}

void CStyleTabbedDialog::addTemplate(int column, int row, int kind)
{
    CTemplate &t = m_templates[TemplateKey(column, row, kind)];
    t = CTemplate();
    const int L = m_g.L, D = m_g.D;
    switch (m_g.orientation) {
    case 1: t.SetOrientation(1, 0, D - 1); break;
    case 2: t.SetOrientation(2, 0, L - 1); break;
    case 3: t.SetOrientation(3, D - 1, 0); break;
    default: t.SetOrientation(0, 0, 0); break;
    }
    t.Initialise(kElements);
    const int p = m_g.P;
    const int x0 = tabX(column, row);
    const int y0 = m_g.footY(row);
    const int wt = column == p ? m_w + m_e - 1 : m_w;
    const int a = (m_g.n - 1) % p;
    const QColor caption = SystemColours::TranslateColour(m_parent->ForeColor(), m_parent->palette());
    t.Caption(caption, kind == 1 || kind == 2);
    const int fullRowEnd = p * m_w + m_e - 1 + kRowShift * (row - 2);
    const int shortRowEnd = (a + 1) * m_w + kRowShift * (row - 2);
    switch (kind) {
    case 1:
    case 2:
        recordCurrentTab(t, x0, wt);
        break;
    case 5:
    case 6:
    case 7: {
        const int left = kind == 5 ? kBackPageDrop : 0;
        const int right = kind == 7 ? 0 : kBackPageDrop;
        recordTabOutline(t, x0, y0, wt, left, right, 0, false);
        recordBackPageOutline(t, row, x0, y0);
        recordTabInner(t, x0, y0, wt, left, right);
        recordBackPageLines(t, row, kind == 5 ? shortRowEnd : fullRowEnd, y0);
        break;
    }
    default: {
        // 8 and 9 reach down to the page behind a short row; 3 has no fill below its foot.
        const int left = kind == 8 ? kBackPageDrop : 0;
        const int right = (kind == 8 || kind == 9) ? kBackPageDrop : 0;
        recordTabOutline(t, x0, y0, wt, left, right, kind == 8 ? kBackPageDrop : 0, kind != 3);
        recordTabInner(t, x0, y0, wt, left, right);
        break;
    }
    }
}

void CStyleTabbedDialog::buildTemplates()
{
    m_templates.clear();
    const int p = m_g.P;
    const int lastColumn = (m_g.n - 1) % p + 1;
    for (int c = 1; c <= p; ++c) {
        addTemplate(c, 1, c == p ? 2 : 1);
        addTemplate(c, 1, c == p ? 3 : 4);
    }
    for (int r = 2; r <= m_g.R; ++r) {
        addTemplate(p, r, 5);
        addTemplate(p, r, 6);
        if (lastColumn < p)
            addTemplate(lastColumn, r, 7);
        for (int c = 1; c < p; ++c) {
            addTemplate(c, r, 8);
            addTemplate(c, r, 9);
            addTemplate(c, r, 10);
        }
    }
}

void CStyleTabbedDialog::DrawTabs(bool CalculateTemplates)
{
    if (!m_parent)
        return;
    m_g = Staircase::ReadGeometry(*m_parent);
    if (m_g.n == 0)
        return;
    if (CalculateTemplates || m_templates.empty()) {
        resolveColours();
        if (!calculateSizes())
            return; // the control grew; the pass runs again at the new size
        buildTemplates();
    }
    paint();
}

void CStyleTabbedDialog::paint()
{
    QImage &buffer = m_parent->BackBuffer();
    const QList<CTab *> &visible = m_parent->VisibleTabs(false);
    const CTab *current = m_parent->CurrentTab();
    const int lastRow = m_parent->LastTabRow();

    QPainter painter(&buffer);
    painter.fillRect(buffer.rect(), Staircase::BackColour(*m_parent, m_face));
    QList<const CTemplate *> found;
    for (CTab *tab : visible) {
        const int column = (tab->Index - 1) % m_g.P + 1;
        const int kind = ShapeKind(tab->Row, column, tab == current, tab == visible.last(), m_g.P, m_g.n, lastRow);
        const auto it = m_templates.find(TemplateKey(column, tab->Row, kind));
        if (it == m_templates.end())
            break; // a missing template ends the drawing
        const CTemplate &t = it->second;
        tab->SetRegion(t.ULx(), t.ULy(), t.LRx(), t.LRy());
        t.FillBackground(painter, m_face);
        found.append(&t);
    }
    Staircase::DrawTabsWithCaptions(painter, *m_parent, found, m_g.orientation, m_parent->WordWrap());
}
