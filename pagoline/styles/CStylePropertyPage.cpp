#include "pagoline/styles/CStylePropertyPage.h"

#include "pagoline/core/CTab.h"
#include "pagoline/core/Pagoline.h"
#include "pagoline/styles/CGDIToolbox.h"
#include "pagoline/styles/SystemColours.h"
#include "pagoline/winapi/MUnicodeSupport.h"

#include <QPainter>

using Staircase::kBackPageDrop;
using Staircase::kElements;
using Staircase::kRowShift;

namespace {

// The current tab stands this much above its row and reaches this far into its neighbours.
constexpr int kRaise = 2;
constexpr int kWiden = 2;

// The fill's outline up one side of a tab, over its rounded top and down to its foot.
void recordTabFill(CTemplate &t, int left, int right, int top, int foot)
{
    const auto outline = CTemplate::OutlineOnly;
    t.SPt(left, foot);
    t.SPt(left, top + 2, outline);
    t.SPt(left + 2, top, outline);
    t.SPt(right - 1, top, outline);
    t.SPt(right, top + 1, outline);
    t.SPt(right, foot, outline);
}

// Continues the fill's outline from a tab's foot round a page from left to right.
void recordPageFill(CTemplate &t, int left, int right, int foot, int bottom)
{
    const auto outline = CTemplate::OutlineOnly;
    t.SPt(right, foot, outline);
    t.SPt(right, bottom, outline);
    t.SPt(left, bottom, outline);
    t.SPt(left, foot, outline);
}

// The tab's hit region, its corners taken as they stand.
void recordRegion(CTemplate &t, int left, int top, int right, int bottom)
{
    t.SPt(left, top);
    t.SetULx(0, 0);
    t.SetULy(0, 0);
    t.SPt(right, bottom);
    t.SetLRx(0, 0);
    t.SetLRy(0, 0);
}

} // namespace

bool CStylePropertyPage::OuterIsHighlight(int orientation, Part part)
{
    return Staircase::IsHighlightSide(orientation, part);
}

bool CStylePropertyPage::InnerIsFace(int orientation, Part part)
{
    static constexpr bool kTable[4][PartCount] = {
        {true, true, true, true, false, false},  // top
        {true, true, false, true, false, true},  // bottom
        {false, true, true, true, true, false},  // left
        {true, true, false, true, false, true},  // right
    };
    return kTable[qBound(0, orientation, 3)][part];
}

int CStylePropertyPage::TabWidth(int textWidth, int pictureExtent)
{
    return textWidth + 12 + (pictureExtent > 0 ? pictureExtent + 10 : 0);
}

QString CStylePropertyPage::TemplateKey(int column, int row, int flags)
{
    return QStringLiteral("%1_%2_%3").arg(column).arg(row).arg(QString::number(flags, 16).toUpper());
}

void CStylePropertyPage::resolveColours()
{
    const QPalette palette = m_parent->palette();
    const QColor frame = SystemColours::TranslateColour(SystemColours::WindowFrame, palette);
    m_frame = frame;
    const QColor highlight = SystemColours::TranslateColour(SystemColours::Highlight3D, palette);
    const QColor shadow = SystemColours::TranslateColour(SystemColours::ButtonShadow, palette);
    m_face = SystemColours::TranslateColour(SystemColours::ButtonFace, palette);
    for (int part = 0; part < PartCount; ++part) {
        m_outer[part] = OuterIsHighlight(m_g.orientation, Part(part)) ? highlight : frame;
        m_inner[part] = InnerIsFace(m_g.orientation, Part(part)) ? m_face : shadow;
    }
}

// Widths from the captions, each row's tabs side by side from its stagger.
void CStylePropertyPage::measure()
{
    const QList<CTab *> &visible = m_parent->VisibleTabs(false);
    const QImage &device = m_parent->BackBuffer();
    const QFont font = CTemplate::CaptionFont(m_parent->font(), false, device);
    const bool across = m_g.orientation >= 2;
    m_rowEnds.clear();
    m_currentLeft = 0;
    m_currentWidth = 0;
    const CTab *current = m_parent->CurrentTab();
    for (CTab *tab : visible) {
        int extent = 0;
        if (!tab->Picture.isNull()) {
            const QSize himetric = CGDIToolbox::PictureHimetric(tab->Picture);
            int x = himetric.width(), y = himetric.height();
            CGDIToolbox::HimetricToPixels(device, x, y);
            extent = across ? y : x;
        }
        tab->Width = TabWidth(MUnicodeSupport::GetTextExtentPoint32(font, tab->Caption()).width(), extent);
        const QString key = QString::number(tab->Row) + QStringLiteral("rw");
        tab->Left = m_rowEnds.value(key, kRowShift * (tab->Row - 1));
        m_rowEnds.insert(key, tab->Left + tab->Width);
        if (tab == current) {
            m_currentLeft = tab->Left;
            m_currentWidth = tab->Width;
        }
    }
    m_currentColumn = current && current->Index > 0 ? (current->Index - 1) % m_g.P : -1;
    m_currentLast = current && !visible.isEmpty() && visible.last() == current;
}

