#pragma once
// Configuration files written out by hand, line by line, as the program writes them with
// texts that read back as their key names, and a config.ini whose language 0 holds those
// same texts (language 1 is German).

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace dunmere::test {

inline const QString Rule = QStringLiteral("#====================================================#");

inline QStringList HeaderLines(const QString& identity, const QString& name, int address)
{
    return {Rule, QStringLiteral("        Dunmere: QX0068 v1.80"), Rule, QString(), QStringLiteral("11.12.26  17:00"),
            QString(), QStringLiteral("LangName: ") + name, QStringLiteral("LangSensor: ") + identity,
            QStringLiteral("LangAddress: %1").arg(address), QStringLiteral("LangSensor LangConfiguration"), QString()};
}

// A type-45 sensor's file (no second channel, no arm type).
inline QStringList Type45File()
{
    return HeaderLines(QStringLiteral("AB12CD34"), QStringLiteral("Kiln dryer 3"), 1)
           + QStringList{
               QStringLiteral("LangMoisture % LangCoeff "),
               QStringLiteral("A = 1.50"),
               QStringLiteral("B = 0.2857"),
               QStringLiteral("C = -4.00"),
               QStringLiteral("D = 0.00"),
               QStringLiteral("LangAnalogue LangOutput"),
               QStringLiteral("LangOPType = 0-20mA (0-10V)"),
               QStringLiteral("LangOPVar 1 = LangAvg %"),
               QStringLiteral("LangOPVar 2 = LangRaw %"),
               QStringLiteral("LangHigh % = 20.00"),
               QStringLiteral("LangLow % = 0.00"),
               QStringLiteral("LangDigital LangInput/LangOutput"),
               QStringLiteral("LangIP1 = LangAvgHold"),
               QStringLiteral("LangIP2 = LangUnused"),
               QStringLiteral("LangAveraging"),
               QStringLiteral("LangMoisture LangLow  = 0.00"),
               QStringLiteral("LangMoisture LangHigh  = 25.00"),
               QStringLiteral("LangUnscaled LangLow = 0.00"),
               QStringLiteral("LangUnscaled LangHigh = 100.00"),
               QStringLiteral("LangAvgHold LangDelay = 1.0"),
               QStringLiteral("LangSigProc"),
               QStringLiteral("LangSmoothTime = 5.0"),
               QStringLiteral("LangSlew + = LangLight"),
               QStringLiteral("LangSlew - = LangNone"),
               QStringLiteral("LangDiagnostics"),
               QStringLiteral("LangElectronic LangTemperature = 21.5"),
               QStringLiteral("LangResonator LangTemperature = 22.4"),
               QStringLiteral("LangMaterial LangTemperature = ---"),
               QStringLiteral("LangUncompFreq = 123.45"),
               QStringLiteral("LangAmp = 1234"),
               QStringLiteral("LangElectronic LangCoeff = 0.015"),
               QStringLiteral("LangResonator LangCoeff = "),
               QStringLiteral("LangMaterial LangCoeff = "),
               QStringLiteral("LangMin LangTemperature = 8.4"),
               QStringLiteral("LangMax LangTemperature = 47.9"),
               QStringLiteral("LangWater = 720.00"),
               QStringLiteral("LangAir = 880.00"),
               QStringLiteral("LangLanguage = 0"),
               QStringLiteral("LangFirmware"),
               QStringLiteral("LangVersion QX0045 v1.50"),
               QStringLiteral("LangMeasurementMode = LangStandardMode"),
               QStringLiteral("LangMeasurementMode 2 = LangStandardMode"),
           };
}

// A type-89 sensor's file with the Brix row shown, output 2 on Brix, smoothing in seconds,
// the arm type, written in language 2.
inline QStringList Type89BrixFile()
{
    return HeaderLines(QStringLiteral("EF56GH78"), QStringLiteral("Press line"), 3)
           + QStringList{
               QStringLiteral("Brix LangCoeff"),
               QStringLiteral("A = 101.00"),
               QStringLiteral("B = 0.15"),
               QStringLiteral("C = 0.17"),
               QStringLiteral("D = -2.50"),
               QStringLiteral("LangAnalogue LangOutput"),
               QStringLiteral("LangOPType = 4-20mA"),
               QStringLiteral("LangOPVar 1 = LangFiltered %"),
               QStringLiteral("LangOPVar 2 = Brix"),
               QStringLiteral("LangHigh % = 20.00"),
               QStringLiteral("LangLow % = 0.00"),
               QStringLiteral("LangDigital LangInput/LangOutput"),
               QStringLiteral("LangIP1 = LangUnused"),
               QStringLiteral("LangIP2 = LangData LangInvalid (LangOutput)"),
               QStringLiteral("LangAveraging"),
               QStringLiteral("LangMoisture LangLow  = 1.00"),
               QStringLiteral("LangMoisture LangHigh  = 30.00"),
               QStringLiteral("LangUnscaled LangLow = 5.00"),
               QStringLiteral("LangUnscaled LangHigh = 95.00"),
               QStringLiteral("LangAvgHold LangDelay = 5.0"),
               QStringLiteral("LangSigProc"),
               QStringLiteral("LangSmoothTime = 12"),
               QStringLiteral("LangSlew + = LangHeavy"),
               QStringLiteral("LangSlew - = LangMedium"),
               QStringLiteral("LangDiagnostics"),
               QStringLiteral("LangElectronic LangTemperature = 30.1"),
               QStringLiteral("LangResonator LangTemperature = 29.9"),
               QStringLiteral("LangMaterial LangTemperature = 55.5"),
               QStringLiteral("LangUncompFreq = 456.78"),
               QStringLiteral("LangAmp = 2345"),
               QStringLiteral("LangElectronic LangCoeff = 0.015"),
               QStringLiteral("LangResonator LangCoeff = 0.012"),
               QStringLiteral("LangMaterial LangCoeff = 0.008"),
               QStringLiteral("LangMin LangTemperature = 10.2"),
               QStringLiteral("LangMax LangTemperature = 51.0"),
               QStringLiteral("LangWater = 720.00"),
               QStringLiteral("LangAir = 880.00"),
               QStringLiteral("LangLanguage = 2"),
               QStringLiteral("LangFirmware"),
               QStringLiteral("LangVersion QX0089 v1.12"),
               QStringLiteral("LangDigitalSignalProcessing = LangDSPLight"),
               QStringLiteral("LangMeasurementMode = LangModeV"),
               QStringLiteral("LangAmp LangElectronic LangTempComp LangCoeff = 0.50"),
               QStringLiteral("LangAmp LangResonator LangTempComp LangCoeff = 0.40"),
               QStringLiteral("LangAmp LangMaterial LangTempComp LangCoeff = 0.30"),
               QStringLiteral("LangAmp LangWater = 1200.00"),
               QStringLiteral("LangAmp LangAir = 3200.00"),
               QStringLiteral("LangMeasurementMode 2 = LangModeE"),
               QStringLiteral("LangCorraneArmType = KVTA1"),
           };
}

// The keys whose texts the values are converted with.
inline const QStringList ConversionKeys = {
    QStringLiteral("LangCompat"),       QStringLiteral("LangRaw"),          QStringLiteral("LangFiltered"),
    QStringLiteral("LangAvg"),          QStringLiteral("LangRemoteValue"),  QStringLiteral("LangStrain"),
    QStringLiteral("LangMaterial"),     QStringLiteral("LangTemperature"),  QStringLiteral("LangUnused"),
    QStringLiteral("LangAvgHold"),      QStringLiteral("LangMT"),           QStringLiteral("LangBinEmpty"),
    QStringLiteral("LangData"),         QStringLiteral("LangProbeOK"),      QStringLiteral("LangNone"),
    QStringLiteral("LangLight"),        QStringLiteral("LangMedium"),       QStringLiteral("LangHeavy"),
    QStringLiteral("LangInput"),        QStringLiteral("LangOutput"),       QStringLiteral("LangInvalid"),
    QStringLiteral("LangDSPUnused"),    QStringLiteral("LangDSPVeryLight"), QStringLiteral("LangDSPLight"),
    QStringLiteral("LangDSPMedium"),    QStringLiteral("LangDSPHeavy"),     QStringLiteral("LangDSPVeryHeavy"),
    QStringLiteral("LangStandardMode"), QStringLiteral("LangModeA"),        QStringLiteral("LangModeV"),
    QStringLiteral("LangModeE"),        QStringLiteral("LangModeI")};

// config.ini in dir: languages 0 and 2 with every conversion key reading as its own name,
// language 1 German.
inline QString WriteLanguageFile(const QTemporaryDir& dir)
{
    QString ini;
    for (int language : {0, 2}) {
        ini += QStringLiteral("[Language%1]\n").arg(language);
        for (const QString& key : ConversionKeys)
            ini += key + QLatin1Char('=') + key + QLatin1Char('\n');
    }
    ini += QStringLiteral("[Language1]\nLangCompat=Kompatibel\nLangRaw=Roh\nLangFiltered=Gefiltert\nLangAvg=Mittel\n"
                          "LangUnused=Unbenutzt\nLangAvgHold=Mittelwert halten\nLangMT=Leer\nLangNone=Keine\n"
                          "LangLight=Leicht\nLangMedium=Mittel\nLangHeavy=Schwer\nLangStandardMode=Normal\n"
                          "LangModeV=Modus V\nLangInput=Eingang\nLangOutput=Ausgang\n");
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(ini.toUtf8());
    return path;
}

}  // namespace dunmere::test
