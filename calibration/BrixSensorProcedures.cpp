#include "BrixSensorProcedures.h"

#include "link/Link.h"
#include "link/Messages.h"
#include "link/ValueFormat.h"

namespace dunmere {

namespace {

constexpr int FirstParameter = 25;
constexpr int ReadBackPauseMs = 100;
const char* const ValueNames[] = {"A Value", "B Value", "C Value", "SSD Value"};

}  // namespace

BrixCalibrationWrite WriteBrixCalibration(Link& link, int address, const std::array<QString, 4>& values,
                                          const TextSource& texts)
{
    BrixCalibrationWrite result;
    std::array<QString, 4> wire;
    for (size_t i = 0; i < wire.size(); ++i) {
        wire[i] = WireNumber(values[i]);
        if (wire[i].isEmpty()) {
            result.message = texts.text(QStringLiteral("LangInvalid")) + QLatin1Char(' ') + QString::fromLatin1(ValueNames[i]);
            return result;
        }
    }
    for (size_t i = 0; i < wire.size(); ++i) {
        const QString prefix = QStringLiteral("W") + QString::number(FirstParameter + int(i));
        (void)link.WriteParameter(address, prefix, wire[i], QString::fromLatin1(ValueNames[i]));
    }
    (void)link.SendAction(address, QStringLiteral("1"));
    Pause(ReadBackPauseMs);
    bool confirmed = true;
    for (size_t i = 0; i < wire.size(); ++i) {
        result.readBack[i] = FormatNumber(link.ReadParameter(address, FirstParameter + int(i)));
        confirmed = confirmed && ReadBackMatches(result.readBack[i], wire[i]);
    }
    result.outcome = confirmed ? CalibrationWriteOutcome::Written : CalibrationWriteOutcome::CommsError;
    result.message = WrittenMessage(confirmed, texts);
    return result;
}

}  // namespace dunmere
