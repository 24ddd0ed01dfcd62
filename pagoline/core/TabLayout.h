#pragma once

#include "pagoline/core/CTabs.h"
#include "pagoline/core/PagolineGlobal.h"

#include <QList>

// The arithmetic of the tab strip, kept apart from the widget so that each rule lives
// in one place. Rows and positions are 1-based.
namespace TabLayout {

constexpr int kMinimumPageDepth = 10;

// Numbers the visible tabs 1..n in fixed order (hidden tabs get Index -1) and returns them.
PAGOLINE_EXPORT QList<CTab *> BuildVisibleTabs(const CTabs &tabs);
[[nodiscard]] PAGOLINE_EXPORT int RowCount(int visibleTabs, int tabsPerRow);
[[nodiscard]] PAGOLINE_EXPORT int PageDepth(int stripDepth, int tabHeight, int rows);
// The row of a visible tab once the current tab's natural row is turned to row 1; the
// rows behind it keep their order and the rows in front of it go to the back.
[[nodiscard]] PAGOLINE_EXPORT int DisplayRow(int index, int currentIndex, int tabsPerRow, int rows);
// The visible index that an arrow key (Windows key codes 37..40) moves to from index;
// 0 for any other key or an empty strip.
[[nodiscard]] PAGOLINE_EXPORT int ArrowTarget(int key, int index, int visibleTabs, int tabsPerRow);

} // namespace TabLayout
