#include "SensorTypeAdaptation.h"

#include "OutputVariables.h"
#include "link/ValueFormat.h"
#include "sensor/SensorRecord.h"

namespace dunmere {

namespace {

constexpr int SetupReplyTimeoutMs = 4000;

bool isOneOf(int value, std::initializer_list<int> set)
{
    return std::find(set.begin(), set.end(), value) != set.end();
}

// A reply with a value: neither "?" (the sensor lacks it) nor silence.
bool answered(const QString& reply)
{
    return !reply.isEmpty() && reply != QStringLiteral("?") && reply != FailureText;
}

QString exchangeOnce(PagesContext& ctx, const QString& command, int timeoutMs)
{
    ctx.link.Net_Send(ctx.sensor.address, 1, command);
    int address = -1, frameCode = -1;
    QString reply = FailureText;
    ctx.link.Net_Receive(timeoutMs, address, frameCode, reply);
    return reply;
}

// The second-channel controls of all three pages.
constexpr std::initializer_list<const char*> secondChannelControls = {
    "ListDSP", "lblDSP", "lblSensorTypeLabel", "lblSensorType",
    "lblDiagFrequency", "lblDiagAmplitude", "LblElecAmpCoeff", "LblResAmpCoeff", "LblMatAmpCoeff",
    "lblAdvFrequency", "lblAdvAmplitude", "lblAdvElecAmpCoeff", "lblAdvResAmpCoeff", "lblAdvMatAmpCoeff",
    "TextElecAmpCoeff", "TextResAmpCoeff", "TextMatAmpCoeff", "lblAdvLowAmp", "lblAdvHighAmp",
    "lblAdvFactorySettingsFrequency", "lblAdvFactorySettingsAmplitude", "LblDiagLowAmp", "LblDiagHighAmp",
    "lblDiagFactorySettingsFrequency", "lblDiagFactorySettingsAmplitude", "TextAirAmp", "TextWaterAmp",
    "FrameMeasurementMode"};

void adaptSecondChannel(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    if (!HasSecondChannel(ctx.sensor.typeCode)) {
        m.setItems(QStringLiteral("ListDSP"), {});
        m.setVisible(secondChannelControls, false);
        return;
    }
    ctx.type.SecondChannel = true;
    m.setVisible(secondChannelControls, true);
    // The filter list is emptied for other types; a sensor selected after one of them needs
    // its items back, or its filter setting could neither be shown nor written.
    if (m.itemCount(QStringLiteral("ListDSP")) == 0)
        m.setItems(QStringLiteral("ListDSP"), FilterItems(ctx.texts));
    const QString kind = ReadSensorKind(ctx);
    if (!kind.isEmpty())
        m.setText(QStringLiteral("lblSensorType"), kind);
}

void adaptValidRange(PagesContext& ctx)
{
    const int type = ctx.sensor.typeCode;
    if (type == 45) {
        ctx.model.setVisible({"LblHighLimit", "LblLowLimit", "LblValidMoisture", "LblValidUS", "TextHighUS",
                              "TextLowUS", "TextHighPercent", "TextLowPercent"},
                             false);
    } else if (type == 29) {
        ctx.model.setVisible({"LblValidUS", "TextHighUS", "TextLowUS"}, false);
    } else {
        ctx.model.setVisible({"LblHighLimit", "LblLowLimit", "LblValidMoisture", "LblValidUS", "TextHighUS",
                              "TextLowUS", "TextHighPercent", "TextLowPercent"},
                             true);
    }
}

bool offersAnySmoothing(int type, double version)
{
    return (type == 45 && version > 1.55) || (isOneOf(type, {46, 47}) && version > 1.26)
           || (isOneOf(type, {63, 70}) && version > 2) || HasSecondChannel(type);
}

void refillSmoothing(PagesContext& ctx)
{
    ctx.type.ListRefill = true;
    QStringList items = SmoothingItems();
    if (offersAnySmoothing(ctx.sensor.typeCode, ctx.sensor.firmwareVersion))
        items << AnySmoothingItem;
    ctx.model.setItems(QStringLiteral("ListSmoothTime"), items);
    ctx.type.ListRefill = false;
}

void adaptAutoCalFrame(PagesContext& ctx)
{
    const bool available = ctx.sensor.autoCalSeen
                           || exchangeOnce(ctx, QStringLiteral("A 4"), SetupReplyTimeoutMs) == QStringLiteral("0");
    ctx.model.setVisible(QStringLiteral("FrameAutoCal"), available);
}

void adaptArmTypeFrame(PagesContext& ctx)
{
    bool shown = false;
    if (isOneOf(ctx.sensor.typeCode, {63, 77, 89}))
        shown = answered(exchangeOnce(ctx, QStringLiteral("R 79"), SetupReplyTimeoutMs));
    ctx.model.setVisible(QStringLiteral("FrameCorraneArmType"), shown);
}

}  // namespace

bool HasSecondOutput(int typeCode)
{
    return isOneOf(typeCode, {63, 70, 77, 89});
}

QString ReadSensorKind(PagesContext& ctx)
{
    const int address = ctx.sensor.address;
    const bool brixEdition = ctx.editionType == 1;
    const auto first = HardwareKindOfFirstReading(ParseIndex(ctx.link.ReadParameter(address, 78), 255), brixEdition);
    const auto wide = HardwareKindOf(ParseIndex(ctx.link.ReadParameter(address, 78), 2048), brixEdition);
    QString kind;
    for (const auto& reading : {first, wide}) {
        if (!reading)
            continue;
        kind = reading->text;
        if (reading->brixSelected)
            ctx.type.BrixSelected = true;
    }
    return kind;
}

void ShowCoefficientRow(PagesContext& ctx)
{
    const bool brix = ctx.type.BrixSelected;
    ctx.model.setVisible({"TextBrixA", "TextBrixB", "TextBrixC", "TextBrixD", "LblBrix", "LblACal", "LblBCal"}, brix);
    ctx.model.setVisible({"TextMA", "TextMB", "TextMC", "TextMSSD", "LblM", "QuiLabel1", "QuiLabel2"}, !brix);
    ctx.model.setText(QStringLiteral("LblSSDCal"), brix ? QStringLiteral("D") : QStringLiteral("S.S.D %"));
}

void RefillOutputVariableLists(PagesContext& ctx)
{
    const QStringList items = OutputVariableItems(ctx.texts, ctx.type.SecondChannel, ctx.type.BrixAvailable);
    ctx.model.setItems(QStringLiteral("ListOPVar1"), items);
    ctx.model.setItems(QStringLiteral("ListOPVar2"), items);
}

void FillConfigurationLists(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    const TextSource& x = ctx.texts;
    if (m.visible(QStringLiteral("ListDSP")))
        m.setItems(QStringLiteral("ListDSP"), FilterItems(x));
    m.setItems(QStringLiteral("ListSlewPlus"), SlewItems(x));
    m.setItems(QStringLiteral("ListSlewMinus"), SlewItems(x));
    m.setItems(QStringLiteral("ListAvgHold"), AverageHoldItems());
    m.setItems(QStringLiteral("ListIP1"), Input1Items(x));
    m.setItems(QStringLiteral("ListIP2"), Input2Items(x));
    m.setItems(QStringLiteral("ListOPType"), OutputTypeItems(x));
    m.setItems(QStringLiteral("cbAdvMeasurementMode"), MeasurementModeItems(x));
    m.setItems(QStringLiteral("cbAdvMeasurementMode2"), MeasurementModeItems(x));
    m.setItems(QStringLiteral("CBAveragingMode"), AveragingModeItems(x));
    m.setItems(QStringLiteral("cbCorraneArmType"), ArmTypeItems(x));
    if (m.itemCount(QStringLiteral("ListSmoothTime")) == 0)
        m.setItems(QStringLiteral("ListSmoothTime"), SmoothingItems());
    RefillOutputVariableLists(ctx);
}

void AdaptPagesToSensorType(PagesContext& ctx)
{
    const int type = ctx.sensor.typeCode;
    ControlModel& m = ctx.model;
    ctx.type.CurrentTypeCode = type;
    ctx.type.SecondChannel = false;
    ctx.type.BrixAvailable = isOneOf(type, {48, 70});
    // Only a sensor that answers has Brix coefficients; silence must not offer them.
    if (HasSecondChannel(type) && answered(ctx.link.ReadParameter(ctx.sensor.address, 25)))
        ctx.type.BrixAvailable = true;

    const bool secondOutput = HasSecondOutput(type);
    m.setVisible(QStringLiteral("ListOPVar2"), secondOutput);
    m.setEnabled(QStringLiteral("ListOPVar2"), secondOutput);
    m.setVisible(QStringLiteral("LblOPVar2"), secondOutput);
    if (ctx.editionType == 1)
        ctx.type.BrixAvailable = true;

    adaptSecondChannel(ctx);

    const bool secondInput = !isOneOf(type, {29, 45});
    m.setVisible({"ListIP2", "LblIP2"}, secondInput);
    m.setEnabled(QStringLiteral("ListIP2"), secondInput);

    adaptValidRange(ctx);
    refillSmoothing(ctx);
    adaptAutoCalFrame(ctx);
    adaptArmTypeFrame(ctx);
    RefillOutputVariableLists(ctx);
    ShowCoefficientRow(ctx);
}

}  // namespace dunmere
