#include "MoistureSensorProcedures.h"

#include "CalibrationNumbers.h"
#include "link/Link.h"
#include "link/Messages.h"
#include "link/NumberRules.h"
#include "link/ValueFormat.h"

#include <cmath>

namespace dunmere {

namespace {

constexpr int ReadBackPauseMs = 100;

}  // namespace

QString WireNumber(const QString& text) { return WireValue(FormatNumber(text)); }

bool ReadBackMatches(const QString& readBack, const QString& written)
{
    bool readOk = false;
    const double read = CalibrationValue(readBack, &readOk);
    const double wrote = written.toDouble();
    return readOk && std::abs(read - wrote) < 0.00005;
}

QString WrittenMessage(bool confirmed, const TextSource& texts)
{
    if (!confirmed)
        return texts.text(QStringLiteral("LangCommsError"));
    return texts.text(QStringLiteral("LangSensor")) + QLatin1Char(' ') + texts.text(QStringLiteral("LangConfiguration"))
        + QLatin1Char(' ') + texts.text(QStringLiteral("LangWritten"));
}

bool ReadDigitalAveraging(Link& link, int address)
{
    const int use = ParseIndex(link.ReadParameter(address, 9), 4);
    return use != 0;
}

bool ReadAveragingInput(Link& link, int address)
{
    const QString status = link.ReadParameter(address, 69) + QStringLiteral("0000000000");
    return status.at(6) == u'1';
}

SensorCalibration ReadSensorCalibration(Link& link, int address)
{
    SensorCalibration c;
    c.B = FormatNumber(link.ReadParameter(address, 2));
    c.C = FormatNumber(link.ReadParameter(address, 3));
    c.SSD = FormatNumber(link.ReadParameter(address, 4));
    return c;
}

std::pair<QString, QString> ReadUnscaledValues(Link& link, int address)
{
    const QString filtered = FormatNumber(link.ReadParameter(address, 64));
    const QString averaged = FormatNumber(link.ReadParameter(address, 65));
    return {filtered, averaged};
}

QString SendAveraging(Link& link, int address, bool start)
{
    return link.SendAction(address, start ? QStringLiteral("3") : QStringLiteral("2"));
}

CalibrationWrite WriteMoistureCalibration(Link& link, int address, const QString& b, const QString& c, const QString& ssd,
                                          const TextSource& texts)
{
    CalibrationWrite result;
    const QString invalid = texts.text(QStringLiteral("LangInvalid")) + QLatin1Char(' ');
    const QString bValue = WireNumber(b);
    const QString cValue = WireNumber(c);
    const QString ssdValue = ssd.isEmpty() ? QString() : WireNumber(ssd);
    // A half-written calibration is worse than none: check every value before the first write.
    if (bValue.isEmpty()) {
        result.message = invalid + QStringLiteral("B Value");
        return result;
    }
    if (cValue.isEmpty()) {
        result.message = invalid + QStringLiteral("C Value");
        return result;
    }
    if (!ssd.isEmpty() && ssdValue.isEmpty()) {
        result.message = invalid + QStringLiteral("SSD Value");
        return result;
    }
    (void)link.WriteParameter(address, QStringLiteral("W1"), QStringLiteral("0.0000"), QStringLiteral("A Value"));
    (void)link.WriteParameter(address, QStringLiteral("W2"), bValue, QStringLiteral("B Value"));
    (void)link.WriteParameter(address, QStringLiteral("W3"), cValue, QStringLiteral("C Value"));
    if (!ssdValue.isEmpty())
        (void)link.WriteParameter(address, QStringLiteral("W4"), ssdValue, QStringLiteral("SSD Value"));
    (void)link.SendAction(address, QStringLiteral("1"));
    Pause(ReadBackPauseMs);
    result.readBack = ReadSensorCalibration(link, address);
    const bool confirmed = ReadBackMatches(result.readBack.B, bValue) && ReadBackMatches(result.readBack.C, cValue)
        && (ssdValue.isEmpty() || ReadBackMatches(result.readBack.SSD, ssdValue));
    result.outcome = confirmed ? CalibrationWriteOutcome::Written : CalibrationWriteOutcome::CommsError;
    result.message = WrittenMessage(confirmed, texts);
    return result;
}

}  // namespace dunmere
