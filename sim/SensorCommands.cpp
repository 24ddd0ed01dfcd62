#include "SensorCommands.h"

#include "LiveReplies.h"
#include "SensorTypes.h"
#include "VirtualSensor.h"
#include "link/Clock.h"

#include <optional>

namespace dunmere::sim::SensorCommands {

namespace {

const QByteArray NotRecognised = "?";
const QByteArray Done = "!";

std::optional<int> decimal(const QByteArray& text)
{
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    return text.toInt();
}

// "R64", "R 79".
QByteArray read(VirtualSensor& sensor, const QByteArray& rest)
{
    const auto number = decimal(rest.trimmed());
    if (!number)
        return NotRecognised;
    if (*number == 100 || *number == 117) {
        if (!sensor.parameters().has(*number))
            return NotRecognised;
        return rawBlock(sensor, *number == 100 ? 1 : 2);
    }
    return sensor.readParameter(*number);
}

// "W12 1.5", "W 12 1.5" (the restore's form), "W31 2560".
QByteArray write(VirtualSensor& sensor, const QByteArray& rest)
{
    qsizetype i = 0;
    while (i < rest.size() && rest[i] == ' ')
        ++i;
    const qsizetype digitsStart = i;
    while (i < rest.size() && rest[i] >= '0' && rest[i] <= '9')
        ++i;
    const auto number = decimal(rest.mid(digitsStart, i - digitsStart));
    if (!number || i >= rest.size() || rest[i] != ' ')
        return NotRecognised;
    const QByteArray value = rest.mid(i + 1);
    if ((*number == 31 || *number == 37) && !sensor.inOutputTest())
        return NotRecognised;
    return sensor.writeParameter(*number, value);
}

QByteArray action(VirtualSensor& sensor, const QByteArray& rest)
{
    const QByteArray code = rest.trimmed();
    const qint64 now = Clock::current().nowMs();
    if (code == "1") {
        sensor.parameters().store();
        return Done;
    }
    if (code == "14")
        return hasFactoryReset(sensor.typeCode()) ? Done : NotRecognised;
    if (code == "3" || code == "2") {
        if (code == "3")
            sensor.live().startAveraging();
        else
            sensor.live().stopAveraging();
        return Done;
    }
    if (!hasAutoCalibration(sensor.typeCode()))
        return NotRecognised;
    if (code == "4")
        return sensor.autoCalibration().state(now);
    if (code == "5")
        return sensor.autoCalibration().start(now) ? Done : NotRecognised;
    return NotRecognised;
}

// Identity, blank, two-digit address, four blanks, name.
QByteArray changeAddress(VirtualSensor& sensor, const QByteArray& rest)
{
    if (rest.size() < 15 || rest.left(8) != sensor.identity() || rest[8] != ' ' || rest.mid(11, 4) != "    ")
        return NotRecognised;
    const auto address = decimal(rest.mid(9, 2));
    if (!address || *address < 1 || *address > 16)
        return NotRecognised;
    QByteArray name = rest.mid(15);
    while (name.endsWith(' '))
        name.chop(1);
    sensor.setName(name);
    sensor.setAddress(*address);
    return Done;
}

QByteArray factoryReset(VirtualSensor& sensor, const QByteArray& rest)
{
    if (!hasFactoryReset(sensor.typeCode()) || rest != sensor.identity())
        return NotRecognised;
    sensor.factoryReset();
    return Done;
}

std::optional<QByteArray> subCommand(VirtualSensor& sensor, char code, const QByteArray& rest)
{
    switch (code) {
    case Identify: return sensor.identification();
    case Sweep: return decimal(rest) && rest.size() == 5 ? sweep(sensor) : NotRecognised;
    case LiveBlock: return liveBlock(sensor);
    case TrendBlock: return trendBlock(sensor);
    case Extremes: return extremesBlock(sensor);
    case OutputTest:
        sensor.enterOutputTest();
        return Done;
    case ChangeAddress: return changeAddress(sensor, rest);
    case FirmwareBlock: return sensor.firmware().receiveBlock(rest);
    case Restart:
        if (rest != RestartWords || sensor.refusesRestart())
            return NotRecognised;
        sensor.restart();
        return std::nullopt;
    case FactoryReset: return factoryReset(sensor, rest);
    default: return NotRecognised;
    }
}

}  // namespace

std::optional<QByteArray> answer(VirtualSensor& sensor, const QByteArray& command)
{
    if (command.isEmpty())
        return NotRecognised;
    const QByteArray rest = command.mid(1);
    switch (command[0]) {
    case 'R': return read(sensor, rest);
    case 'W': return write(sensor, rest);
    case 'A': return action(sensor, rest);
    case 'P':
        if (rest.isEmpty())
            return NotRecognised;
        return subCommand(sensor, rest[0], rest.mid(1));
    default: return NotRecognised;
    }
}

}  // namespace dunmere::sim::SensorCommands
