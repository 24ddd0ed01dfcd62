#include "VirtualSensor.h"

#include "LiveReplies.h"
#include "SensorCommands.h"
#include "link/Clock.h"

namespace dunmere::sim {

namespace {

constexpr int NameLength = 20;
constexpr int IdentityLength = 8;

QByteArray defaultIdentity(int address, int typeCode)
{
    return QStringLiteral("Q%1%2").arg(typeCode % 100, 2, 10, QLatin1Char('0')).arg(address * 1013 + 4057, 5, 10, QLatin1Char('0')).toLatin1().left(IdentityLength);
}

QByteArray defaultFirmware(int typeCode)
{
    return QStringLiteral("QX00%1 v1.12").arg(typeCode % 100, 2, 10, QLatin1Char('0')).toLatin1();
}

QByteArray checksumOf(const QByteArray& firmware)
{
    return QByteArray::number(qChecksum(firmware), 16).toUpper().rightJustified(4, '0');
}

quint32 seedOf(const QByteArray& identity) { return qChecksum(identity) * 2654435761u; }

// Smoothing time list: 0, 1, 2.5, 5, 7.5, 10 s by index; larger values are seconds.
double smoothingSeconds(int value)
{
    static const double table[] = {0, 1, 2.5, 5, 7.5, 10};
    return value >= 0 && value < 6 ? table[value] : double(value);
}

}  // namespace

VirtualSensor::VirtualSensor(const SensorSetup& setup)
    : address_(setup.address),
      typeCode_(setup.typeCode),
      identity_(setup.identity.isEmpty() ? defaultIdentity(setup.address, setup.typeCode)
                                         : setup.identity.leftJustified(IdentityLength, ' ', true)),
      firmwareText_(setup.firmwareText.isEmpty() ? defaultFirmware(setup.typeCode) : setup.firmwareText),
      checksumText_(setup.checksumText.isEmpty() ? checksumOf(firmwareText_) : setup.checksumText),
      frameCode_(setup.frameCode),
      parameters_(setup.typeCode),
      live_(seedOf(identity_), setup.material)
{
    setName(setup.name);
    live_.setSmoothingSeconds(smoothingSeconds(parameters_.value(14).toInt()));
}

void VirtualSensor::setName(const QByteArray& name) { name_ = name.left(NameLength); }

void VirtualSensor::setAveragingInput(bool active)
{
    if (active == averagingInput_)
        return;
    averagingInput_ = active;
    if (parameters_.value(9) != "1")
        return;
    updateLive();
    if (active)
        live_.startAveraging();
    else
        live_.stopAveraging();
}

QByteArray VirtualSensor::statusFlags() const
{
    QByteArray flags = statusFlags_;
    if (!flags.isEmpty() && live_.averaging())
        flags[0] = '1';
    return flags;
}

std::optional<QByteArray> VirtualSensor::answer(const QByteArray& command)
{
    if (restarting())
        return std::nullopt;
    updateLive();
    return SensorCommands::answer(*this, command);
}

QByteArray VirtualSensor::identification() const
{
    return identity_ + ' ' + name_.leftJustified(NameLength, ' ');
}

QByteArray VirtualSensor::readParameter(int number)
{
    const auto access = parameters_.access(number);
    if (!access || *access == ParameterAccess::Output)
        return "?";
    if (*access != ParameterAccess::Live)
        return parameters_.value(number);
    switch (number) {
    case 50: return firmwareText_;
    case 51: return checksumText_;
    case 69: return statusFlags();
    default: return liveParameterText(*this, number);
    }
}

QByteArray VirtualSensor::writeParameter(int number, const QByteArray& value)
{
    if (parameters_.write(number, value) != ParameterStore::WriteResult::Written)
        return "?";
    if (number == 14)
        live_.setSmoothingSeconds(smoothingSeconds(parameters_.value(14).toInt()));
    return "!";
}

void VirtualSensor::factoryReset()
{
    parameters_.factoryReset();
    live_.setSmoothingSeconds(smoothingSeconds(parameters_.value(14).toInt()));
}

void VirtualSensor::restart()
{
    const bool upgraded = firmware_.complete();
    if (upgraded) {
        const QByteArray found = firmware_.firmwareTextInImage();
        if (!found.isEmpty()) {
            firmwareText_ = found;
            checksumText_ = checksumOf(found);
        }
    }
    firmware_.clear();
    parameters_.reloadStored();
    if (upgraded) {
        for (int number : std::as_const(upgradeResets_))
            parameters_.resetToFactory(number);
    }
    outputTest_ = false;
    deafUntil_ = Clock::current().nowMs() + RestartMs;
}

bool VirtualSensor::restarting() const { return deafUntil_ >= 0 && Clock::current().nowMs() < deafUntil_; }

void VirtualSensor::updateLive() { live_.advanceTo(Clock::current().nowMs()); }

}  // namespace dunmere::sim
