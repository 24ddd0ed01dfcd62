#pragma once

#include "pagoline/core/PagolineGlobal.h"
#include "pagoline/styles/CTemplate.h"
#include "pagoline/styles/ITabStyle.h"
#include "pagoline/styles/StaircaseParts.h"

#include <QColor>
#include <QString>

#include <map>

class CTab;

// Tabs of equal width with 4-pixel bevelled corners, a 3-D border, and the pages of
// the back rows shown as a staircase beside the current page.
class PAGOLINE_EXPORT CStyleTabbedDialog : public ITabStyle
{
public:
    using Part = Staircase::Part;
    using enum Staircase::Part;

    void setParent(Pagoline *parent) override { m_parent = parent; }
    void DrawTabs(bool CalculateTemplates) override;

    // Tab width and the remainder given to the last tab of a row, from the last rebuild.
    [[nodiscard]] int TabWidth() const { return m_w; }
    [[nodiscard]] int Remainder() const { return m_e; }
    // 1..10, see the shape table in the source.
    [[nodiscard]] static int ShapeKind(int row, int column, bool current, bool lastVisible, int tabsPerRow,
                                       int visibleTabs, int lastRow);
    [[nodiscard]] static QString TemplateKey(int column, int row, int kind);
    // The inner colour of an outline part in an orientation: true for the 3-D highlight,
    // false for the button shadow.
    [[nodiscard]] static bool InnerIsHighlight(int orientation, Part part);

private:
    [[nodiscard]] bool calculateSizes();
    void buildTemplates();
    void resolveColours();
    void addTemplate(int column, int row, int kind);
    void recordTabOutline(CTemplate &t, int x0, int y0, int wt, int extendLeft, int extendRight, int captionDrop,
                          bool fillBelow) const;
    void recordTabInner(CTemplate &t, int x0, int y0, int wt, int extendLeft, int extendRight) const;
    void recordBackPageOutline(CTemplate &t, int row, int x0, int y0) const;
    void recordBackPageLines(CTemplate &t, int row, int xs, int y0) const;
    void recordCurrentTab(CTemplate &t, int x0, int wt) const;
    [[nodiscard]] int tabX(int column, int row) const { return (column - 1) * m_w + Staircase::kRowShift * (row - 1); }
    void paint();

    Pagoline *m_parent = nullptr;
    std::map<QString, CTemplate> m_templates;
    Staircase::Geometry m_g;
    int m_w = 0;
    int m_e = 0;
    QColor m_outer;
    QColor m_inner[PartCount];
    QColor m_face;
};
