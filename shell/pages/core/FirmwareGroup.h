#pragma once
// The Diagnostics page's firmware group: CmdUpgrade raises the upgrade request, the task timer
// serves it with the firmware upgrade procedure, CmdUpgradeCancel stops it after the block in
// flight, LblUpgradeStatus follows every step. While blocks are sent the long-running buttons
// stay disabled, page entries included, so nothing else reaches the sensor between blocks.

#include "PagesContext.h"
#include "firmware/FirmwareUpgrade.h"

#include <memory>

namespace dunmere {

class FileDialogs;

class FirmwareGroup final : public UpgradeReport {
public:
    explicit FirmwareGroup(PagesContext& ctx);
    ~FirmwareGroup() override;
    FirmwareGroup(const FirmwareGroup&) = delete;
    FirmwareGroup& operator=(const FirmwareGroup&) = delete;

    // Where the firmware file is chosen; without one every upgrade ends as a cancelled dialog.
    void setFileDialogs(FileDialogs* dialogs) { dialogs_ = dialogs; }
    // A transfer is running (inside the task timer's tick).
    [[nodiscard]] bool running() const { return upgrade_.running(); }

    // CmdUpgrade: the long-running buttons off until the request has been served.
    void upgradeClicked();
    void cancelClicked();
    // The task timer's service of the upgrade request: the file dialog first, then the upgrade
    // of the chosen file; true when the sensor took a new firmware (ctx.sensor then holds it).
    [[nodiscard]] QString chooseFile();
    [[nodiscard]] bool serve(const QString& fileName);
    // A page entry during a transfer turned buttons on that must stay off.
    void keepButtonsOff();

    void status(const QString& text) override;
    void sending(bool on) override;
    [[nodiscard]] bool askRestore(const QList<ConfigurationChange>& changes) override;

private:
    void setLongRunningButtons(bool on);

    PagesContext& ctx_;
    FileDialogs* dialogs_ = nullptr;
    FirmwareUpgrade upgrade_;
};

}  // namespace dunmere
