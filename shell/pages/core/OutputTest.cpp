#include "OutputTest.h"

#include "DiagnosticsProcedures.h"
#include "sensor/FixedPoint.h"

namespace dunmere {

namespace {

constexpr int OutputReplyTimeoutMs = 1000;
constexpr int QuickValues[3] = {0, 512, 2560};

constexpr std::initializer_list<const char*> secondOutputControls = {
    "SlidermA_1", "LblCurrent_1", "CmdmA_3", "CmdmA_4", "CmdmA_5", "FrameIntCurrent_1"};

void sendRaw(PagesContext& ctx, const char* prefix, int raw)
{
    ctx.link.Net_Send(ctx.sensor.address, 1, QString::fromLatin1(prefix) + QString::number(raw));
    int address = -1, frameCode = -1;
    QString reply;
    ctx.link.Net_Receive(OutputReplyTimeoutMs, address, frameCode, reply);
}

QString testCaption(const PagesContext& ctx)
{
    return ctx.tr("LangAnalogue") + QLatin1Char(' ') + ctx.tr("LangOutput") + QLatin1Char(' ') + ctx.tr("LangTest");
}

}  // namespace

QString OutputCurrentText(int raw)
{
    return FormatDecimals(raw * 32.0 / 4096.0, 2);
}

bool HasSecondAnalogueOutput(const PagesContext& ctx)
{
    return ctx.model.visible(QStringLiteral("ListOPVar2"));
}

void OpenOutputTest(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    m.setVisible({"CmdDownload", "UploadButton"}, false);
    m.setText(QStringLiteral("CmdOutputTest"), ctx.tr("LangExit"));
    m.setValue(QStringLiteral("SlidermA_0"), 0);
    m.setValue(QStringLiteral("SlidermA_1"), 0);
    m.setText(QStringLiteral("LblCurrent_0"), QString());
    m.setText(QStringLiteral("LblCurrent_1"), QString());
    m.show(QStringLiteral("FrameInterface"));
    m.hide(QStringLiteral("cmdResonator"));
    m.setVisible(secondOutputControls, HasSecondAnalogueOutput(ctx));
}

void CloseOutputTest(PagesContext& ctx, bool fullLevel)
{
    ControlModel& m = ctx.model;
    m.setVisible({"CmdDownload", "UploadButton"}, true);
    m.setText(QStringLiteral("CmdOutputTest"), testCaption(ctx));
    m.hide(QStringLiteral("FrameInterface"));
    if (fullLevel && !ctx.demonstration)
        m.show(QStringLiteral("cmdResonator"));
}

void QuickOutputSetting(PagesContext& ctx, int i)
{
    if (i < 0 || i > 5)
        return;
    ctx.model.setValue(i < 3 ? QStringLiteral("SlidermA_0") : QStringLiteral("SlidermA_1"), QuickValues[i % 3]);
}

void SendOutputValues(PagesContext& ctx, int raw1, int raw2, bool secondOutput)
{
    ControlModel& m = ctx.model;
    m.setText(QStringLiteral("LblCurrent_0"), OutputCurrentText(raw1));
    (void)ctx.link.SendCommand(ctx.sensor.address, PCommand(0x10));
    sendRaw(ctx, "W31 ", raw1);
    if (!secondOutput)
        return;
    m.setText(QStringLiteral("LblCurrent_1"), OutputCurrentText(raw2));
    sendRaw(ctx, "W37 ", raw2);
}

void RunOutputTestStep(PagesContext& ctx)
{
    const ControlModel& m = ctx.model;
    SendOutputValues(ctx, m.value(QStringLiteral("SlidermA_0")), m.value(QStringLiteral("SlidermA_1")),
                     HasSecondAnalogueOutput(ctx));
}

}  // namespace dunmere