bool CStylePropertyPage::calculateSizes()
{
    int widest = 0;
    for (int r = 1; r <= m_g.R; ++r)
        widest = qMax(widest, RowEnd(r) - kRowShift * (r - 1));
    const int neededLength = widest + kRowShift * (m_g.R - 1);
    // The 2 pixels the current tab stands above the strip are not part of the depth.
    const int depth = m_g.D - kRaise;
    const int neededDepth = qMax(10, depth - m_g.T * m_g.R) + m_g.T * m_g.R;
    if (m_g.L >= neededLength && depth >= neededDepth)
        return true;
    return !m_parent->SetControlSize(qMax(neededLength, m_g.L), qMax(neededDepth, depth) + kRaise);
}

int CStylePropertyPage::Flags(const CTab &tab) const
{
    const int p = m_g.P;
    const int k = (tab.Index - 1) % p;
    const int S = m_currentColumn;
    const CTab *current = m_parent->CurrentTab();
    const QList<CTab *> &visible = m_parent->VisibleTabs(false);
    const bool last = !visible.isEmpty() && visible.last() == &tab;
    const bool currentAtEnd = S == p - 1 || m_currentLast;
    int flags = 0;
    if (tab.Row == 1) {
        flags |= FrontRow;
        if (&tab == current) {
            flags |= SelectedTab;
            if (S == 0)
                flags |= FirstPosition;
            else if (currentAtEnd)
                flags |= LastPosition;
        }
        if (current && tab.Index == current->Index - 1)
            flags |= LeftOfSelected;
        if (current && tab.Index == current->Index + 1)
            flags |= RightOfSelected;
        return flags;
    }
    if (last && k != p - 1)
        flags |= LastPosition;
    const int front = RowEnd(tab.Row - 1);
    if (tab.Left >= front)
        flags |= LeftOverhang | RightOverhang;
    else if (tab.Left + tab.Width > front)
        flags |= RightOverhang;
    if (tab.Row == 2 && current && current->Row == 1) {
        const int from = m_currentLeft, to = m_currentLeft + m_currentWidth;
        if (tab.Left > from && tab.Left < to)
            flags |= LeftAboveSelected;
        const int right = tab.Left + tab.Width;
        if (right > from && right < to)
            flags |= RightAboveSelected;
    }
    if (k == p - 1)
        flags |= CompleteRow;
    const bool bothOverhangs = (flags & LeftOverhang) && (flags & RightOverhang);
    if (bothOverhangs && tab.Row == 2 && S == 0 && currentAtEnd)
        flags |= OverhangsFirstPos;
    if ((flags & RightAboveSelected) && S == 0 && (k == p - 1 || last) && currentAtEnd)
        flags |= SelectedAlone;
    return flags;
}

// The plain back tab with the changes each flag makes to it.
CStylePropertyPage::Shape CStylePropertyPage::ShapeFor(int flags)
{
    Shape shape;
    shape.page = flags & (LastPosition | CompleteRow);
    if (flags & FrontRow) {
        shape.fillBelow = 0;
        shape.leftFrom = -3;
        shape.rightTo = -2;
        if (flags & LeftOfSelected) {
            // The current tab covers this tab's right end.
            shape.leftFrom = -2;
            shape.right = false;
        }
        if (flags & RightOfSelected) {
            shape.left = false;
            shape.topStart = 3;
        }
        shape.page = false;
        return shape;
    }
    if ((flags & LeftOverhang) && (flags & RightOverhang)) {
        // Nothing stands in front of it: both sides reach down to its page.
        shape.leftFrom = kBackPageDrop - 1;
        shape.rightTo = kBackPageDrop;
        shape.fillBelow = kBackPageDrop;
        return shape;
    }
    if (flags & RightOverhang) {
        shape.rightTo = kBackPageDrop;
        shape.fillBelow = 2 * kBackPageDrop;
    }
    if (flags & LeftAboveSelected) {
        shape.leftFrom = (flags & RightOverhang) && (flags & LastPosition) ? -2 : -3;
        shape.frameTopRight = true;
        if (!(flags & RightOverhang))
            shape.fillBelow = 0;
    }
    if (flags & RightAboveSelected) {
        shape.rightTo = -2;
        shape.fillBelow = (flags & LeftAboveSelected) ? 0 : 2;
    }
    if (shape.page)
        shape.fillBelow = kBackPageDrop;
    return shape;
}

