#include "ConfigurationFilePage.h"

#include "SensorTypeAdaptation.h"
#include "configfile/ConfigurationTransfer.h"
#include "link/DataFolder.h"
#include "link/FileDialogs.h"

namespace dunmere {

namespace {

const QString Filter = QStringLiteral("(*.txt)|*.txt");

class BarReport final : public TransferReport {
public:
    BarReport(ControlModel& model, QString bar) : model_(model), bar_(std::move(bar)) {}
    void progress(int percent) override { model_.setValue(bar_, percent); }

private:
    ControlModel& model_;
    QString bar_;
};

class BusyScope {
public:
    explicit BusyScope(const ConfigurationFileHost& host) : host_(host) { set(true); }
    ~BusyScope() { set(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    void set(bool on) const
    {
        if (host_.busy)
            host_.busy(on);
    }
    const ConfigurationFileHost& host_;
};

SavedSensor savedSensor(const PagesContext& ctx)
{
    return {ctx.sensor.address, ctx.sensor.identity, ctx.sensor.name, ctx.sensor.firmwareText, ctx.sensor.typeCode};
}

bool offersAnySmoothing(const PagesContext& ctx)
{
    return ctx.model.state(QStringLiteral("ListSmoothTime")).items.contains(QStringLiteral("Any"));
}

void showButtonsAgain(ControlModel& m, const char* bar)
{
    m.setEnabled(QStringLiteral("CmdDownload"), true);
    m.setValue(QString::fromLatin1(bar), 0);
    m.setVisible({"UploadButton", "CmdDownload"}, true);
    m.hide(QString::fromLatin1(bar));
}

}  // namespace

void DownloadClicked(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    m.setValue(QStringLiteral("ProgressBar1"), 0);
    m.show(QStringLiteral("ProgressBar1"));
    m.setEnabled(QStringLiteral("CmdDownload"), false);
    m.setVisible({"CmdDownload", "UploadButton"}, false);
}

void UploadClicked(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    m.setVisible({"UploadButton", "CmdDownload"}, false);
    m.setValue(QStringLiteral("UploadProgress"), 0);
    m.show(QStringLiteral("UploadProgress"));
}

void SaveConfigurationFromPage(PagesContext& ctx, const ConfigurationFileHost& host)
{
    const QString path = host.dialogs ? host.dialogs->saveFile(DocumentsFolder(), ctx.sensor.identity + QStringLiteral(".txt"), Filter)
                                      : QString();
    if (!path.isEmpty()) {
        BusyScope busy(host);
        BarReport bar(ctx.model, QStringLiteral("ProgressBar1"));
        TransferEnvironment env{ctx.link, ctx.texts, host.languageNumber ? host.languageNumber() : 0, host.languageFile,
                                ctx.messages, &bar};
        const auto adapt = [&ctx] {
            AdaptPagesToSensorType(ctx);
            return SensorLayout{ctx.type.BrixSelected, offersAnySmoothing(ctx)};
        };
        SaveSensorConfiguration(env, savedSensor(ctx), path, adapt, ConfigurationTimestamp());
    }
    showButtonsAgain(ctx.model, "ProgressBar1");
}

void RestoreConfigurationFromPage(PagesContext& ctx, const ConfigurationFileHost& host)
{
    const QString path = host.dialogs ? host.dialogs->openFile(DocumentsFolder(), Filter) : QString();
    if (!path.isEmpty()) {
        BusyScope busy(host);
        BarReport bar(ctx.model, QStringLiteral("UploadProgress"));
        TransferEnvironment env{ctx.link, ctx.texts, host.languageNumber ? host.languageNumber() : 0, host.languageFile,
                                ctx.messages, &bar};
        const RestoreCheck check{savedSensor(ctx), offersAnySmoothing(ctx)};
        RestoreSensorConfiguration(env, ctx.sensor.address, path, check);
    }
    showButtonsAgain(ctx.model, "UploadProgress");
}

}  // namespace dunmere
