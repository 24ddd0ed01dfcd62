#include "FirmwareGroup.h"

#include "PageControls.h"
#include "sensor/SensorRecord.h"

namespace dunmere {

FirmwareGroup::FirmwareGroup(PagesContext& ctx) : ctx_(ctx), upgrade_(ctx.link, ctx.texts, *this) {}

FirmwareGroup::~FirmwareGroup() = default;

void FirmwareGroup::setLongRunningButtons(bool on)
{
    // UploadButton too: a restore between two blocks would talk to a sensor half upgraded.
    EnableControls(ctx_.model,
                   {"CmdOutputTest", "CmdLogOut_0", "CmdLogOut_1", "cmdAutoCal", "cmdFactoryUpdate", "CmdCoeffUpdate",
                    "cmdAir", "cmdWater", "CmdDownload", "UploadButton"},
                   on);
    EnableControls(ctx_.model, {"cmdResonator"}, on && !ctx_.demonstration);
}

void FirmwareGroup::upgradeClicked() { setLongRunningButtons(false); }

void FirmwareGroup::cancelClicked()
{
    upgrade_.cancel();
    ctx_.model.hide(QStringLiteral("CmdUpgradeCancel"));
}

void FirmwareGroup::keepButtonsOff()
{
    if (running())
        setLongRunningButtons(false);
}

QString FirmwareGroup::chooseFile() { return dialogs_ ? upgrade_.ChooseFirmwareFile(*dialogs_) : QString(); }

bool FirmwareGroup::serve(const QString& fileName)
{
    SensorRecord record;
    record.FirmwareText = ctx_.sensor.firmwareText;
    record.TypeCode = ctx_.sensor.typeCode;
    record.FirmwareVersion = ctx_.sensor.firmwareVersion;
    const UpgradeResult result = upgrade_.SelectFirmwareImage(fileName, record, ctx_.sensor.address, ctx_.editionType);
    if (result.succeeded) {
        ctx_.sensor.firmwareText = record.FirmwareText;
        ctx_.sensor.typeCode = record.TypeCode;
        ctx_.sensor.firmwareVersion = record.FirmwareVersion;
        ctx_.model.setText(QStringLiteral("LblVersionNumber"), record.FirmwareText + QLatin1Char(' '));
        ctx_.model.setText(QStringLiteral("LblChecksum"), result.checksum);
    }
    setLongRunningButtons(true);
    return result.succeeded;
}

void FirmwareGroup::status(const QString& text) { ctx_.model.setText(QStringLiteral("LblUpgradeStatus"), text); }

void FirmwareGroup::sending(bool on)
{
    ControlModel& m = ctx_.model;
    m.setVisible(QStringLiteral("CmdUpgradeCancel"), on);
    m.setEnabled(QStringLiteral("CmdUpgradeCancel"), on);
    // A log-out during the transfer took the upgrade level away: the button stays hidden.
    const bool upgradeLevel = m.visible(QStringLiteral("CmdLogOut_0")) || !m.visible(QStringLiteral("FramePW"));
    m.setVisible(QStringLiteral("CmdUpgrade"), !on && upgradeLevel);
    m.setEnabled(QStringLiteral("CmdUpgrade"), !on);
}

bool FirmwareGroup::askRestore(const QList<ConfigurationChange>& changes)
{
    if (!ctx_.messages || ctx_.closing())
        return false;
    QString text = ctx_.tr("LangConfiguration") + QStringLiteral(" (") + ctx_.tr("LangUpgrade") + QStringLiteral("):");
    bool restorable = false;
    for (const ConfigurationChange& change : changes) {
        text += QStringLiteral("\n") + KeptConfiguration::describe(change);
        restorable = restorable || change.restorable;
    }
    if (!restorable) {
        ctx_.messages->show(text, MessageButtons::Ok);
        return false;
    }
    text += QStringLiteral("\n\n") + ctx_.tr("LangWrite") + QLatin1Char(' ') + ctx_.tr("LangExisting") + QLatin1Char(' ')
            + ctx_.tr("LangConfiguration") + QStringLiteral("? ") + ctx_.tr("LangConfirmation");
    return ctx_.messages->show(text, MessageButtons::YesNo);
}

}  // namespace dunmere
