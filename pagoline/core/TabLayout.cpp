#include "pagoline/core/TabLayout.h"

namespace TabLayout {

QList<CTab *> BuildVisibleTabs(const CTabs &tabs)
{
    QList<CTab *> visible;
    for (const auto &tab : tabs) {
        if (tab->Visible) {
            visible.append(tab.get());
            tab->Index = int(visible.size());
        } else {
            tab->Index = -1;
        }
    }
    return visible;
}

int RowCount(int visibleTabs, int tabsPerRow)
{
    if (visibleTabs <= 0)
        return 0;
    return (visibleTabs - 1) / qMax(1, tabsPerRow) + 1;
}

int PageDepth(int stripDepth, int tabHeight, int rows)
{
    return qMax(kMinimumPageDepth, stripDepth - tabHeight * rows);
}

int DisplayRow(int index, int currentIndex, int tabsPerRow, int rows)
{
    const int p = qMax(1, tabsPerRow);
    const int naturalCurrent = (currentIndex - 1) / p + 1;
    int row = (index - 1) / p - naturalCurrent + 2;
    if (row < 1)
        row += rows;
    return row;
}

int ArrowTarget(int key, int index, int visibleTabs, int tabsPerRow)
{
    const int n = visibleTabs;
    const int p = qMax(1, tabsPerRow);
    if (n <= 0 || index < 1 || index > n)
        return 0;
    const int row = (index - 1) / p;
    const int column = (index - 1) % p + 1;
    const int last = (n - 1) / p;
    const int rowEnd = row == last ? n : (row + 1) * p;
    int target = 0;
    switch (key) {
    case 37: // left: wraps within the row
        target = column > 1 ? index - 1 : rowEnd;
        break;
    case 39: // right
        target = (column >= p || index == n) ? row * p + 1 : index + 1;
        break;
    case 38: // up: away from the page
        target = index + p > n ? column : index + p;
        break;
    case 40: // down: the same column of the last natural row when in the first
        if (row > 0) {
            target = index - p;
        } else {
            target = last * p + column;
            if (target > n)
                target = (n / p - 1) * p + column;
        }
        break;
    default:
        return 0;
    }
    return qBound(1, target, n);
}

} // namespace TabLayout
