#include "AccessLevels.h"

#include "ConfigurationSnapshotCheck.h"
#include "DiagnosticsProcedures.h"
#include "link/Settings.h"

namespace dunmere {

namespace {

const QString Settings = QStringLiteral("Settings");

}  // namespace

AccessLevels::AccessLevels(PagesContext& ctx, QString settingsPath, QObject* parent)
    : QObject(parent), ctx_(ctx), settingsPath_(std::move(settingsPath))
{
}

QString AccessLevels::invalidCodeText() const
{
    return ctx_.tr("LangPassword") + QLatin1Char(' ') + ctx_.tr("LangInvalid");
}

void AccessLevels::pressKey(int i)
{
    ControlModel& m = ctx_.model;
    const QString label = QStringLiteral("LblPW");
    const int digit = i == 9 ? 0 : i + 1;
    if (m.text(label) == invalidCodeText())
        m.setText(label, QString());
    entered_ += QString::number(digit);
    m.setText(label, m.text(label) + QLatin1Char('*'));
    if (++digits_ < 4)
        return;
    if (entered_ == FullLevelCode)
        applyFullLevel();
    else if (entered_ == UpgradeLevelCode)
        applyUpgradeLevel();
    else
        applyWrongCode();
    digits_ = 0;
    entered_.clear();
}

void AccessLevels::applyFullLevel()
{
    ControlModel& m = ctx_.model;
    m.hide(QStringLiteral("FramePW"));
    m.setText(QStringLiteral("LblPW"), QString());
    m.setVisible({"CmdLogOut_0", "CmdUpgrade", "chkDisableConfig", "cmdEASettings"}, true);
    m.setVisible(QStringLiteral("cmdResonator"), !ctx_.demonstration);
    for (const char* box : {"LblUpgradeStatus", "TextWaterFreq", "TextAirFreq", "TextWaterAmp", "TextAirAmp"})
        m.setText(QString::fromLatin1(box), QString());
    setAdvancedTab(true, 4);
}

void AccessLevels::applyUpgradeLevel()
{
    ControlModel& m = ctx_.model;
    m.show(QStringLiteral("FramePW"));
    m.setText(QStringLiteral("LblPW"), QString());
    m.setVisible({"CmdLogOut_0", "CmdUpgrade"}, true);
    m.setVisible({"chkDisableConfig", "cmdEASettings"}, false);
    setAdvancedTab(false, 3);
}

void AccessLevels::applyWrongCode()
{
    ControlModel& m = ctx_.model;
    m.setText(QStringLiteral("LblPW"), invalidCodeText());
    m.setVisible({"CmdUpgrade", "chkDisableConfig", "cmdEASettings"}, false);
    setAdvancedTab(false, 3);
}

void AccessLevels::logOut()
{
    ControlModel& m = ctx_.model;
    m.show(QStringLiteral("FramePW"));
    digits_ = 0;
    entered_.clear();
    m.setText(QStringLiteral("LblPW"), QString());
    m.setVisible({"cmdResonator", "CmdLogOut_0", "chkDisableConfig", "cmdEASettings", "CmdUpgrade"}, false);
    setAdvancedTab(false, 3);
}

void AccessLevels::setAdvancedTab(bool visible, int tabsPerRow)
{
    advancedTab_ = visible;
    tabsPerRow_ = tabsPerRow;
    emit layoutChanged();
}

bool AccessLevels::configurationLocked() const
{
    const QString box = QStringLiteral("chkDisableConfig");
    return ctx_.model.checked(box) && !ctx_.model.visible(box);
}

void AccessLevels::setStoredConfigurationLock(bool on)
{
    ctx_.model.setChecked(QStringLiteral("chkDisableConfig"), on);
}

void AccessLevels::configurationLockClicked(bool ticked)
{
    ctx_.model.setChecked(QStringLiteral("chkDisableConfig"), ticked);
    emit pageEntryRerun();
    WriteSetting(Settings, QStringLiteral("DisableConfig"), ticked ? QStringLiteral("1") : QStringLiteral("0"),
                 settingsPath_);
}

void AccessLevels::calibrationLockClicked(bool ticked)
{
    ctx_.model.setChecked(QStringLiteral("chkDisableCalib"), ticked);
    emit pageEntryRerun();
    WriteSetting(Settings, QStringLiteral("DisableCalib"), ticked ? QStringLiteral("1") : QStringLiteral("0"),
                 settingsPath_);
}

bool AccessLevels::askFactoryReset()
{
    if (!ctx_.messages || ctx_.closing())
        return false;
    const bool yes = ctx_.messages->show(ctx_.tr("LangFactoryReset") + QStringLiteral(". ") + ctx_.tr("LangConfirmation"),
                                         MessageButtons::YesNo);
    if (yes)
        ctx_.model.setEnabled(QStringLiteral("BtnFactoryReset"), false);
    return yes;
}

bool RunFactoryReset(PagesContext& ctx)
{
    const QString reply = ctx.link.SendCommand(ctx.sensor.address, PCommand(0x16) + ctx.sensor.identity);
    if (reply != QStringLiteral("!") || !StoreAndVerifyConfiguration(ctx, true)) {
        ctx.message(ctx.tr("LangCommsError"));
        return false;
    }
    ctx.message(ctx.tr("LangSensor") + QLatin1Char(' ') + ctx.tr("LangConfiguration") + QLatin1Char(' ')
                + ctx.tr("LangWritten"));
    return true;
}

}  // namespace dunmere
