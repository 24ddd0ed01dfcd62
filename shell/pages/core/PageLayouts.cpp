#include "PageLayouts.h"

namespace dunmere {

namespace {

const std::vector<GridLayoutRows> layouts = {
    {"Page1",
     {{"LblNameConfig", "<"},
      {"FrameMatCal", "<"},
      {"FrameOutput", "FrameInput"},
      {"FrameSigProc", "FrameValidRange"},
      {"", "CmdConfigWrite"}}},
    {"FrameMatCal",
     {{"", "QuiLabel1|LblACal", "QuiLabel2|LblBCal", "LblCCal", "LblSSDCal", ""},
      {"LblM|LblBrix", "TextMA|TextBrixA", "TextMB|TextBrixB", "TextMC|TextBrixC", "TextMSSD|TextBrixD",
       "CmdCalibrate"}}},
    {"FrameOutput",
     {{"LblOPType", "ListOPType"},
      {"LblOPVar1", "ListOPVar1"},
      {"LblOPVar2", "ListOPVar2"},
      {"LblOutHigh", "TextIOHigh"},
      {"LblOutLow", "TextIOLow"}}},
    {"FrameInput", {{"LblIP1", "ListIP1"}, {"LblIP2", "ListIP2"}}},
    {"FrameSigProc",
     {{"LblSlewPlus", "ListSlewPlus"},
      {"LblSlewMinus", "ListSlewMinus"},
      {"lblDSP", "ListDSP"},
      {"LblSmoothTime", "ListSmoothTime"},
      {"", "TextSmooth"}}},
    {"FrameValidRange",
     {{"LblAvgHold", "ListAvgHold", "<"},
      {"", "LblValidMoisture", "LblValidUS"},
      {"LblHighLimit", "TextHighPercent", "TextHighUS"},
      {"LblLowLimit", "TextLowPercent", "TextLowUS"}}},

    {"Page2",
     {{"LblNameDiag", "<", "<"},
      {"FrameTemp", "FrameFreq", "FrameStatus"},
      {"FrameTempEx", "FrameFactory", "FrameTempComp"},
      {"FrameFirmware", "FrameEthernetAdapter", "FramePW"},
      {"CmdOutputTest", "CmdDownload|UploadProgress", "UploadButton|ProgressBar1"},
      {"cmdResonator", "", "CmdLogOut_0"}}},
    {"FrameTemp", {{"LblTempElec", "LblElecTemp"}, {"LblTempRes", "LblResTemp"}, {"lblTempMat", "LblMatTemp"}}},
    {"FrameFreq", {{"LblUncomp", "LblUncompFreq"}, {"LblAmp", "LblUncompAmp"}}},
    {"FrameStatus", {{"LblStatus_0"}, {"LblStatus_3"}, {"LblStatus_6"}, {"LblStatus_4"}, {"LblStatus_5"}}},
    {"FrameTempEx", {{"LblTempMin", "LblMinTemp"}, {"LblTempMax", "LblMaxTemp"}}},
    {"FrameFactory",
     {{"", "lblDiagFactorySettingsFrequency", "lblDiagFactorySettingsAmplitude"},
      {"LblFactLow", "LblDiagLowFreq", "LblDiagLowAmp"},
      {"LblFactHigh", "LblDiagHighFreq", "LblDiagHighAmp"},
      {"lblSensorTypeLabel", "lblSensorType", "<"}}},
    {"FrameTempComp",
     {{"", "lblDiagFrequency", "lblDiagAmplitude"},
      {"LblTempElecCo", "LblElecFreqCoeff", "LblElecAmpCoeff"},
      {"LblTempResCo", "LblResFreqCoeff", "LblResAmpCoeff"},
      {"LblTempMatCo", "LblMatFreqCoeff", "LblMatAmpCoeff"}}},
    {"FrameFirmware",
     {{"LblFirmVersion", "LblVersionNumber"},
      {"LblFirmChecksum", "LblChecksum"},
      {"CmdUpgrade|CmdUpgradeCancel", ""},
      {"LblUpgradeStatus", "<"}}},
    {"FrameEthernetAdapter",
     {{"lblEAIPAddressDiag", "lblIPAddressDiag"},
      {"lblEAPortNumDiag", "lblPortNumDiag"},
      {"lblEALocalIPAddressDiag", "lblLocalIPAddressDiag"},
      {"cmdEADiagnostics", "cmdEASettings"}}},
    {"FramePW",
     {{"Key_0", "Key_1", "Key_2", "Key_3", "Key_4"},
      {"Key_5", "Key_6", "Key_7", "Key_8", "Key_9"},
      {"LblPW", "<", "<", "<", "<"}}},
    {"FrameInterface",
     {{"SlidermA_0", "<", "<", "FrameIntCurrent_0"},
      {"CmdmA_0", "CmdmA_1", "CmdmA_2", ""},
      {"SlidermA_1", "<", "<", "FrameIntCurrent_1"},
      {"CmdmA_3", "CmdmA_4", "CmdmA_5", ""}}},
    {"FrameIntCurrent_0", {{"LblCurrent_0"}}},
    {"FrameIntCurrent_1", {{"LblCurrent_1"}}},

    {"Page3",
     {{"LblNameAdv", "<", "CmdLogOut_1"},
      {"FrameAdvFactory", "<", "<"},
      {"FrameAdvTempComp", "<", "<"},
      {"FrameMeasurementMode", "FrameCorraneArmType", "<"},
      {"^", "FrameSecuritySettings", "<"}}},
    {"FrameAdvFactory",
     {{"", "lblAdvFactorySettingsFrequency", "lblAdvFactorySettingsAmplitude", "", "", "", ""},
      {"lblAdvWater", "lblAdvLowFreq", "lblAdvLowAmp", "TextWaterFreq", "TextWaterAmp", "cmdWater", "PbWaterProgress"},
      {"lblAdvAir", "lblAdvHighFreq", "lblAdvHighAmp", "TextAirFreq", "TextAirAmp", "cmdAir", "PbAirProgress"},
      {"FrameAutoCal", "<", "<", "<", "<", "cmdFactoryUpdate", ""}}},
    {"FrameAutoCal", {{"TextAutoCal", "cmdAutoCal"}}},
    {"FrameAdvTempComp",
     {{"", "lblAdvFrequency", "lblAdvAmplitude", "", "", "", ""},
      {"lblAdvElectronic", "lblAdvElecFreqCoeff", "lblAdvElecAmpCoeff", "LblElecTempCoeff", "TextElecFreqCoeff",
       "TextElecAmpCoeff", ""},
      {"lblAdvResonator", "lblAdvResFreqCoeff", "lblAdvResAmpCoeff", "LblResTempCoeff", "TextResFreqCoeff",
       "TextResAmpCoeff", ""},
      {"lblAdvMaterial", "lblAdvMatFreqCoeff", "lblAdvMatAmpCoeff", "LblMatTempCoeff", "TextMatFreqCoeff",
       "TextMatAmpCoeff", "CmdCoeffUpdate"}}},
    {"FrameMeasurementMode",
     {{"LblUnscaledCaption_0", "cbAdvMeasurementMode", "cmdMeasurementModeWrite"},
      {"LblUnscaledCaption_1", "cbAdvMeasurementMode2", "cmdMeasurementModeWrite2"},
      {"lblAveragingMode", "CBAveragingMode", "BtnWriteAveragingMode"},
      {"lblMeasurementWarning", "<", "<"}}},
    {"FrameCorraneArmType", {{"cbCorraneArmType", "cmdWriteCorraneArmType"}}},
    {"FrameSecuritySettings", {{"chkDisableConfig"}, {"chkDisableCalib"}, {"BtnFactoryReset"}}},
};

}  // namespace

const std::vector<GridLayoutRows>& PageLayouts()
{
    return layouts;
}

bool CoversPage(const QString& name)
{
    return name == QLatin1String("FrameInterface");
}

bool StaysAboveCover(const QString& name)
{
    return name == QLatin1String("CmdOutputTest");
}

bool IsNote(const QString& name)
{
    return name == QLatin1String("lblMeasurementWarning") || name == QLatin1String("LblUpgradeStatus");
}

}  // namespace dunmere