void CStylePropertyPage::recordBackTab(CTemplate &t, int row, int x0, int y0, int w, const Shape &shape) const
{
    const int T = m_g.T;
    const int top = y0 - T;
    const int right = x0 + w - 1;
    const int foot = y0 + shape.fillBelow;
    // The fill: the tab's outline down to its foot, round its page when it shows one.
    recordTabFill(t, x0, right, top, foot);
    if (shape.page)
        recordPageFill(t, kRowShift * (row - 1), m_g.pageRight(row), foot, pageBottom(row));
    t.SPt(x0, foot, CTemplate::OutlineOnly);

    if (shape.left) {
        t.Pt(x0, y0 + shape.leftFrom, 0, -(T - 1 + shape.leftFrom), m_outer[LeftSide], 1);
        t.Pt(x0, top + 2, 2, -2, m_outer[TopLeftCorner], 1);
        t.Pt(x0 + 1, y0 + shape.leftFrom, 0, -(T - 2 + shape.leftFrom), m_inner[LeftSide], 1);
    }
    const int topLength = w - 2 - shape.topStart;
    t.Pt(x0 + shape.topStart, top, topLength, 0, m_outer[TopEdge], 1);
    t.Pt(x0 + shape.topStart, top + 1, topLength, 0, m_inner[TopEdge], 1);
    if (shape.right) {
        // Above the current tab the corner is in the window-frame colour in every orientation.
        const QColor &corner = shape.frameTopRight ? m_frame : m_outer[TopRightCorner];
        t.Pt(right - 1, top + 1, 1, 1, corner, 1);
        t.Pt(right, top + 2, 0, T - 2 + shape.rightTo, m_outer[RightSide], 1);
        t.Pt(right - 1, top + 2, 0, T - 2 + shape.rightTo, m_inner[RightSide], 1);
    }
    recordRegion(t, x0, top, right, y0);
}

// The part of a back row's page that shows beside the pages in front of it: its top
// edge from xs, its right side and 11 pixels of its bottom edge.
void CStylePropertyPage::recordBackPage(CTemplate &t, int row, int xs, int y0) const
{
    const int yp = y0 + kBackPageDrop;
    const int xe = m_g.pageRight(row);
    const int yb = pageBottom(row);
    if (xe > xs) {
        t.Pt(xs, yp, xe - xs, 0, m_outer[TopEdge], 1);
        t.Pt(xs, yp + 1, xe - 1 - xs, 0, m_inner[TopEdge], 1);
    }
    t.Pt(xe, yp, 0, yb - yp, m_outer[RightSide], 1);
    t.Pt(xe - 1, yp + 1, 0, yb - 1 - (yp + 1), m_inner[RightSide], 1);
    t.Pt(xe, yb, -kRowShift, 0, m_outer[BottomEdge], 1);
    t.Pt(xe - 1, yb - 1, -(kRowShift - 1), 0, m_inner[BottomEdge], 1);
}

