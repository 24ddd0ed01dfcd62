#pragma once
// The three access levels of the main window: the keypad with its two codes, log-out, the
// two locks kept in config.ini and the factory-reset question. The level itself lives only
// in the controls it shows; the main window applies advancedTabVisible() and tabsPerRow() to
// MainTab when layoutChanged() is emitted.

#include "PagesContext.h"

#include <QObject>
#include <QString>

namespace dunmere {

class AccessLevels final : public QObject {
    Q_OBJECT
public:
    // settingsPath: config.ini, where the locks are stored.
    AccessLevels(PagesContext& ctx, QString settingsPath, QObject* parent = nullptr);
    AccessLevels(const AccessLevels&) = delete;
    AccessLevels& operator=(const AccessLevels&) = delete;

    static inline const QString FullLevelCode = QStringLiteral("8251");
    static inline const QString UpgradeLevelCode = QStringLiteral("6049");

    // Key(i): the digit i + 1, Key(9) the digit 0.
    void pressKey(int i);
    void logOut();

    [[nodiscard]] bool advancedTabVisible() const { return advancedTab_; }
    [[nodiscard]] int tabsPerRow() const { return tabsPerRow_; }
    [[nodiscard]] bool fullLevel() const { return !ctx_.model.visible(QStringLiteral("FramePW")); }

    // The configuration lock holds while chkDisableConfig is ticked and hidden.
    [[nodiscard]] bool configurationLocked() const;
    // Start-up: the stored DisableConfig ticks the box.
    void setStoredConfigurationLock(bool on);
    // Clicks on the two lock boxes: store the new tick (the page entry is re-run by the
    // main window on pageEntryRerun()).
    void configurationLockClicked(bool ticked);
    void calibrationLockClicked(bool ticked);

    // Asks whether to reset; Yes returns true, disables BtnFactoryReset and the caller sets
    // FactoryResetRequest.
    [[nodiscard]] bool askFactoryReset();

signals:
    void layoutChanged();
    void pageEntryRerun();

private:
    void applyFullLevel();
    void applyUpgradeLevel();
    void applyWrongCode();
    void setAdvancedTab(bool visible, int tabsPerRow);
    [[nodiscard]] QString invalidCodeText() const;

    PagesContext& ctx_;
    QString settingsPath_;
    QString entered_;
    int digits_ = 0;
    bool advancedTab_ = false;
    int tabsPerRow_ = 3;
};

// Factory reset of a type-89 sensor: "P" + 0x16 + identity, then the stored-configuration
// check. Reports the outcome in the message window; true when confirmed.
bool RunFactoryReset(PagesContext& ctx);

}  // namespace dunmere
