#include "Scenario.h"

#include "SimBus.h"
#include "SimConsole.h"
#include "link/Clock.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

namespace dunmere::sim {

namespace {

bool readAddress4(const QString& text, std::array<quint8, 4>& out)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const uint v = parts[i].toUInt(&ok);
        if (!ok || v > 255)
            return false;
        out[i] = quint8(v);
    }
    return true;
}

bool readHardwareAddress(const QString& text, std::array<quint8, 6>& out)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        const uint v = parts[i].toUInt(&ok, 16);
        if (!ok || v > 255)
            return false;
        out[i] = quint8(v);
    }
    return true;
}

bool readAdapter(const QJsonObject& o, ScenarioOptions& options, QString& error)
{
    AdapterSettings a;
    a.automatic = o.value(u"automatic").toBool(false);
    if (o.contains(u"gateway") && !readAddress4(o.value(u"gateway").toString(), a.gateway)) {
        error = QStringLiteral("adapter gateway is not a dotted address");
        return false;
    }
    const int port = o.value(u"tcpPort").toInt(a.tcpPort);
    if (port < 1 || port > 65535) {
        error = QStringLiteral("adapter tcpPort must be 1 to 65535");
        return false;
    }
    a.tcpPort = quint16(port);
    if (o.contains(u"hardwareAddress") && !readHardwareAddress(o.value(u"hardwareAddress").toString(), a.hardwareAddress)) {
        error = QStringLiteral("adapter hardwareAddress must be six hexadecimal groups joined by \":\"");
        return false;
    }
    options.adapter = a;
    options.adapterApplyDelayMs = o.value(u"applyDelayMs").toInteger(options.adapterApplyDelayMs);
    return true;
}

SensorSetup setupOf(const QJsonObject& o)
{
    SensorSetup s;
    s.address = o.value(u"address").toInt(0);
    s.typeCode = o.value(u"type").toInt(89);
    s.identity = o.value(u"identity").toString().toLatin1();
    s.name = o.value(u"name").toString().toLatin1();
    s.firmwareText = o.value(u"firmware").toString().toLatin1();
    s.checksumText = o.value(u"checksum").toString().toLatin1();
    s.material = o.value(u"material").toDouble(s.material);
    s.frameCode = o.value(u"frameCode").toInt(2);
    return s;
}

bool readBlocks(const QJsonArray& blocks, VirtualSensor& sensor, QString& error)
{
    for (const QJsonValue& v : blocks) {
        const QJsonObject b = v.toObject();
        const int number = b.value(u"block").toInt(-1);
        const auto answer = FirmwareReceiver::parseBlockAnswer(b.value(u"answer").toString());
        if (number < 0 || number >= FirmwareReceiver::BlockCount || !answer) {
            error = QStringLiteral("sensor %1: a block needs a number 0-511 and an answer 0, 1, 10, 11, silence or ?").arg(sensor.address());
            return false;
        }
        sensor.firmware().setBlockAnswer(number, *answer, b.value(u"times").toInt(-1));
    }
    return true;
}

void scheduleMaterialSteps(const QJsonArray& steps, SimBus& bus, int address)
{
    auto& clock = Clock::current();
    for (const QJsonValue& v : steps) {
        const QJsonObject step = v.toObject();
        const double material = step.value(u"material").toDouble();
        clock.schedule(clock.nowMs() + step.value(u"atMs").toInteger(), [bus = QPointer<SimBus>(&bus), address, material] {
            if (VirtualSensor* s = bus ? bus->sensorAt(address) : nullptr) {
                s->updateLive();
                s->setMaterial(material);
            }
        }, Clock::Runs::AlsoDuringSleep);
    }
}

bool readSensor(const QJsonObject& o, SimBus& bus, QString& error)
{
    const SensorSetup setup = setupOf(o);
    if ((o.contains(u"identity") && setup.identity.size() != 8) || setup.name.size() > 20 || setup.typeCode < 0
        || setup.typeCode > 99) {
        error = QStringLiteral("sensor %1: the identity must be 8 characters, the name up to 20, the type 0 to 99")
                    .arg(setup.address);
        return false;
    }
    if (bus.sensorAt(setup.address)) {
        error = QStringLiteral("two sensors at address %1").arg(setup.address);
        return false;
    }
    VirtualSensor* sensor = bus.addSensor(setup);
    if (!sensor) {
        error = QStringLiteral("sensor address %1 is not 1 to 16, or the line is full").arg(setup.address);
        return false;
    }
    const QJsonObject parameters = o.value(u"parameters").toObject();
    for (auto it = parameters.begin(); it != parameters.end(); ++it) {
        bool ok = false;
        const int number = it.key().toInt(&ok);
        if (!ok) {
            error = QStringLiteral("sensor %1: parameter \"%2\" is not a number").arg(setup.address).arg(it.key());
            return false;
        }
        // null removes a parameter from the register, a text sets or adds it.
        if (it.value().isNull())
            sensor->parameters().remove(number);
        else
            sensor->parameters().define(number, it.value().toVariant().toString().toLatin1());
    }
    if (o.contains(u"statusFlags"))
        sensor->setStatusFlags(o.value(u"statusFlags").toString().toLatin1());
    const QJsonObject autoCal = o.value(u"autoCalibration").toObject();
    sensor->autoCalibration().setSucceeds(autoCal.value(u"succeeds").toBool(true));
    if (autoCal.contains(u"durationMs"))
        sensor->autoCalibration().setDurationMs(autoCal.value(u"durationMs").toInteger());
    if (!readBlocks(o.value(u"blocks").toArray(), *sensor, error))
        return false;
    scheduleMaterialSteps(o.value(u"materialSteps").toArray(), bus, setup.address);
    const QString faults = o.value(u"faults").toString();
    if (!faults.isEmpty()) {
        QString spec;
        for (const QString& f : faults.split(QLatin1Char(','), Qt::SkipEmptyParts))
            spec += QString::number(setup.address) + QLatin1Char(':') + f + QLatin1Char(',');
        return applyFaultSpec(bus, spec, error);
    }
    return true;
}

}  // namespace

bool loadScenario(const QByteArray& json, SimBus& bus, ScenarioOptions& options, QString& error)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        error = QStringLiteral("not a JSON object: %1").arg(parseError.errorString());
        return false;
    }
    const QJsonObject root = doc.object();
    for (const QJsonValue& v : root.value(u"sensors").toArray()) {
        if (!readSensor(v.toObject(), bus, error))
            return false;
    }
    if (root.contains(u"baud"))
        options.baud = root.value(u"baud").toInt();
    if (root.contains(u"latencyMs"))
        options.latencyMs = root.value(u"latencyMs").toInteger();
    options.tcp = root.value(u"tcp").toString(options.tcp);
    options.pty = root.value(u"pty").toBool(options.pty);
    options.adapterUdp = root.value(u"adapterUdp").toString(options.adapterUdp);
    if (root.contains(u"adapter") && !readAdapter(root.value(u"adapter").toObject(), options, error))
        return false;
    const QString faults = root.value(u"faults").toString();
    return faults.isEmpty() || applyFaultSpec(bus, faults, error);
}

}  // namespace dunmere::sim
