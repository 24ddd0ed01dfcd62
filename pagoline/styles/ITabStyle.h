#pragma once

#include "pagoline/core/PagolineGlobal.h"

class Pagoline;

// A look of the tab strip and page border. The control creates one for its Style and
// asks it to draw from each layout pass; the style reads what it needs from the control
// and stores each visible tab's hit region back into the tab.
class PAGOLINE_EXPORT ITabStyle
{
public:
    virtual ~ITabStyle() = default;
    virtual void setParent(Pagoline *parent) = 0;
    // Draws into the control's back buffer; rebuilds the templates first when asked.
    virtual void DrawTabs(bool CalculateTemplates) = 0;
};
