#pragma once

#include "pagoline/core/PagolineGlobal.h"

#include <QDialog>

// The control's About box: its name and version, and an OK button. Fixed size, without
// minimise and maximise buttons, centred on the screen.
class PAGOLINE_EXPORT FAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FAbout(QWidget *parent = nullptr);
    FAbout(const FAbout &) = delete;
    FAbout &operator=(const FAbout &) = delete;

    // "Quillset Tabbed Dialog Control version " followed by the control's version.
    [[nodiscard]] static QString VersionLine();
};
