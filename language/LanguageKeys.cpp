#include "LanguageKeys.h"

namespace dunmere {

namespace {

// Reading order. LangNo is read twice, into two slots that hold the same text.
constexpr std::array<const char*, LanguageSlotCount> keySlots = {
    "Lang", "LangSensor", "LangSearch", "LangLanguage", "LangHelp", "LangTime", "LangCancel",
    "LangCancelled", "LangAddress", "LangOccupied", "LangUnscaled", "LangMoisture",
    "LangCalculator", "LangAvg", "LangAveraging", "LangRemoteAvg", "LangUnavailable", "LangRaw",
    "LangNow", "LangFiltered", "LangComPort", "LangExit", "LangSetup", "LangRate", "LangEvery",
    "LangUpdate", "LangDelete", "LangNew", "LangCalibration", "LangWrite", "LangWritten",
    "LangDefault", "LangFineSand", "LangBestFit", "LangNo", "LangNo", "LangFailed", "LangInvalid",
    "LangFile", "LangLogging", "LangStart", "LangStop", "LangWorking", "LangData", "LangTrend",
    "LangGraph", "LangClearTrend", "LangConfiguration", "LangDiagnostics", "LangMatCal",
    "LangInterval", "LangSeconds", "LangElectronic", "LangTemperature", "LangResonator",
    "LangMaterial", "LangRead", "LangName", "LangNote", "LangAutoCal", "LangSigProc",
    "LangSmoothTime", "LangSlew", "LangAvgHold", "LangHold", "LangDelay", "LangMixerSync",
    "LangProbeOK", "LangInput", "LangDigital", "LangIP1", "LangIP2", "LangOutput", "LangAnalogue",
    "LangOPType", "LangOPVar", "LangStrain", "LangRemoteValue", "LangBinEmpty", "LangHigh",
    "LangLow", "LangValidRange", "LangLimit", "LangExtremes", "LangMax", "LangMin", "LangUnused",
    "LangNone", "LangLight", "LangMedium", "LangHeavy", "LangMT", "LangCompat", "LangTempComp",
    "LangCoeff", "LangFreqAndAmp", "LangUncompFreq", "LangAmp", "LangTest", "LangCurrent",
    "LangStatus", "LangStatus0a", "LangStatus0b", "LangStatus1", "LangStatus2", "LangStatus3",
    "LangStatus4", "LangStatus5", "LangStatus6", "LangStatus7", "LangFirmware", "LangVersion",
    "LangChecksum", "LangNoWrites", "LangUpgradeFile", "LangUpgradeWait", "LangRequestFirmware",
    "LangVerify", "LangUpgrade", "LangError", "LangProgress", "LangTimeout", "LangFactory",
    "LangWater", "LangAir", "LangElecCoeff", "LangResCoeff", "LangPassword", "LangLogOut",
    "LangDisable", "LangDisabled", "LangEnable", "LangEnabled", "LangRules", "LangIPUse",
    "LangCalGotID", "LangACStart", "LangACProgress", "LangACComplete", "LangACUA",
    "LangUpgradeError", "LangCommsError", "LangCommsActivity", "LangWarningAvg",
    "LangWarningAvgFit", "LangWarningSand", "LangWarningFine", "LangWarningFit",
    "LangWarningSlope", "LangWarningAxis", "LangUnComp", "LangComp", "LangFreq", "LangBandWidth",
    "LangReference", "LangYes", "LangOK", "LangCommsError1", "LangCommsError2", "LangCommsError3",
    "LangConfig", "LangReplace", "LangEngData1", "LangEngData2", "LangEngData3", "LangEngData4",
    "LangEngData5", "LangEngData6", "LangEngData7", "LangEngData8", "LangEngData9",
    "LangEngData10", "LangEngData11", "LangEngData12", "LangCalib", "LangResSave", "LangDownload",
    "LangExistingSettings", "LangCurrentSeedPoint", "LangExistingCoefficients", "LangNewSettings",
    "LangNewCoefficients", "LangNewSeedPoint", "LangCalculate", "LangCancelExit",
    "LangSeedPointCalculator", "LangCurrentCalibration", "LangCalBestFit", "LangEnableHighTie",
    "LangEnableLowTie", "LangSolving", "LangBrix", "LangExisting", "LangUpload", "LangProbe",
    "LangLab", "LangChooseCoeffs", "LangDefStart", "LangExistStart", "LangPrevStart",
    "LangCalBestFitBtn", "LangSearchSpeed", "LangFast", "LangSlow", "LangLinearBestFit",
    "LangEthernetAdapter", "LangSearchEA", "LangCommunications", "LangTCPIP", "LangConnectedVia",
    "LangConnectionFailed", "LangConnectionLost", "LangEthernetAdapterSettings",
    "LangAddEthernetAdapter", "LangSearchEthernetAdapter", "LangSearchCOMPorts",
    "LangEditEthernetAdapters", "LangRemoteIPAddress", "LangRemotePort",
    "LangIncorrectIPAddressFormat", "LangAutomatic", "LangManual", "LangIPAddress",
    "LangPortNumber", "LangLocalIP", "LangType", "LangDoYouWishToDeleteAdapter",
    "LangDoYouWishToResetAdapter", "LangCannotReadCurrentConfig",
    "LangInvalidIPAddressPortGateway", "LangErrorDuringConfiguration",
    "LangCannotRetrieveConfiguration", "LangNoEAFound", "LangEASearchError", "LangNotResponding",
    "LangEstablishEAConnection", "LangFATALCOMMSERROR", "LangTERMINATINGPROGRAM", "Langreset",
    "LangAmplitude", "LangFrequency", "LangAdvancedConfig", "LangSensorType",
    "LangMeasurementMode", "LangMode", "LangDisableConfig", "LangDigitalSignalProcessing",
    "LangDSPUnused", "LangDSPVeryLight", "LangDSPLight", "LangDSPMedium", "LangDSPHeavy",
    "LangDSPVeryHeavy", "LangMeasurementWarning", "LangMeasurementPellory", "LangStandardMode",
    "LangModeA", "LangModeI", "LangModeV", "LangModeE", "LangUnsupportedMode",
    "LangSecuritySettings", "LangDisableConfigurationEdits", "LangDisableCalibrationPage",
    "LangEthernetSearchPleaseWait", "LangConnectionTime", "LangLastRTT", "LangMaximumRTT",
    "LangTimeouts", "LangAverageRTT", "LangKeepOnTop", "LangGateway", "LangEthernetTCPIPSetup",
    "LangAutoIPAddress", "LangFixedIPAddress", "LangCorraneArmType", "LangFactoryResetBtn",
    "LangFactoryReset", "LangConfirmation"
};

}  // namespace

const std::array<const char*, LanguageSlotCount>& LanguageKeySlots() { return keySlots; }

}  // namespace dunmere
