#pragma once
// The Advanced page (tab 3): factory references and their measurement, automatic calibration,
// coefficients, measurement and averaging modes, arm type and the security settings, as one
// container widget for MainTab.

#include "PageWidget.h"

namespace dunmere {

class AdvancedPage final : public PageWidget {
    Q_OBJECT
public:
    explicit AdvancedPage(PagesCore& core, QWidget* parent = nullptr) : PageWidget(core, 3, parent)
    {
        setObjectName(QStringLiteral("AdvancedPage"));
    }
};

}  // namespace dunmere
