#include "PageControls.h"

#include <QSet>

namespace dunmere {

namespace {

using K = ControlKind;
constexpr int OutputSliderMaximum = 4095;
constexpr bool Shown = true;
constexpr bool Hidden = false;
constexpr bool On = true;
constexpr bool Off = false;

// Parents come before their children.
const std::vector<PageControl> controls = {
    // Configuration page
    {1, "LblNameConfig", K::Label, "", "", Shown, On},
    {1, "FrameMatCal", K::Frame, "", "Calibration", Shown, On},
    {1, "LblM", K::Label, "FrameMatCal", "Moisture %", Shown, On},
    {1, "LblBrix", K::Label, "FrameMatCal", "Brix", Hidden, On},
    {1, "LblACal", K::Label, "FrameMatCal", "A", Hidden, On},
    {1, "QuiLabel1", K::Label, "FrameMatCal", "A", Shown, On},
    {1, "LblBCal", K::Label, "FrameMatCal", "B", Hidden, On},
    {1, "QuiLabel2", K::Label, "FrameMatCal", "B", Shown, On},
    {1, "LblCCal", K::Label, "FrameMatCal", "C", Shown, On},
    {1, "LblSSDCal", K::Label, "FrameMatCal", "S.S.D %", Shown, On},
    {1, "TextMA", K::Text, "FrameMatCal", "", Shown, On},
    {1, "TextMB", K::Text, "FrameMatCal", "", Shown, On},
    {1, "TextMC", K::Text, "FrameMatCal", "", Shown, On},
    {1, "TextMSSD", K::Text, "FrameMatCal", "", Shown, On},
    {1, "TextBrixA", K::Text, "FrameMatCal", "", Hidden, On},
    {1, "TextBrixB", K::Text, "FrameMatCal", "", Hidden, On},
    {1, "TextBrixC", K::Text, "FrameMatCal", "", Hidden, On},
    {1, "TextBrixD", K::Text, "FrameMatCal", "", Hidden, On},
    {1, "CmdCalibrate", K::Button, "FrameMatCal", "Calibrate", Shown, Off},
    {1, "FrameOutput", K::Frame, "", "Analogue Output", Shown, On},
    {1, "LblOPType", K::Label, "FrameOutput", "Output Type", Shown, On},
    {1, "ListOPType", K::List, "FrameOutput", "", Shown, On},
    {1, "LblOPVar1", K::Label, "FrameOutput", "Output Variable 1", Shown, On},
    {1, "ListOPVar1", K::List, "FrameOutput", "", Shown, On},
    {1, "LblOPVar2", K::Label, "FrameOutput", "Output Variable 2", Shown, On},
    {1, "ListOPVar2", K::List, "FrameOutput", "", Shown, On},
    {1, "LblOutHigh", K::Label, "FrameOutput", "High %", Shown, On},
    {1, "TextIOHigh", K::Text, "FrameOutput", "", Shown, On},
    {1, "LblOutLow", K::Label, "FrameOutput", "Low %", Shown, On},
    {1, "TextIOLow", K::Text, "FrameOutput", "", Shown, On},
    {1, "FrameInput", K::Frame, "", "Digital Input/Output", Shown, On},
    {1, "LblIP1", K::Label, "FrameInput", "Input 1", Shown, On},
    {1, "ListIP1", K::List, "FrameInput", "", Shown, On},
    {1, "LblIP2", K::Label, "FrameInput", "Input/Output 2", Shown, On},
    {1, "ListIP2", K::List, "FrameInput", "", Shown, On},
    {1, "FrameSigProc", K::Frame, "", "Signal Processing", Shown, On},
    {1, "LblSlewPlus", K::Label, "FrameSigProc", "Slew +", Shown, On},
    {1, "ListSlewPlus", K::List, "FrameSigProc", "", Shown, On},
    {1, "LblSlewMinus", K::Label, "FrameSigProc", "Slew -", Shown, On},
    {1, "ListSlewMinus", K::List, "FrameSigProc", "", Shown, On},
    {1, "lblDSP", K::Label, "FrameSigProc", "Digital Signal Processing", Hidden, On},
    {1, "ListDSP", K::List, "FrameSigProc", "", Hidden, On},
    {1, "LblSmoothTime", K::Label, "FrameSigProc", "Smoothing Time", Shown, On},
    {1, "ListSmoothTime", K::List, "FrameSigProc", "", Shown, On},
    {1, "TextSmooth", K::Text, "FrameSigProc", "", Hidden, On},
    {1, "FrameValidRange", K::Frame, "", "Averaging", Shown, On},
    {1, "LblAvgHold", K::Label, "FrameValidRange", "Average/Hold Delay", Shown, On},
    {1, "ListAvgHold", K::List, "FrameValidRange", "", Shown, On},
    {1, "LblValidMoisture", K::Label, "FrameValidRange", "Moisture %", Shown, On},
    {1, "LblValidUS", K::Label, "FrameValidRange", "Unscaled", Shown, On},
    {1, "LblHighLimit", K::Label, "FrameValidRange", "High Limit", Shown, On},
    {1, "TextHighPercent", K::Text, "FrameValidRange", "", Shown, On},
    {1, "TextHighUS", K::Text, "FrameValidRange", "", Shown, On},
    {1, "LblLowLimit", K::Label, "FrameValidRange", "Low Limit", Shown, On},
    {1, "TextLowPercent", K::Text, "FrameValidRange", "", Shown, On},
    {1, "TextLowUS", K::Text, "FrameValidRange", "", Shown, On},
    {1, "CmdConfigWrite", K::Button, "", "Write", Shown, Off},

    // Diagnostics page
    {2, "LblNameDiag", K::Label, "", "", Shown, On},
    {2, "FrameTemp", K::Frame, "", "Temperature", Shown, On},
    {2, "LblTempElec", K::Label, "FrameTemp", "Electronic", Shown, On},
    {2, "LblElecTemp", K::Label, "FrameTemp", "", Shown, On},
    {2, "LblTempRes", K::Label, "FrameTemp", "Resonator", Shown, On},
    {2, "LblResTemp", K::Label, "FrameTemp", "", Shown, On},
    {2, "lblTempMat", K::Label, "FrameTemp", "Material", Shown, On},
    {2, "LblMatTemp", K::Label, "FrameTemp", "", Shown, On},
    {2, "FrameFreq", K::Frame, "", "Frequency and Amplitude", Shown, On},
    {2, "LblUncomp", K::Label, "FrameFreq", "Uncompensated Frequency", Shown, On},
    {2, "LblUncompFreq", K::Label, "FrameFreq", "", Shown, On},
    {2, "LblAmp", K::Label, "FrameFreq", "Amplitude", Shown, On},
    {2, "LblUncompAmp", K::Label, "FrameFreq", "", Shown, On},
    {2, "FrameStatus", K::Frame, "", "Status", Shown, On},
    {2, "LblStatus_0", K::Label, "FrameStatus", "", Shown, On},
    {2, "LblStatus_3", K::Label, "FrameStatus", "", Shown, On},
    {2, "LblStatus_4", K::Label, "FrameStatus", "", Shown, On},
    {2, "LblStatus_5", K::Label, "FrameStatus", "", Shown, On},
    {2, "LblStatus_6", K::Label, "FrameStatus", "", Shown, On},
    {2, "FrameTempEx", K::Frame, "", "Temperature Extremes", Shown, On},
    {2, "LblTempMin", K::Label, "FrameTempEx", "Min", Shown, On},
    {2, "LblMinTemp", K::Label, "FrameTempEx", "", Shown, On},
    {2, "LblTempMax", K::Label, "FrameTempEx", "Max", Shown, On},
    {2, "LblMaxTemp", K::Label, "FrameTempEx", "", Shown, On},
    {2, "FrameFactory", K::Frame, "", "Factory Settings", Shown, On},
    {2, "lblDiagFactorySettingsFrequency", K::Label, "FrameFactory", "Frequency", Hidden, On},
    {2, "lblDiagFactorySettingsAmplitude", K::Label, "FrameFactory", "Amplitude", Hidden, On},
    {2, "LblFactLow", K::Label, "FrameFactory", "Water", Shown, On},
    {2, "LblDiagLowFreq", K::Label, "FrameFactory", "", Shown, On},
    {2, "LblDiagLowAmp", K::Label, "FrameFactory", "", Hidden, On},
    {2, "LblFactHigh", K::Label, "FrameFactory", "Air", Shown, On},
    {2, "LblDiagHighFreq", K::Label, "FrameFactory", "", Shown, On},
    {2, "LblDiagHighAmp", K::Label, "FrameFactory", "", Hidden, On},
    {2, "lblSensorTypeLabel", K::Label, "FrameFactory", "Sensor Type", Hidden, On},
    {2, "lblSensorType", K::Label, "FrameFactory", "", Hidden, On},
    {2, "FrameTempComp", K::Frame, "", "Temperature Compensation Coefficients", Shown, On},
    {2, "lblDiagFrequency", K::Label, "FrameTempComp", "Frequency", Hidden, On},
    {2, "lblDiagAmplitude", K::Label, "FrameTempComp", "Amplitude", Hidden, On},
    {2, "LblTempElecCo", K::Label, "FrameTempComp", "Electronic", Shown, On},
    {2, "LblElecFreqCoeff", K::Label, "FrameTempComp", "", Shown, On},
    {2, "LblElecAmpCoeff", K::Label, "FrameTempComp", "", Hidden, On},
    {2, "LblTempResCo", K::Label, "FrameTempComp", "Resonator", Shown, On},
    {2, "LblResFreqCoeff", K::Label, "FrameTempComp", "", Shown, On},
    {2, "LblResAmpCoeff", K::Label, "FrameTempComp", "", Hidden, On},
    {2, "LblTempMatCo", K::Label, "FrameTempComp", "Material", Shown, On},
    {2, "LblMatFreqCoeff", K::Label, "FrameTempComp", "", Shown, On},
    {2, "LblMatAmpCoeff", K::Label, "FrameTempComp", "", Hidden, On},
    {2, "FrameFirmware", K::Frame, "", "Firmware", Shown, On},
    {2, "LblFirmVersion", K::Label, "FrameFirmware", "Version", Shown, On},
    {2, "LblVersionNumber", K::Label, "FrameFirmware", "", Shown, On},
    {2, "LblFirmChecksum", K::Label, "FrameFirmware", "Checksum", Shown, On},
    {2, "LblChecksum", K::Label, "FrameFirmware", "", Shown, On},
    {2, "CmdUpgrade", K::Button, "FrameFirmware", "Upgrade", Hidden, Off},
    {2, "CmdUpgradeCancel", K::Button, "FrameFirmware", "Cancel", Hidden, Off},
    {2, "LblUpgradeStatus", K::Label, "FrameFirmware", "", Shown, On},
    {2, "FrameEthernetAdapter", K::Frame, "", "Ethernet Adapter Settings", Hidden, On},
    {2, "lblEAIPAddressDiag", K::Label, "FrameEthernetAdapter", "IP Address", Shown, On},
    {2, "lblIPAddressDiag", K::Label, "FrameEthernetAdapter", "xxx.xxx.xxx.xxx", Shown, On},
    {2, "lblEAPortNumDiag", K::Label, "FrameEthernetAdapter", "Port", Shown, On},
    {2, "lblPortNumDiag", K::Label, "FrameEthernetAdapter", "xxxxx", Shown, On},
    {2, "lblEALocalIPAddressDiag", K::Label, "FrameEthernetAdapter", "Local IP", Shown, On},
    {2, "lblLocalIPAddressDiag", K::Label, "FrameEthernetAdapter", "xxx.xxx.xxx.xxx", Shown, On},
    {2, "cmdEADiagnostics", K::Button, "FrameEthernetAdapter", "Diagnostics", Shown, Off},
    {2, "cmdEASettings", K::Button, "FrameEthernetAdapter", "Setup", Hidden, Off},
    {2, "FramePW", K::Frame, "", "Password", Shown, On},
    {2, "Key_0", K::Button, "FramePW", "1", Shown, On},
    {2, "Key_1", K::Button, "FramePW", "2", Shown, On},
    {2, "Key_2", K::Button, "FramePW", "3", Shown, On},
    {2, "Key_3", K::Button, "FramePW", "4", Shown, On},
    {2, "Key_4", K::Button, "FramePW", "5", Shown, On},
    {2, "Key_5", K::Button, "FramePW", "6", Shown, On},
    {2, "Key_6", K::Button, "FramePW", "7", Shown, On},
    {2, "Key_7", K::Button, "FramePW", "8", Shown, On},
    {2, "Key_8", K::Button, "FramePW", "9", Shown, On},
    {2, "Key_9", K::Button, "FramePW", "0", Shown, On},
    {2, "LblPW", K::Label, "FramePW", "", Shown, On},
    {2, "CmdLogOut_0", K::Button, "", "Log Out", Hidden, On},
    {2, "CmdDownload", K::Button, "", "Download", Shown, Off},
    {2, "UploadButton", K::Button, "", "Upload", Shown, Off},
    {2, "UploadProgress", K::Progress, "", "", Hidden, On},
    {2, "ProgressBar1", K::Progress, "", "", Hidden, On},
    {2, "cmdResonator", K::Button, "", "Resonator", Hidden, On},
    {2, "CmdOutputTest", K::Button, "", "Analogue Output Test", Shown, Off},
    {2, "FrameInterface", K::Frame, "", "Output Test", Hidden, On},
    {2, "SlidermA_0", K::Slider, "FrameInterface", "", Shown, On},
    {2, "CmdmA_0", K::Button, "FrameInterface", "0 mA", Shown, On},
    {2, "CmdmA_1", K::Button, "FrameInterface", "4 mA", Shown, On},
    {2, "CmdmA_2", K::Button, "FrameInterface", "20 mA", Shown, On},
    {2, "FrameIntCurrent_0", K::Frame, "FrameInterface", "Current", Shown, On},
    {2, "LblCurrent_0", K::Label, "FrameIntCurrent_0", "", Shown, On},
    {2, "SlidermA_1", K::Slider, "FrameInterface", "", Shown, On},
    {2, "CmdmA_3", K::Button, "FrameInterface", "0 mA", Shown, On},
    {2, "CmdmA_4", K::Button, "FrameInterface", "4 mA", Shown, On},
    {2, "CmdmA_5", K::Button, "FrameInterface", "20 mA", Shown, On},
    {2, "FrameIntCurrent_1", K::Frame, "FrameInterface", "Current", Shown, On},
    {2, "LblCurrent_1", K::Label, "FrameIntCurrent_1", "", Shown, On},

    // Advanced page
    {3, "LblNameAdv", K::Label, "", "", Shown, On},
    {3, "FrameAdvFactory", K::Frame, "", "Factory Settings", Shown, On},
    {3, "lblAdvFactorySettingsFrequency", K::Label, "FrameAdvFactory", "Frequency", Hidden, On},
    {3, "lblAdvFactorySettingsAmplitude", K::Label, "FrameAdvFactory", "Amplitude", Hidden, On},
    {3, "lblAdvWater", K::Label, "FrameAdvFactory", "Water", Shown, On},
    {3, "lblAdvLowFreq", K::Label, "FrameAdvFactory", "", Shown, On},
    {3, "lblAdvLowAmp", K::Label, "FrameAdvFactory", "", Hidden, On},
    {3, "TextWaterFreq", K::Text, "FrameAdvFactory", "", Shown, On},
    {3, "TextWaterAmp", K::Text, "FrameAdvFactory", "", Hidden, On},
    {3, "cmdWater", K::Button, "FrameAdvFactory", "Water", Shown, Off},
    {3, "PbWaterProgress", K::Progress, "FrameAdvFactory", "", Hidden, On},
    {3, "lblAdvAir", K::Label, "FrameAdvFactory", "Air", Shown, On},
    {3, "lblAdvHighFreq", K::Label, "FrameAdvFactory", "", Shown, On},
    {3, "lblAdvHighAmp", K::Label, "FrameAdvFactory", "", Hidden, On},
    {3, "TextAirFreq", K::Text, "FrameAdvFactory", "", Shown, On},
    {3, "TextAirAmp", K::Text, "FrameAdvFactory", "", Hidden, On},
    {3, "cmdAir", K::Button, "FrameAdvFactory", "Air", Shown, Off},
    {3, "PbAirProgress", K::Progress, "FrameAdvFactory", "", Hidden, On},
    {3, "cmdFactoryUpdate", K::Button, "FrameAdvFactory", "Update", Shown, Off},
    {3, "FrameAutoCal", K::Frame, "FrameAdvFactory", "Auto Calibration", Hidden, On},
    {3, "TextAutoCal", K::Text, "FrameAutoCal", "", Shown, On},
    {3, "cmdAutoCal", K::Button, "FrameAutoCal", "Auto Calibrate", Shown, Off},
    {3, "FrameAdvTempComp", K::Frame, "", "Temperature Compensation Coefficients", Shown, On},
    {3, "lblAdvFrequency", K::Label, "FrameAdvTempComp", "Frequency", Hidden, On},
    {3, "lblAdvAmplitude", K::Label, "FrameAdvTempComp", "Amplitude", Hidden, On},
    {3, "lblAdvElectronic", K::Label, "FrameAdvTempComp", "Electronic", Shown, On},
    {3, "lblAdvElecFreqCoeff", K::Label, "FrameAdvTempComp", "", Shown, On},
    {3, "lblAdvElecAmpCoeff", K::Label, "FrameAdvTempComp", "", Hidden, On},
    {3, "lblAdvResonator", K::Label, "FrameAdvTempComp", "Resonator", Shown, On},
    {3, "lblAdvResFreqCoeff", K::Label, "FrameAdvTempComp", "", Shown, On},
    {3, "lblAdvResAmpCoeff", K::Label, "FrameAdvTempComp", "", Hidden, On},
    {3, "lblAdvMaterial", K::Label, "FrameAdvTempComp", "Material", Shown, On},
    {3, "lblAdvMatFreqCoeff", K::Label, "FrameAdvTempComp", "", Shown, On},
    {3, "lblAdvMatAmpCoeff", K::Label, "FrameAdvTempComp", "", Hidden, On},
    {3, "LblElecTempCoeff", K::Label, "FrameAdvTempComp", "Electronic", Shown, On},
    {3, "TextElecFreqCoeff", K::Text, "FrameAdvTempComp", "", Shown, On},
    {3, "TextElecAmpCoeff", K::Text, "FrameAdvTempComp", "", Hidden, On},
    {3, "LblResTempCoeff", K::Label, "FrameAdvTempComp", "Resonator", Shown, On},
    {3, "TextResFreqCoeff", K::Text, "FrameAdvTempComp", "", Shown, On},
    {3, "TextResAmpCoeff", K::Text, "FrameAdvTempComp", "", Hidden, On},
    {3, "LblMatTempCoeff", K::Label, "FrameAdvTempComp", "Material", Shown, On},
    {3, "TextMatFreqCoeff", K::Text, "FrameAdvTempComp", "", Shown, On},
    {3, "TextMatAmpCoeff", K::Text, "FrameAdvTempComp", "", Hidden, On},
    {3, "CmdCoeffUpdate", K::Button, "FrameAdvTempComp", "Update", Shown, Off},
    {3, "FrameMeasurementMode", K::Frame, "", "Measurement Mode", Hidden, On},
    {3, "LblUnscaledCaption_0", K::Label, "FrameMeasurementMode", "1", Shown, On},
    {3, "cbAdvMeasurementMode", K::List, "FrameMeasurementMode", "", Shown, Off},
    {3, "cmdMeasurementModeWrite", K::Button, "FrameMeasurementMode", "Write", Shown, Off},
    {3, "LblUnscaledCaption_1", K::Label, "FrameMeasurementMode", "2", Shown, On},
    {3, "cbAdvMeasurementMode2", K::List, "FrameMeasurementMode", "", Shown, Off},
    {3, "cmdMeasurementModeWrite2", K::Button, "FrameMeasurementMode", "Write", Shown, Off},
    {3, "lblAveragingMode", K::Label, "FrameMeasurementMode", "Averaging", Shown, Off},
    {3, "CBAveragingMode", K::List, "FrameMeasurementMode", "", Shown, Off},
    {3, "BtnWriteAveragingMode", K::Button, "FrameMeasurementMode", "Write", Shown, Off},
    {3, "lblMeasurementWarning", K::Label, "FrameMeasurementMode", "", Shown, On},
    {3, "FrameCorraneArmType", K::Frame, "", "Corrane Arm Type", Hidden, On},
    {3, "cbCorraneArmType", K::List, "FrameCorraneArmType", "", Shown, Off},
    {3, "cmdWriteCorraneArmType", K::Button, "FrameCorraneArmType", "Write", Shown, Off},
    {3, "FrameSecuritySettings", K::Frame, "", "Security settings", Shown, On},
    {3, "chkDisableConfig", K::Check, "FrameSecuritySettings", "Disable edits on configuration page", Hidden, On},
    {3, "chkDisableCalib", K::Check, "FrameSecuritySettings", "Disable access to the calibration page", Shown, On},
    {3, "BtnFactoryReset", K::Button, "FrameSecuritySettings", "Factory Reset", Shown, Off},
    {3, "CmdLogOut_1", K::Button, "", "Log Out", Shown, On},
};

}  // namespace

const std::vector<PageControl>& PageControls()
{
    return controls;
}

bool OpensMissingWindow(const QString& name)
{
    // Adapter set-up and diagnostics.
    static const QSet<QString> buttons = {
        QStringLiteral("cmdEASettings"),
        QStringLiteral("cmdEADiagnostics"),
    };
    return buttons.contains(name);
}

void EnableControls(ControlModel& model, std::initializer_list<const char*> names, bool on)
{
    for (const char* name : names) {
        const QString n = QString::fromLatin1(name);
        model.setEnabled(n, on && !OpensMissingWindow(n));
    }
}

void AddPageControls(ControlModel& model)
{
    for (const PageControl& c : controls) {
        ControlState s;
        s.visible = c.visible;
        s.enabled = c.enabled;
        s.text = QString::fromUtf8(c.caption);
        if (c.kind == ControlKind::Slider)
            s.maximum = OutputSliderMaximum;
        model.add(QString::fromLatin1(c.name), s);
    }
}

}  // namespace dunmere
