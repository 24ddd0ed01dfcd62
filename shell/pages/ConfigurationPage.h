#pragma once
// The Configuration page (tab 1): calibration coefficients, analogue outputs, digital
// input/output, signal processing, averaging and the Write button, as one container widget for
// MainTab.

#include "PageWidget.h"

namespace dunmere {

class ConfigurationPage final : public PageWidget {
    Q_OBJECT
public:
    explicit ConfigurationPage(PagesCore& core, QWidget* parent = nullptr) : PageWidget(core, 1, parent)
    {
        setObjectName(QStringLiteral("ConfigurationPage"));
    }
};

}  // namespace dunmere
