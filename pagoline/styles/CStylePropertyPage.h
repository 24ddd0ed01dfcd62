#pragma once

#include "pagoline/core/PagolineGlobal.h"
#include "pagoline/styles/CTemplate.h"
#include "pagoline/styles/ITabStyle.h"
#include "pagoline/styles/StaircaseParts.h"

#include <QColor>
#include <QHash>
#include <QString>

#include <map>

class CTab;

// Tabs as wide as their captions with small corners, the current tab raised 2 pixels
// above its row and widened into its neighbours, and the pages of the back rows shown
// as a staircase beside the current page. The templates are rebuilt at every drawing,
// since every tab's width depends on its caption.
class PAGOLINE_EXPORT CStylePropertyPage : public ITabStyle
{
public:
    using Part = Staircase::Part;
    using enum Staircase::Part;
    enum Flag {
        SelectedTab = 1,
        FrontRow = 2,
        FirstPosition = 8,
        LastPosition = 16,
        LeftOverhang = 32,
        RightOverhang = 64,
        LeftOfSelected = 128,
        RightOfSelected = 256,
        LeftAboveSelected = 512,
        RightAboveSelected = 1024,
        CompleteRow = 2048,
        OverhangsFirstPos = 4096,
        SelectedAlone = 8192
    };

    void setParent(Pagoline *parent) override { m_parent = parent; }
    void DrawTabs(bool CalculateTemplates) override;

    // A caption's tab width: its text (with its "&" markers) + 12, and a picture's
    // extent along the tab + 10.
    [[nodiscard]] static int TabWidth(int textWidth, int pictureExtent);
    [[nodiscard]] static QString TemplateKey(int column, int row, int flags);
    // The shape flags of a visible tab, from the widths and rows of the last drawing.
    [[nodiscard]] int Flags(const CTab &tab) const;
    // Where a display row ends along the strip, its stagger included.
    [[nodiscard]] int RowEnd(int row) const { return m_rowEnds.value(QString::number(row) + QStringLiteral("rw")); }
    // Outer colour is the 3-D highlight (true) or the window frame (false); the inner
    // one the button face (true) or the button shadow (false).
    [[nodiscard]] static bool OuterIsHighlight(int orientation, Part part);
    [[nodiscard]] static bool InnerIsFace(int orientation, Part part);

private:
    // How a tab's outline differs from the plain back tab.
    struct Shape
    {
        int leftFrom = -1;  // the left side's outer line starts this far below the foot
        int rightTo = 0;    // the right side ends this far below the foot
        int fillBelow = 5;  // the fill reaches this far below the foot
        int topStart = 2;
        bool left = true;
        bool right = true;
        bool frameTopRight = false;
        bool page = false;  // with the visible part of its row's page
    };
    [[nodiscard]] static Shape ShapeFor(int flags);
    void measure();
    [[nodiscard]] bool calculateSizes();
    void resolveColours();
    void buildTemplate(CTemplate &t, const CTab &tab, int flags);
    void recordBackTab(CTemplate &t, int row, int x0, int y0, int w, const Shape &shape) const;
    void recordBackPage(CTemplate &t, int row, int xs, int y0) const;
    void recordCurrentTab(CTemplate &t, int x0, int w, int flags) const;
    [[nodiscard]] int pageBottom(int row) const { return m_g.D - 3 - m_g.T * (row - 1); }
    void paint();

    Pagoline *m_parent = nullptr;
    std::map<QString, CTemplate> m_templates;
    QHash<QString, int> m_rowEnds;
    Staircase::Geometry m_g;
    int m_currentLeft = 0;
    int m_currentWidth = 0;
    int m_currentColumn = 0;
    bool m_currentLast = false;
    QColor m_outer[PartCount];
    QColor m_inner[PartCount];
    QColor m_face;
    QColor m_frame;
};
