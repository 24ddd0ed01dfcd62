#pragma once
// The Diagnostics page (tab 2): temperatures, frequency and amplitude, status flags, extremes,
// factory values, coefficients, firmware, the Ethernet adapter group, the keypad and the output
// test, as one container widget for MainTab.

#include "PageWidget.h"

namespace dunmere {

class DiagnosticsPage final : public PageWidget {
    Q_OBJECT
public:
    explicit DiagnosticsPage(PagesCore& core, QWidget* parent = nullptr) : PageWidget(core, 2, parent)
    {
        setObjectName(QStringLiteral("DiagnosticsPage"));
    }
};

}  // namespace dunmere
