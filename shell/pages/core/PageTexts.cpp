#include "PageTexts.h"

#include "OutputVariables.h"
#include "sensor/FixedPoint.h"
#include "SensorTypeAdaptation.h"

#include <utility>

namespace dunmere {

namespace {

struct Caption {
    const char* control;
    std::initializer_list<const char*> parts;  // keys ("Lang...") and fixed texts, joined as they stand
};

QString compose(const PagesContext& ctx, std::initializer_list<const char*> parts)
{
    QString text;
    for (const char* part : parts) {
        const QString p = QString::fromUtf8(part);
        text += p.startsWith(QStringLiteral("Lang")) ? ctx.texts.text(p) : p;
    }
    return text;
}

const Caption captions[] = {
    {"CmdConfigWrite", {"LangWrite"}},
    {"CmdCalibrate", {"LangCalibration"}},
    {"FrameMatCal", {"LangMatCal"}},
    {"LblM", {"LangMoisture", " %"}},
    {"LblBrix", {"Brix"}},
    {"FrameSigProc", {"LangSigProc"}},
    {"LblSmoothTime", {"LangSmoothTime"}},
    {"LblSlewPlus", {"LangSlew", " +"}},
    {"LblSlewMinus", {"LangSlew", " -"}},
    {"FrameInput", {"LangDigital", " ", "LangInput", "/", "LangOutput"}},
    {"LblIP1", {"LangIP1"}},
    {"LblIP2", {"LangIP2"}},
    {"FrameOutput", {"LangAnalogue", " ", "LangOutput"}},
    {"LblOPType", {"LangOPType"}},
    {"LblOPVar1", {"LangOPVar", " 1"}},
    {"LblOPVar2", {"LangOPVar", " 2"}},
    {"FrameValidRange", {"LangAveraging"}},
    {"LblAvgHold", {"LangAvgHold", " ", "LangDelay"}},
    {"LblHighLimit", {"LangHigh", " ", "LangLimit"}},
    {"LblLowLimit", {"LangLow", " ", "LangLimit"}},
    {"LblValidMoisture", {"LangMoisture", " %"}},
    {"LblValidUS", {"LangUnscaled"}},
    {"lblDSP", {"LangDigitalSignalProcessing"}},
    {"FrameTemp", {"LangTemperature"}},
    {"LblTempElec", {"LangElectronic"}},
    {"LblTempRes", {"LangResonator"}},
    {"lblTempMat", {"LangMaterial"}},
    {"FrameTempEx", {"LangTemperature", " ", "LangExtremes"}},
    {"LblTempMax", {"LangMax"}},
    {"LblTempMin", {"LangMin"}},
    {"FrameTempComp", {"LangTempComp", " ", "LangCoeff"}},
    {"LblTempElecCo", {"LangElectronic"}},
    {"LblTempResCo", {"LangResonator"}},
    {"LblTempMatCo", {"LangMaterial"}},
    {"FrameFreq", {"LangFreqAndAmp"}},
    {"LblUncomp", {"LangUncompFreq"}},
    {"LblAmp", {"LangAmp"}},
    {"FrameInterface", {"LangOutput", " ", "LangTest"}},
    {"FrameIntCurrent_0", {"LangCurrent"}},
    {"FrameIntCurrent_1", {"LangCurrent"}},
    {"FrameStatus", {"LangStatus"}},
    {"LblStatus_0", {"LangStatus0a"}},
    {"LblStatus_3", {"LangStatus4"}},
    {"LblStatus_4", {"LangStatus5"}},
    {"LblStatus_5", {"LangStatus6"}},
    {"LblStatus_6", {"LangStatus7"}},
    {"FrameFirmware", {"LangFirmware"}},
    {"LblFirmVersion", {"LangVersion"}},
    {"LblFirmChecksum", {"LangChecksum"}},
    {"CmdUpgrade", {"LangUpgrade"}},
    {"CmdUpgradeCancel", {"LangCancel"}},
    {"FrameFactory", {"LangFactory"}},
    {"LblFactHigh", {"LangAir"}},
    {"LblFactLow", {"LangWater"}},
    {"lblDiagFactorySettingsFrequency", {"LangFrequency"}},
    {"lblDiagFactorySettingsAmplitude", {"LangAmplitude"}},
    {"lblSensorTypeLabel", {"LangSensorType"}},
    {"lblDiagAmplitude", {"LangAmplitude"}},
    {"lblDiagFrequency", {"LangFrequency"}},
    {"FrameAdvFactory", {"LangFactory"}},
    {"lblAdvAir", {"LangAir"}},
    {"lblAdvWater", {"LangWater"}},
    {"lblAdvFactorySettingsAmplitude", {"LangAmplitude"}},
    {"lblAdvFactorySettingsFrequency", {"LangFrequency"}},
    {"cmdWater", {"LangWater"}},
    {"cmdAir", {"LangAir"}},
    {"cmdFactoryUpdate", {"LangUpdate"}},
    {"FrameAdvTempComp", {"LangTempComp", " ", "LangCoeff"}},
    {"lblAdvFrequency", {"LangFrequency"}},
    {"lblAdvAmplitude", {"LangAmplitude"}},
    {"lblAdvElectronic", {"LangElectronic"}},
    {"lblAdvResonator", {"LangResonator"}},
    {"lblAdvMaterial", {"LangMaterial"}},
    {"LblElecTempCoeff", {"LangElectronic"}},
    {"LblResTempCoeff", {"LangResonator"}},
    {"LblMatTempCoeff", {"LangMaterial"}},
    {"CmdCoeffUpdate", {"LangUpdate"}},
    {"FrameAutoCal", {"LangAutoCal"}},
    {"cmdAutoCal", {"LangAutoCal"}},
    {"FramePW", {"LangPassword"}},
    {"CmdLogOut_0", {"LangLogOut"}},
    {"CmdLogOut_1", {"LangLogOut"}},
    {"CmdDownload", {"LangDownload"}},
    {"UploadButton", {"LangUpload"}},
    {"cmdResonator", {"LangResonator"}},
    {"cmdWriteCorraneArmType", {"LangWrite"}},
    {"cmdMeasurementModeWrite", {"LangWrite"}},
    {"cmdMeasurementModeWrite2", {"LangWrite"}},
    {"BtnWriteAveragingMode", {"LangWrite"}},
    {"lblAveragingMode", {"LangAveraging"}},
    {"BtnFactoryReset", {"LangFactoryResetBtn"}},
    {"FrameEthernetAdapter", {"LangEthernetAdapter"}},
    {"lblEAIPAddressDiag", {"LangIPAddress"}},
    {"lblEAPortNumDiag", {"LangPortNumber"}},
    {"lblEALocalIPAddressDiag", {"LangLocalIP"}},
    {"cmdEADiagnostics", {"LangDiagnostics"}},
    {"cmdEASettings", {"LangSetup"}},
    {"FrameSecuritySettings", {"LangSecuritySettings"}},
    {"chkDisableConfig", {"LangDisableConfigurationEdits"}},
    {"chkDisableCalib", {"LangDisableCalibrationPage"}},
    {"FrameCorraneArmType", {"LangCorraneArmType"}},
    {"FrameMeasurementMode", {"LangMeasurementMode"}},
};

}  // namespace

void ApplyPageTexts(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    for (const Caption& c : captions)
        m.setText(QString::fromLatin1(c.control), compose(ctx, c.parts));
    const bool brix = ctx.editionType == 1;
    m.setText(QStringLiteral("LblOutHigh"), compose(ctx, {"LangHigh"}) + (brix ? QStringLiteral(" Brix") : QStringLiteral(" %")));
    m.setText(QStringLiteral("LblOutLow"), compose(ctx, {"LangLow"}) + (brix ? QStringLiteral(" Brix") : QStringLiteral(" %")));
    // The output test's button reads "Exit" while the test is open.
    if (!m.visible(QStringLiteral("FrameInterface")))
        m.setText(QStringLiteral("CmdOutputTest"), compose(ctx, {"LangAnalogue", " ", "LangOutput", " ", "LangTest"}));
    else
        m.setText(QStringLiteral("CmdOutputTest"), compose(ctx, {"LangExit"}));
    FillConfigurationLists(ctx);
}

void ApplyEditionLayout(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    if (ctx.editionType == 1) {
        m.setVisible({"TextBrixA", "TextBrixB", "TextBrixC", "TextBrixD"}, true);
        m.setText(QStringLiteral("LblSSDCal"), QStringLiteral("D"));
        m.setVisible({"QuiLabel1", "QuiLabel2", "LblM", "TextMA", "TextMB", "TextMC", "TextMSSD"}, false);
        m.setText(QStringLiteral("LblValidMoisture"), QStringLiteral("Brix"));
        return;
    }
    m.setVisible({"TextBrixA", "TextBrixB", "TextBrixC", "TextBrixD", "LblBrix", "LblACal", "LblBCal"}, false);
    m.setVisible({"QuiLabel1", "QuiLabel2"}, true);
}

void ShowPageDemonstrationValues(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    const bool brix = ctx.editionType == 1;
    m.setEnabled({"CmdConfigWrite", "CmdOutputTest", "cmdWater", "cmdAir", "cmdFactoryUpdate", "CmdUpgrade",
                  "CmdCoeffUpdate", "FrameAutoCal"},
                 false);
    m.setText(QStringLiteral("LblNameConfig"), QStringLiteral("DEMO"));
    m.setText(QStringLiteral("LblSSDCal"), brix ? QStringLiteral("D") : QStringLiteral("S.S.D"));
    const std::pair<const char*, QString> boxes[] = {
        {"TextMA", FormatDecimals(0, 2)},         {"TextMB", FormatDecimals(0.2857, 4)},  {"TextMC", FormatDecimals(-4, 1)},
        {"TextMSSD", QStringLiteral("0")},     {"TextBrixA", FormatDecimals(101, 4)},  {"TextBrixB", FormatDecimals(0.15, 4)},
        {"TextBrixC", FormatDecimals(0.17, 4)},   {"TextBrixD", FormatDecimals(-2.5, 4)}, {"TextIOHigh", FormatDecimals(20, 1)},
        {"TextIOLow", FormatDecimals(0, 1)},      {"TextHighPercent", FormatDecimals(30, 1)},
        {"TextLowPercent", FormatDecimals(0, 1)}, {"TextHighUS", FormatDecimals(100, 1)}, {"TextLowUS", FormatDecimals(0, 1)},
    };
    for (const auto& [box, text] : boxes)
        m.setText(QString::fromLatin1(box), text);
    m.setVisible(QStringLiteral("LblBrix"), brix);
    m.setVisible(QStringLiteral("LblM"), !brix);
    m.setItems(QStringLiteral("ListOPVar1"), OutputVariableItems(ctx.texts, false, true));
    m.setItems(QStringLiteral("ListIP1"), Input1Items(ctx.texts));
    m.setItems(QStringLiteral("ListSmoothTime"), SmoothingItems());
    for (const char* list : {"ListOPType", "ListOPVar1", "ListOPVar2", "ListIP1", "ListIP2", "ListAvgHold",
                             "ListSmoothTime", "ListSlewPlus", "ListSlewMinus"})
        m.setIndex(QString::fromLatin1(list), 0);
    m.setText(QStringLiteral("LblNameDiag"), QStringLiteral("DEMO"));
    m.hide(QStringLiteral("cmdResonator"));
    m.setText(QStringLiteral("LblUncompFreq"), FormatDecimals(0, 2));
    m.setText(QStringLiteral("LblUncompAmp"), FormatDecimals(0, 0));
    for (const char* label : {"LblElecTemp", "LblResTemp", "LblMatTemp", "LblMinTemp", "LblMaxTemp"})
        m.setText(QString::fromLatin1(label), FormatDecimals(22, 1));
    for (const char* label : {"LblElecFreqCoeff", "LblResFreqCoeff", "LblMatFreqCoeff", "LblDiagLowFreq",
                              "lblAdvLowFreq", "LblDiagHighFreq", "lblAdvHighFreq"})
        m.setText(QString::fromLatin1(label), FormatDecimals(0, 2));
    m.setText(QStringLiteral("LblVersionNumber"), QStringLiteral("DEMO"));
    m.setText(QStringLiteral("LblChecksum"), QStringLiteral("abc123"));
    m.setColour(QStringLiteral("LblStatus_0"), 0);
}

}  // namespace dunmere
