#include "CliSession.h"

#include "sensor/SensorRecord.h"

namespace dunmere::cli {

void SearchProgress::searchProbing(int address)
{
    output_.progress().show(QStringLiteral("Searching the bus: address %1 of %2").arg(address).arg(LastBusAddress));
}

Session::Session(const Options& o, const BusChoice& choice, CliOutput& out, AcrossBuses& across)
    : options(o), output(out), busChoice(choice), acrossBuses(across), texts(o.language)
{
    link.setMessages(&messages);
    link.setTexts(&texts);
    sensors.setProbeTimeout(o.searchSpeedMs);
}

bool Session::open(int& status)
{
    status = bus.open();
    return status == ExitOk;
}

SensorBus::SearchOutcome Session::search()
{
    model.setReport(&searchProgress);
    const SensorBus::SearchOutcome outcome = sensors.SensorSearch();
    model.setReport(nullptr);
    output.progress().clear();
    return outcome;
}

void Session::showRepliesAsProgress(const QString& what)
{
    if (!output.progress().shown())
        return;
    QObject::connect(&link, &Link::traffic, &link, [this, what, replies = 0](bool outgoing, const QByteArray&) mutable {
        if (!outgoing)
            output.progress().show(QStringLiteral("%1: %2 replies").arg(what).arg(++replies));
    });
}

int parseInt(const QString& text, int low, int high, const QString& what)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        throw UsageError(QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"").arg(what).arg(low).arg(high).arg(text));
    return value;
}

int parseAddress(const QString& text) { return parseInt(text, FirstBusAddress, LastBusAddress, QStringLiteral("ADDR")); }

void needArguments(const QStringList& args, int low, int high, const QString& command)
{
    if (args.size() < low || args.size() > high)
        throw UsageError(QStringLiteral("wrong number of arguments for ") + command);
}

}  // namespace dunmere::cli