void CStylePropertyPage::recordCurrentTab(CTemplate &t, int x0, int w, int flags) const
{
    const int T = m_g.T;
    const int y0 = m_g.footY(1);
    const int yt = y0 - T - kRaise;
    const int yb = pageBottom(1);
    const int xr = m_g.pageRight(1);
    const int xs = (flags & FirstPosition) ? x0 : x0 - kWiden;
    const int xe = (flags & LastPosition) ? x0 + w - 1 : x0 + w - 1 + kWiden;
    // The fill covers the tab and the whole page; the tab's foot stays open.
    recordTabFill(t, xs, xe, yt, y0);
    recordPageFill(t, 0, xr, y0, yb);
    t.SPt(xs, y0, CTemplate::OutlineOnly);

    t.Pt(xs, y0, 0, yt + 2 - y0, m_outer[LeftSide], 1);
    t.RPt(2, -2, m_outer[TopLeftCorner], 1);
    t.RPt(xe - 1 - (xs + 2), 0, m_outer[TopEdge], 1);
    t.RPt(1, 1, m_outer[TopRightCorner], 1);
    t.RPt(0, y0 - (yt + 1), m_outer[RightSide], 1);
    t.RPt(xr - xe, 0, m_outer[TopEdge], 1);
    t.RPt(0, yb - y0, m_outer[RightSide], 1);
    t.RPt(-xr, 0, m_outer[BottomEdge], 1);
    t.RPt(0, y0 - yb, m_outer[LeftSide], 1);
    if (xs > 0)
        t.RPt(xs, 0, m_outer[TopEdge], 1);
    // Inner lines, 1 pixel further in.
    t.Pt(xs + 1, y0 + 1, 0, yt + 3 - (y0 + 1), m_inner[LeftSide], 1);
    t.Pt(xs + 2, yt + 1, xe - 1 - (xs + 2), 0, m_inner[TopEdge], 1);
    t.Pt(xe - 1, yt + 2, 0, y0 + 2 - (yt + 2), m_inner[RightSide], 1);
    t.Pt(xe, y0 + 1, xr - 1 - xe, 0, m_inner[TopEdge], 1);
    t.Pt(xr - 1, y0 + 1, 0, yb - 1 - (y0 + 1), m_inner[RightSide], 1);
    t.Pt(xr - 1, yb - 1, -(xr - 2), 0, m_inner[BottomEdge], 1);
    t.Pt(1, yb - 1, 0, y0 + 1 - (yb - 1), m_inner[LeftSide], 1);
    if (xs > 0)
        t.Pt(1, y0 + 1, xs, 0, m_inner[TopEdge], 1);

    recordRegion(t, (flags & FirstPosition) ? x0 + 4 : x0 + 2, y0 - T + 1, x0 + w - 2, y0 - 2);
}

void CStylePropertyPage::buildTemplate(CTemplate &t, const CTab &tab, int flags)
{
    t = CTemplate();
    const int L = m_g.L, D = m_g.D;
    switch (m_g.orientation) {
    case 1: t.SetOrientation(1, 0, D - 3); break;
    case 2: t.SetOrientation(2, 2, L - 1); break;
    case 3: t.SetOrientation(3, D - 3, 0); break;
    default: t.SetOrientation(0, 0, 2); break;
    }
    t.Initialise(kElements);
    t.Caption(SystemColours::TranslateColour(m_parent->ForeColor(), m_parent->palette()), false);
    const int y0 = m_g.footY(tab.Row);
    if (flags & SelectedTab) {
        recordCurrentTab(t, tab.Left, tab.Width, flags);
        return;
    }
    const Shape shape = ShapeFor(flags);
    recordBackTab(t, tab.Row, tab.Left, y0, tab.Width, shape);
    if (shape.page)
        recordBackPage(t, tab.Row, qMax(RowEnd(tab.Row - 1), tab.Left + tab.Width - 1), y0);
}

void CStylePropertyPage::DrawTabs(bool)
{
    if (!m_parent)
        return;
    m_g = Staircase::ReadGeometry(*m_parent);
    if (m_g.n == 0)
        return;
    resolveColours();
    measure();
    if (!calculateSizes())
        return; // the control grew; the pass runs again at the new size
    paint();
}

void CStylePropertyPage::paint()
{
    QImage &buffer = m_parent->BackBuffer();
    const QList<CTab *> &visible = m_parent->VisibleTabs(false);
    m_templates.clear();
    QList<const CTemplate *> found;
    for (CTab *tab : visible) {
        const int flags = Flags(*tab);
        CTemplate &t = m_templates[TemplateKey((tab->Index - 1) % m_g.P + 1, tab->Row, flags)];
        buildTemplate(t, *tab, flags);
        found.append(&t);
    }
    QPainter painter(&buffer);
    painter.fillRect(buffer.rect(), Staircase::BackColour(*m_parent, m_face));
    for (qsizetype i = 0; i < found.size(); ++i) {
        const CTemplate &t = *found[i];
        visible[i]->SetRegion(t.ULx(), t.ULy(), t.LRx(), t.LRy());
        t.FillBackground(painter, m_face);
    }
    Staircase::DrawTabsWithCaptions(painter, *m_parent, found, m_g.orientation, false);
}
