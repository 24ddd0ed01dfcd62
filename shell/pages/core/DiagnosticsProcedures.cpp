#include "DiagnosticsProcedures.h"

#include "OutputVariables.h"
#include "PageControls.h"
#include "SensorTypeAdaptation.h"
#include "link/Clock.h"
#include "link/NumberRules.h"
#include "link/ValueFormat.h"
#include "sensor/FixedPoint.h"

#include <QRegularExpression>

namespace dunmere {

namespace {

constexpr int Red = 0;
constexpr int Black = 5;
constexpr int ReferenceSamples = 50;
constexpr int AutoCalPolls = 61;

QString readParameter(PagesContext& ctx, int number)
{
    return ctx.link.ReadParameter(ctx.sensor.address, number);
}

void setTexts(ControlModel& m, std::initializer_list<const char*> names, const QString& text)
{
    for (const char* name : names)
        m.setText(QString::fromLatin1(name), text);
}

// A reading shown in a page's own pattern, empty when it is no number.
QString patterned(const QString& reply, int decimals)
{
    bool ok = false;
    const double value = ToNumber(reply, &ok);
    return ok && reply != FailureText ? FormatDecimals(value, decimals) : QString();
}

void showTemperature(PagesContext& ctx, int number, const char* label, bool dashesWhenMissing)
{
    const double value = DecodeFixedPoint(FormatNumber(readParameter(ctx, number)), 2);
    const bool missing = value == -99;
    ctx.model.setText(QString::fromLatin1(label),
                      missing && dashesWhenMissing ? QStringLiteral("---") : FormatDecimals(value, 1));
}

// A "P" reply with columns; a failed exchange shows nothing rather than decoded "-99".
bool columnsReply(const QString& reply)
{
    return reply != FailureText && reply != QStringLiteral("!");
}

void showColumns(ControlModel& m, const QString& reply, const char* label, int from, int width, int decimals)
{
    m.setText(QString::fromLatin1(label),
              columnsReply(reply) ? FormatDecimals(DecodeFixedPoint(reply.mid(from - 1, width), decimals), decimals)
                                  : QString());
}

void refreshStatus(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    // A position beyond the reply reads as clear: a short or empty reply (a sensor may answer
    // with no text at all) shows every flag clear rather than reading past its end.
    const QString flags = readParameter(ctx, 69);
    auto isSet = [&](int position) { return position <= flags.size() && flags.at(position - 1) == QLatin1Char('1'); };
    m.setText(QStringLiteral("LblStatus_0"), ctx.tr(isSet(1) ? "LangStatus0b" : "LangStatus0a"));
    const std::pair<int, const char*> positions[] = {
        {1, "LblStatus_0"}, {7, "LblStatus_3"}, {8, "LblStatus_6"}, {9, "LblStatus_4"}, {11, "LblStatus_5"}};
    for (const auto& [position, label] : positions)
        m.setColour(QString::fromLatin1(label), isSet(position) ? Red : Black);
}

void refreshReadings(PagesContext& ctx)
{
    showTemperature(ctx, 66, "LblElecTemp", false);
    showTemperature(ctx, 67, "LblResTemp", false);
    showTemperature(ctx, 75, "LblMatTemp", true);
    const QString raw = ctx.link.SendCommand(ctx.sensor.address, PCommand(11));
    showColumns(ctx.model, raw, "LblUncompFreq", 1, 10, 2);
    showColumns(ctx.model, raw, "LblUncompAmp", 21, 10, 0);
}

void readInto(PagesContext& ctx, int number, std::initializer_list<const char*> labels)
{
    setTexts(ctx.model, labels, FormatNumber(readParameter(ctx, number)));
}

void refreshCoefficients(PagesContext& ctx)
{
    readInto(ctx, 12, {"LblElecFreqCoeff", "lblAdvElecFreqCoeff"});
    readInto(ctx, 55, {"LblResFreqCoeff", "lblAdvResFreqCoeff"});
    readInto(ctx, 56, {"LblMatFreqCoeff", "lblAdvMatFreqCoeff"});
    if (ctx.model.visible(QStringLiteral("lblDiagAmplitude"))) {
        readInto(ctx, 57, {"LblElecAmpCoeff", "lblAdvElecAmpCoeff"});
        readInto(ctx, 58, {"LblResAmpCoeff", "lblAdvResAmpCoeff"});
        readInto(ctx, 59, {"LblMatAmpCoeff", "lblAdvMatAmpCoeff"});
    } else {
        setTexts(ctx.model, {"LblElecAmpCoeff", "lblAdvElecAmpCoeff", "LblResAmpCoeff", "lblAdvResAmpCoeff",
                             "LblMatAmpCoeff", "lblAdvMatAmpCoeff"},
                 QStringLiteral("99"));
    }
}

void refreshExtremes(PagesContext& ctx)
{
    const QString reply = ctx.link.SendCommand(ctx.sensor.address, PCommand(14));
    showColumns(ctx.model, reply, "LblMinTemp", 1, 9, 1);
    showColumns(ctx.model, reply, "LblMaxTemp", 11, 9, 1);
}

void readReference(PagesContext& ctx, int number, const char* diag, const char* adv)
{
    setTexts(ctx.model, {diag, adv}, patterned(readParameter(ctx, number), 2));
}

void refreshReferences(PagesContext& ctx)
{
    readReference(ctx, 10, "LblDiagLowFreq", "lblAdvLowFreq");
    if (ctx.model.visible(QStringLiteral("LblDiagLowAmp")))
        readReference(ctx, 39, "LblDiagLowAmp", "lblAdvLowAmp");
    readReference(ctx, 11, "LblDiagHighFreq", "lblAdvHighFreq");
    if (ctx.model.visible(QStringLiteral("LblDiagHighAmp")))
        readReference(ctx, 40, "LblDiagHighAmp", "lblAdvHighAmp");
}

// Returns whether the list may be written: a mode this program does not offer, or no answer,
// must not be overwritten by whatever the list held.
bool readMeasurementMode(PagesContext& ctx, int number, const char* list, const char* button, bool firstChannel)
{
    ControlModel& m = ctx.model;
    const QString reply = readParameter(ctx, number);
    const int item = reply == FailureText ? -1 : MeasurementModeItem(ParseIndex(reply, 5));
    const bool known = item >= 0;
    if (known) {
        m.setIndex(QString::fromLatin1(list), item);
        if (firstChannel)
            m.setText(QStringLiteral("lblMeasurementWarning"), ctx.tr("LangMeasurementWarning"));
    } else if (reply != FailureText) {
        m.setText(QStringLiteral("lblMeasurementWarning"), ctx.tr("LangMeasurementPellory"));
    }
    m.setEnabled({list, button}, known);
    return known;
}

struct ModeLocks {
    bool mode1 = true;
    bool mode2 = true;
    bool armType = true;
};

ModeLocks refreshModes(PagesContext& ctx)
{
    ModeLocks writable;
    ControlModel& m = ctx.model;
    if (!m.visible(QStringLiteral("FrameMeasurementMode")))
        return writable;
    writable.mode1 = readMeasurementMode(ctx, 38, "cbAdvMeasurementMode", "cmdMeasurementModeWrite", true);
    if (m.visible(QStringLiteral("cbAdvMeasurementMode2")))
        writable.mode2 = readMeasurementMode(ctx, 47, "cbAdvMeasurementMode2", "cmdMeasurementModeWrite2", false);
    return writable;
}

void refreshAveragingMode(PagesContext& ctx)
{
    const QString reply = readParameter(ctx, 49);
    // No answer is treated like "not supported": item 0 would otherwise stand for a mode the
    // sensor never reported.
    const bool supported = reply != QStringLiteral("?") && reply != FailureText;
    ctx.model.setEnabled({"lblAveragingMode", "CBAveragingMode", "BtnWriteAveragingMode"}, supported);
    if (supported)
        ctx.model.setIndex(QStringLiteral("CBAveragingMode"), ParseIndex(reply, 2));
}

// Returns whether the arm type may be written: with no answer the list would show "Unused"
// for an arm the sensor never reported, one click from being written.
bool refreshArmType(PagesContext& ctx)
{
    if (!ctx.model.visible(QStringLiteral("FrameCorraneArmType")))
        return true;
    const QString reply = readParameter(ctx, 79);
    // The parser turns an out-of-range code into 0, which is "Unused": not what the sensor said.
    bool isNumber = false;
    const double code = ToNumber(reply, &isNumber);
    const bool inRange = reply != FailureText && isNumber && code > -0.5 && code < 35.5;
    const int item = inRange ? ArmTypeItem(ParseIndex(reply, 36)) : -1;
    if (item >= 0)
        ctx.model.setIndex(QStringLiteral("cbCorraneArmType"), item);
    return item >= 0;
}

void enableAfterFullRefresh(PagesContext& ctx, const ModeLocks& writable)
{
    ControlModel& m = ctx.model;
    EnableControls(m, {"UploadButton", "CmdDownload", "CmdUpgrade", "cmdWater", "cmdAir", "cmdFactoryUpdate",
                       "cmdAutoCal", "CmdCoeffUpdate", "CmdOutputTest"},
                   true);
    m.setEnabled({"cbCorraneArmType", "cmdWriteCorraneArmType"}, writable.armType);
    m.setEnabled({"cbAdvMeasurementMode", "cmdMeasurementModeWrite"}, writable.mode1);
    m.setEnabled({"cbAdvMeasurementMode2", "cmdMeasurementModeWrite2"}, writable.mode2);
    m.setEnabled(QStringLiteral("BtnFactoryReset"), ctx.sensor.firmwareVersion > 1.08 && ctx.sensor.typeCode == 89);
}

void refreshEverything(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    AdaptPagesToSensorType(ctx);
    const QString name = ctx.nameLine();
    setTexts(m, {"LblNameDiag", "LblNameAdv"}, name);
    setTexts(m, {"TextAutoCal", "TextWaterFreq", "TextAirFreq", "TextWaterAmp", "TextAirAmp", "TextElecFreqCoeff",
                 "TextResFreqCoeff", "TextMatFreqCoeff", "TextElecAmpCoeff", "TextResAmpCoeff", "TextMatAmpCoeff"},
             QString());
    refreshCoefficients(ctx);
    refreshExtremes(ctx);
    refreshReferences(ctx);
    ModeLocks writable = refreshModes(ctx);
    m.setText(QStringLiteral("LblVersionNumber"), ctx.sensor.firmwareText + QLatin1Char(' '));
    m.setText(QStringLiteral("LblChecksum"), readParameter(ctx, 51));
    refreshAveragingMode(ctx);
    writable.armType = refreshArmType(ctx);
    enableAfterFullRefresh(ctx, writable);
}

// Writes each non-empty box; false when a write went unanswered.
struct BoxWrite {
    const char* box;
    const char* prefix;
    const char* label;
};

bool writeBoxes(PagesContext& ctx, std::initializer_list<BoxWrite> writes)
{
    bool answered = true;
    for (const BoxWrite& w : writes) {
        const QString text = ctx.model.text(QString::fromLatin1(w.box));
        if (text.isEmpty())
            continue;
        const QString reply = ctx.link.WriteParameter(ctx.sensor.address, QString::fromLatin1(w.prefix),
                                                      FormatNumber(text), QString::fromLatin1(w.label));
        answered = answered && reply != FailureText;
    }
    return answered;
}

// Returns false when the program closed during the wait, which then ended at once.
bool waitMs(const PagesContext& ctx, qint64 ms)
{
    Clock& clock = Clock::current();
    return !clock.waitUntil([&ctx] { return ctx.closing(); }, clock.nowMs() + ms);
}

QString exchangeOnce(PagesContext& ctx, const QString& command, int timeoutMs)
{
    ctx.link.Net_Send(ctx.sensor.address, 1, command);
    int address = -1, frameCode = -1;
    QString reply = FailureText;
    ctx.link.Net_Receive(timeoutMs, address, frameCode, reply);
    return reply;
}

void addSample(ControlModel& m, const QString& box, double sample, const QString& sampleText)
{
    if (sample == 0 || !m.visible(box))
        return;
    const QString current = m.text(box);
    if (current.isEmpty()) {
        m.setText(box, sampleText);
        return;
    }
    m.setText(box, FormatDecimals((24 * ToNumber(current) + sample) / 25, 2));
}

}  // namespace

QString PCommand(int code)
{
    return QStringLiteral("P") + QChar(code);
}

void RefreshDiagnostics(PagesContext& ctx, int level)
{
    if (level >= 2)
        refreshEverything(ctx);
    if (level >= 1)
        refreshReadings(ctx);
    refreshStatus(ctx);
}

RawSample ReadRawFrequencyAmplitude(PagesContext& ctx)
{
    const QString reply = ctx.link.SendCommand(ctx.sensor.address, PCommand(11));
    RawSample sample;
    if (!columnsReply(reply))
        return sample;
    static const QRegularExpression blanks(QStringLiteral(" +"));
    const QStringList fields = reply.trimmed().split(blanks);
    if (fields.size() >= 8) {
        sample.frequencyText = fields.at(6);
        sample.amplitudeText = fields.at(7);
        sample.frequency = ToNumber(sample.frequencyText);
        sample.amplitude = ToNumber(sample.amplitudeText);
    }
    return sample;
}

void MeasureReference(PagesContext& ctx, Reference reference)
{
    ControlModel& m = ctx.model;
    const bool water = reference == Reference::Water;
    const QString frequencyBox = water ? QStringLiteral("TextWaterFreq") : QStringLiteral("TextAirFreq");
    const QString amplitudeBox = water ? QStringLiteral("TextWaterAmp") : QStringLiteral("TextAirAmp");
    const QString progress = water ? QStringLiteral("PbWaterProgress") : QStringLiteral("PbAirProgress");
    m.setText(frequencyBox, QString());
    m.setText(amplitudeBox, QString());
    m.setRange(progress, 1, ReferenceSamples);
    m.setValue(progress, 1);
    m.show(progress);
    for (int i = 1; i <= ReferenceSamples; ++i) {
        const RawSample sample = ReadRawFrequencyAmplitude(ctx);
        addSample(m, frequencyBox, sample.frequency, sample.frequencyText);
        addSample(m, amplitudeBox, sample.amplitude, sample.amplitudeText);
        m.setValue(progress, i);
    }
    m.hide(progress);
}

void WriteFactoryValues(PagesContext& ctx)
{
    bool answered = writeBoxes(ctx, {{"TextWaterFreq", "W10", "Water (low) Frequency Value"},
                                     {"TextAirFreq", "W11", "Air (high) Frequency Value"},
                                     {"TextWaterAmp", "W39", "Water (low) Amplitude Value"},
                                     {"TextAirAmp", "W40", "Air (high) Amplitude Value"}});
    answered = ctx.link.SendAction(ctx.sensor.address, QStringLiteral("1")) != FailureText && answered;
    ctx.message(answered ? ctx.tr("LangSensor") + QLatin1Char(' ') + ctx.tr("LangWater") + QLatin1Char('/')
                               + ctx.tr("LangAir") + QLatin1Char(' ') + ctx.tr("LangWritten")
                         : ctx.tr("LangCommsError"));
    RefreshDiagnostics(ctx, 2);
}

void WriteCoefficients(PagesContext& ctx)
{
    bool answered = writeBoxes(ctx, {{"TextElecFreqCoeff", "W12", "Electronics Temperature Frequency Coeff"},
                                     {"TextResFreqCoeff", "W55", "Resonator Temperature Frequency Coeff"},
                                     {"TextMatFreqCoeff", "W56", "Material Temperature Frequency Coeff"},
                                     {"TextElecAmpCoeff", "W57", "Electronics Temperature Amplitude Coeff"},
                                     {"TextResAmpCoeff", "W58", "Resonator Temperature Amplitude Coeff"},
                                     {"TextMatAmpCoeff", "W59", "Material Temperature Amplitude Coeff"}});
    answered = ctx.link.SendAction(ctx.sensor.address, QStringLiteral("1")) != FailureText && answered;
    setTexts(ctx.model, {"TextElecFreqCoeff", "TextResFreqCoeff", "TextMatFreqCoeff", "TextElecAmpCoeff",
                         "TextResAmpCoeff", "TextMatAmpCoeff"},
             QString());
    RefreshDiagnostics(ctx, 2);
    ctx.message(answered ? ctx.tr("LangSensor") + QLatin1Char(' ') + ctx.tr("LangTempComp") + QLatin1Char(' ')
                               + ctx.tr("LangWritten")
                         : ctx.tr("LangCommsError"));
}

void RunAutoCalibration(PagesContext& ctx)
{
    ControlModel& m = ctx.model;
    const QString box = QStringLiteral("TextAutoCal");
    m.setText(box, ctx.tr("LangACStart"));
    if (!waitMs(ctx, 4000))
        return;
    if (exchangeOnce(ctx, QStringLiteral("A 5"), 1000) != QStringLiteral("!")) {
        m.setText(box, ctx.tr("LangACUA"));
        return;
    }
    m.setEnabled(QStringLiteral("cmdAutoCal"), false);
    m.setText(box, ctx.tr("LangACProgress"));
    QString reply;
    for (int poll = 0; poll < AutoCalPolls && reply != QStringLiteral("1") && reply != QStringLiteral("2"); ++poll) {
        reply = exchangeOnce(ctx, QStringLiteral("A 4"), 3000);
        if (!waitMs(ctx, 1000))
            return;
    }
    if (reply == QStringLiteral("1")) {
        m.setText(box, ctx.tr("LangACComplete"));
        RefreshDiagnostics(ctx, 2);
        // The full refresh empties the box; the outcome must stay readable.
        m.setText(box, ctx.tr("LangACComplete"));
    } else {
        m.setText(box, ctx.tr("LangAutoCal") + QLatin1Char(' ') + ctx.tr("LangFailed") + QLatin1Char(' ') + reply);
    }
    m.setEnabled(QStringLiteral("cmdAutoCal"), true);
}

void EnterDiagnosticsPage(PagesContext& ctx, int previousTab, const AdapterConnection& connection)
{
    ControlModel& m = ctx.model;
    const bool testOpen = m.visible(QStringLiteral("FrameInterface"));
    if (ctx.demonstration) {
        m.setVisible({"CmdDownload", "UploadButton"}, false);
    } else if (!testOpen) {
        m.setVisible({"CmdDownload", "UploadButton"}, true);
        EnableControls(m, {"CmdDownload", "UploadButton"}, true);
    }
    m.setVisible({"UploadProgress", "ProgressBar1"}, false);
    m.show(QStringLiteral("FrameFirmware"));
    m.setVisible(QStringLiteral("FrameEthernetAdapter"), connection.viaTcp);
    const QString anyAddress = QStringLiteral("xxx.xxx.xxx.xxx");
    m.setText(QStringLiteral("lblIPAddressDiag"), connection.viaTcp ? connection.remoteHost : anyAddress);
    m.setText(QStringLiteral("lblPortNumDiag"), connection.viaTcp ? connection.remotePort : QStringLiteral("xxxxx"));
    m.setText(QStringLiteral("lblLocalIPAddressDiag"), connection.viaTcp ? connection.localAddress : anyAddress);
    if (previousTab == 2 || previousTab == 3)
        return;
    m.setEnabled({"UploadButton", "CmdDownload", "CmdUpgrade", "cmdWater", "cmdAir", "cmdFactoryUpdate", "cmdAutoCal",
                  "cbAdvMeasurementMode", "cmdMeasurementModeWrite", "cbAdvMeasurementMode2",
                  "cmdMeasurementModeWrite2", "lblAveragingMode", "CBAveragingMode", "BtnWriteAveragingMode",
                  "cmdWriteCorraneArmType", "cbCorraneArmType", "CmdCoeffUpdate", "BtnFactoryReset"},
                 false);
    if (!testOpen)
        m.setEnabled(QStringLiteral("CmdOutputTest"), false);
}

}  // namespace dunmere
