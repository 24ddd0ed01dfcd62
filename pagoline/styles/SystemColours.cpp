#include "pagoline/styles/SystemColours.h"

namespace SystemColours {

namespace {

struct SystemRole
{
    quint32 index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The active group throughout: a control that takes no input is drawn as one that does.
constexpr SystemRole kRoles[] = {
    {1, QPalette::Active, QPalette::Window},           // desktop
    {2, QPalette::Active, QPalette::Highlight},        // active caption
    {3, QPalette::Inactive, QPalette::Highlight},      // inactive caption
    {4, QPalette::Active, QPalette::Window},           // menu
    {5, QPalette::Active, QPalette::Base},             // window
    {6, QPalette::Active, QPalette::Shadow},           // window frame
    {7, QPalette::Active, QPalette::WindowText},       // menu text
    {8, QPalette::Active, QPalette::Text},             // window text
    {9, QPalette::Active, QPalette::HighlightedText},  // caption text
    {12, QPalette::Active, QPalette::Window},          // application workspace
    {13, QPalette::Active, QPalette::Highlight},       // highlight
    {14, QPalette::Active, QPalette::HighlightedText}, // highlight text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::Text},          // grey text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {20, QPalette::Active, QPalette::Light},           // 3-D highlight
    {21, QPalette::Active, QPalette::Shadow},          // 3-D dark shadow
    {22, QPalette::Active, QPalette::Midlight},        // 3-D light
    {23, QPalette::Active, QPalette::ToolTipText},     // info text
    {24, QPalette::Active, QPalette::ToolTipBase},     // info background
};

} // namespace

QColor TranslateColour(quint32 hostColour, const QPalette &palette)
{
    if ((hostColour & 0x80000000u) == 0)
        return QColor(int(hostColour & 0xFF), int((hostColour >> 8) & 0xFF), int((hostColour >> 16) & 0xFF));
    const quint32 index = hostColour & 0x7FFFFFFFu;
    for (const SystemRole &entry : kRoles) {
        if (entry.index == index)
            return palette.color(entry.group, entry.role);
    }
    return {};
}

} // namespace SystemColours
