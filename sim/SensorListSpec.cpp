#include "SensorListSpec.h"

#include "SimBus.h"

#include <QSet>

namespace dunmere::sim {

namespace {

constexpr int IdentityLength = 8;
constexpr int NameLength = 20;

bool printable(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

QString parseEntry(const QString& entry, SensorSetup& setup)
{
    const QStringList parts = entry.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 4)
        return QStringLiteral("\"%1\" is not address:type[:IDENTITY[:Name]]").arg(entry);
    bool ok = false;
    setup.address = parts[0].trimmed().toInt(&ok);
    if (!ok || setup.address < 1 || setup.address > 16)
        return QStringLiteral("\"%1\": the address must be 1 to 16").arg(entry);
    setup.typeCode = parts[1].trimmed().toInt(&ok);
    if (!ok || setup.typeCode < 0 || setup.typeCode > 99)
        return QStringLiteral("\"%1\": the type code must be 0 to 99").arg(entry);
    if (parts.size() > 2) {
        const QString identity = parts[2];
        if (identity.size() != IdentityLength || !printable(identity))
            return QStringLiteral("\"%1\": the identity must be 8 printable characters").arg(entry);
        setup.identity = identity.toLatin1();
    }
    if (parts.size() > 3) {
        const QString name = parts[3];
        if (name.size() > NameLength || !printable(name))
            return QStringLiteral("\"%1\": the name must be up to 20 printable characters").arg(entry);
        setup.name = name.toLatin1();
    }
    return {};
}

SensorSetup demo(int address, int type, const char* identity, const char* name, const char* firmware,
                 const char* checksum, double material)
{
    SensorSetup s;
    s.address = address;
    s.typeCode = type;
    s.identity = identity;
    s.name = name;
    s.firmwareText = firmware;
    s.checksumText = checksum;
    s.material = material;
    return s;
}

}  // namespace

SensorListResult parseSensorList(const QString& spec)
{
    SensorListResult result;
    const QStringList entries = spec.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (entries.isEmpty()) {
        result.error = QStringLiteral("the sensor list is empty");
        return result;
    }
    if (entries.size() > SimBus::MaxSensors) {
        result.error = QStringLiteral("at most 16 sensors share a line");
        return result;
    }
    QSet<int> addresses;
    for (const QString& entry : entries) {
        SensorSetup setup;
        result.error = parseEntry(entry.trimmed(), setup);
        if (result.error.isEmpty() && addresses.contains(setup.address))
            result.error = QStringLiteral("address %1 is given twice").arg(setup.address);
        if (!result.error.isEmpty()) {
            result.sensors.clear();
            return result;
        }
        addresses.insert(setup.address);
        result.sensors.append(setup);
    }
    return result;
}

QList<SensorSetup> demoSensors()
{
    return {
        demo(1, 89, "Q8904213", "Mixer 1 inlet", "QX0089 v1.12", "7A3C", 38.0),
        demo(2, 77, "Q7705226", "Bin 3 outlet", "QX0077 v2.10", "51E0", 52.0),
        demo(5, 45, "Q4509122", "Conveyor belt", "QX0045 v1.60", "C40B", 24.0),
    };
}

bool populate(SimBus& bus, const QList<SensorSetup>& sensors)
{
    bool all = true;
    for (const SensorSetup& s : sensors)
        all = bus.addSensor(s) != nullptr && all;
    return all;
}

void buildDemoBus(SimBus& bus)
{
    // The demo list always fits an empty line.
    [[maybe_unused]] const bool added = populate(bus, demoSensors());
}

bool buildSimulatedBus(SimBus& bus, const QString& spec, QString& error)
{
    if (spec.isEmpty()) {
        buildDemoBus(bus);
        return true;
    }
    const SensorListResult list = parseSensorList(spec);
    if (!list.ok()) {
        error = list.error;
        return false;
    }
    if (!populate(bus, list.sensors)) {
        error = QStringLiteral("more than one sensor at an address");
        return false;
    }
    return true;
}

}  // namespace dunmere::sim
