#include "SimConsole.h"

#include "SimBus.h"

#include <QRegularExpression>
#include <QStringList>

namespace dunmere::sim {

namespace {

QString describe(const FaultSet& f)
{
    QStringList names;
    if (f.silence) names << QStringLiteral("silence");
    if (f.latencyMs) names << QStringLiteral("latency=%1").arg(f.latencyMs);
    if (f.noiseBeforeStx) names << QStringLiteral("noise");
    if (f.wrongChecksum) names << QStringLiteral("checksum");
    if (f.bitFlip) names << QStringLiteral("flip");
    if (f.doubleBitFlip) names << QStringLiteral("flip2");
    if (f.droppedByte) names << QStringLiteral("drop");
    if (f.secondStx) names << QStringLiteral("stx");
    if (f.lateReply) names << QStringLiteral("late");
    if (f.secondMaster) names << QStringLiteral("master");
    if (f.closeMidReply) names << QStringLiteral("close");
    return names.isEmpty() ? QStringLiteral("none") : names.join(QLatin1Char(','));
}

}  // namespace

bool applyFaultSpec(SimBus& bus, const QString& spec, QString& error)
{
    for (const QString& rawItem : spec.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString item = rawItem.trimmed();
        int address = 0;
        QString name = item;
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        if (colon > 0) {
            bool ok = false;
            address = item.left(colon).toInt(&ok);
            if (!ok || address < 1 || address > 16) {
                error = QStringLiteral("\"%1\": the address must be 1 to 16").arg(item);
                return false;
            }
            name = item.mid(colon + 1);
        }
        FaultSet faults = address ? bus.sensorFaults(address) : bus.busFaults();
        if (!parseFault(name, faults, error))
            return false;
        if (address && faults.secondMaster) {
            error = QStringLiteral("\"%1\": a second master is on the whole line, not on one sensor").arg(item);
            return false;
        }
        if (!address)
            bus.setBusFaults(faults);
        else if (!bus.setSensorFaults(address, faults)) {
            error = QStringLiteral("no sensor at address %1").arg(address);
            return false;
        }
    }
    return true;
}

QString SimConsole::help()
{
    return QStringLiteral(
        "list                         sensors and faults\n"
        "fault [ADDR:]NAME[,...]      switch a fault on (none clears); names: %1\n"
        "material ADDR UNSCALED       the material in front of a sensor (0 air ... 100 water)\n"
        "input ADDR on|off            the average/hold digital input\n"
        "block ADDR N 0|1|10|11|silence|? [TIMES] how firmware block N is answered\n"
        "autocal ADDR ok|fail [MS]    outcome and length of the automatic calibration\n"
        "flags ADDR 0010000000        status flags (parameter 69)\n"
        "quit                         stop the simulator")
        .arg(faultNames());
}

QString SimConsole::execute(const QString& line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString command = words.first().toLower();
    if (command == u"help")
        return help();
    if (command == u"list")
        return list();
    if (command == u"fault") {
        QString error;
        if (words.size() < 2 || !applyFaultSpec(bus_, words.mid(1).join(QString()), error))
            return error.isEmpty() ? QStringLiteral("fault needs [ADDR:]NAME") : error;
        return list();
    }
    if (command == u"material")
        return material(words);
    if (command == u"input")
        return input(words);
    if (command == u"block")
        return block(words);
    if (command == u"autocal")
        return autoCalibration(words);
    if (command == u"flags")
        return flags(words);
    return QStringLiteral("unknown command \"%1\"; try help").arg(words.first());
}

QString SimConsole::list() const
{
    QStringList lines;
    lines << QStringLiteral("line faults: %1").arg(describe(bus_.busFaults()));
    for (VirtualSensor* s : bus_.sensors()) {
        lines << QStringLiteral("%1: type %2, %3 \"%4\", %5, faults: %6")
                     .arg(s->address())
                     .arg(s->typeCode())
                     .arg(QString::fromLatin1(s->identity()), QString::fromLatin1(s->name()),
                          QString::fromLatin1(s->firmwareText()), describe(bus_.sensorFaults(s->address())));
    }
    return lines.join(QLatin1Char('\n'));
}

namespace {

VirtualSensor* sensorOf(SimBus& bus, const QStringList& words, int needed, QString& error)
{
    if (words.size() < needed) {
        error = QStringLiteral("%1: too few words; try help").arg(words.first());
        return nullptr;
    }
    VirtualSensor* sensor = bus.sensorAt(words[1].toInt());
    if (!sensor)
        error = QStringLiteral("no sensor at address %1").arg(words[1]);
    return sensor;
}

}  // namespace

QString SimConsole::material(const QStringList& words)
{
    QString error;
    VirtualSensor* s = sensorOf(bus_, words, 3, error);
    bool ok = false;
    const double value = s ? words[2].toDouble(&ok) : 0;
    if (!s || !ok || value < -20 || value > 120)
        return s ? QStringLiteral("the unscaled value must be a number from -20 to 120") : error;
    s->updateLive();
    s->setMaterial(value);
    return QStringLiteral("sensor %1: material %2").arg(s->address()).arg(value);
}

QString SimConsole::input(const QStringList& words)
{
    QString error;
    VirtualSensor* s = sensorOf(bus_, words, 3, error);
    if (!s || (words[2] != u"on" && words[2] != u"off"))
        return s ? QStringLiteral("input ADDR on|off") : error;
    s->setAveragingInput(words[2] == u"on");
    return QStringLiteral("sensor %1: input %2").arg(s->address()).arg(words[2]);
}

QString SimConsole::block(const QStringList& words)
{
    QString error;
    VirtualSensor* s = sensorOf(bus_, words, 4, error);
    if (!s)
        return error;
    bool ok = false;
    const int number = words[2].toInt(&ok);
    if (!ok || number < 0 || number >= FirmwareReceiver::BlockCount)
        return QStringLiteral("the block number must be 0 to 511");
    const auto answer = FirmwareReceiver::parseBlockAnswer(words[3]);
    if (!answer)
        return QStringLiteral("a block is answered 0, 1, 10, 11, silence or ?");
    const int times = words.size() > 4 ? words[4].toInt() : -1;
    s->firmware().setBlockAnswer(number, *answer, times > 0 ? times : -1);
    return QStringLiteral("sensor %1: block %2 answered %3").arg(s->address()).arg(number).arg(words[3].toLower());
}

QString SimConsole::autoCalibration(const QStringList& words)
{
    QString error;
    VirtualSensor* s = sensorOf(bus_, words, 3, error);
    if (!s || (words[2] != u"ok" && words[2] != u"fail"))
        return s ? QStringLiteral("autocal ADDR ok|fail [MS]") : error;
    s->autoCalibration().setSucceeds(words[2] == u"ok");
    if (words.size() > 3 && words[3].toLongLong() > 0)
        s->autoCalibration().setDurationMs(words[3].toLongLong());
    return QStringLiteral("sensor %1: automatic calibration will %2").arg(s->address()).arg(words[2] == u"ok" ? "succeed" : "fail");
}

QString SimConsole::flags(const QStringList& words)
{
    QString error;
    VirtualSensor* s = sensorOf(bus_, words, 3, error);
    const QString f = s ? words[2] : QString();
    if (!s || f.size() > 32 || f.contains(QRegularExpression(QStringLiteral("[^01]"))))
        return s ? QStringLiteral("flags are up to 32 characters 0 and 1") : error;
    s->setStatusFlags(f.toLatin1());
    return QStringLiteral("sensor %1: flags %2").arg(s->address()).arg(f);
}

}  // namespace dunmere::sim
