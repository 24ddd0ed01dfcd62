#include "CliCommands.h"

#include "CliBus.h"
#include "CliConfigFileCommands.h"
#include "CliTexts.h"

#include "link/Clock.h"
#include "link/DataFolder.h"
#include "link/Link.h"
#include "link/Settings.h"
#include "link/Transport.h"
#include "link/ValueFormat.h"
#include "sensor/ConfigSnapshot.h"
#include "sensor/SensorRecord.h"
#include "sensor/LiveReadings.h"
#include "sensor/ParameterRegister.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"
#include "shell/pages/core/CliPageCommands.h"

#include <QFileInfo>
#include <QMap>
#include <QTextStream>
#include <cctype>
#include <cstdio>
#include <functional>

namespace dunmere::cli {

namespace {

constexpr int WatchIntervalMs = 200;

class UsageError {
public:
    explicit UsageError(QString text) : text(std::move(text)) {}
    QString text;
};

void printLine(const QString& text)
{
    std::fwrite(text.toLocal8Bit().constData(), 1, size_t(text.toLocal8Bit().size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Replies are bytes; they go out as they came.
void printReply(const QString& reply)
{
    const QByteArray bytes = reply.toLatin1();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void complain(const QString& text) { std::fprintf(stderr, "dunmere-cli: %s\n", text.toLocal8Bit().constData()); }

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

// Everything one command needs; the bus opens once the arguments have been checked.
struct Session {
    const Options& options;
    Link link;
    IniTexts texts;
    StderrMessages messages;
    CliBus bus{link, options};
    SensorModel model;
    SensorBus sensors{link, model, &messages, &texts};

    explicit Session(const Options& o) : options(o)
    {
        link.setMessages(&messages);
        link.setTexts(&texts);
        sensors.setProbeTimeout(o.searchSpeedMs);
    }
};

using CommandFn = std::function<int(Session&, const QStringList&)>;

int search(Session& s, const QStringList& args)
{
    needArguments(args, 0, 0, QStringLiteral("search"));
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const auto outcome = s.sensors.SensorSearch();
    bool failure = outcome != SensorBus::SearchOutcome::Found;
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a) {
        const SensorRecord& r = s.model.SensorTable[a];
        if (r.FoundAddress == 0)
            continue;
        failure = failure || r.Identity == FailureText || r.FirmwareText == FailureText;
        printLine(QStringList{QString::number(a), r.Identity, r.Name, r.FirmwareText, QString::number(r.TypeCode),
                              QString::number(r.FirmwareVersion, 'f', 2)}
                      .join(QLatin1Char('\t')));
    }
    return failure ? ExitFailure : ExitOk;
}

int read(Session& s, const QStringList& args)
{
    needArguments(args, 2, 64, QStringLiteral("read"));
    const int address = parseAddress(args[0]);
    QList<int> numbers;
    for (qsizetype i = 1; i < args.size(); ++i)
        numbers.append(parseInt(args[i], 0, 999, QStringLiteral("N")));
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    bool failure = false;
    for (int n : numbers) {
        const QString reply = s.link.ReadParameter(address, n);
        failure = failure || reply == FailureText;
        printReply(reply);
    }
    return failure ? ExitFailure : ExitOk;
}

// The value text a parameter is written with, checked against its kind.
QString writableValue(const ParameterInfo& p, const QString& value)
{
    switch (p.kind) {
    case ParameterKind::Number: {
        const QString formatted = FormatNumber(value);
        if (formatted.isEmpty())
            throw UsageError(QStringLiteral("parameter %1 takes a number, not \"%2\"").arg(p.number).arg(value));
        return formatted;
    }
    case ParameterKind::Index:
    case ParameterKind::Code:
        return QString::number(parseInt(value, 0, qMax(p.count, p.readLimit) - 1, QStringLiteral("VALUE")));
    case ParameterKind::Text:
    case ParameterKind::Bytes:
        break;
    }
    throw UsageError(QStringLiteral("parameter %1 is not written").arg(p.number));
}

int write(Session& s, const QStringList& args)
{
    needArguments(args, 3, 3, QStringLiteral("write"));
    const int address = parseAddress(args[0]);
    const int number = parseInt(args[1], 0, 999, QStringLiteral("N"));
    const ParameterInfo* p = FindParameter(number);
    if (!p || !p->writeCommand)
        throw UsageError(QStringLiteral("parameter %1 is not one the program writes").arg(number));
    const QString value = writableValue(*p, args[2]);
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const QString prefix = QString::fromLatin1(p->writeCommand);
    const QString reply = s.link.WriteParameter(address, prefix, value, prefix);
    printReply(reply);
    return reply == FailureText ? ExitFailure : ExitOk;
}

int command(Session& s, const QStringList& args)
{
    needArguments(args, 2, 2, QStringLiteral("command"));
    const int address = parseAddress(args[0]);
    QString text, error;
    if (!unescapeCommandText(args[1], text, error))
        throw UsageError(error);
    if (text.isEmpty())
        throw UsageError(QStringLiteral("TEXT is empty"));
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const QString reply = s.link.SendCommand(address, text);
    printReply(reply);
    return reply == FailureText ? ExitFailure : ExitOk;
}

int action(Session& s, const QStringList& args)
{
    needArguments(args, 2, 2, QStringLiteral("action"));
    const int address = parseAddress(args[0]);
    if (args[1].isEmpty() || !FitsOnTheBus(args[1]))
        throw UsageError(QStringLiteral("CODE must be plain text, such as 1"));
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const QString reply = s.link.SendAction(address, args[1]);
    printReply(reply);
    return reply == FailureText ? ExitFailure : ExitOk;
}

int snapshot(Session& s, const QStringList& args)
{
    needArguments(args, 1, 1, QStringLiteral("snapshot"));
    const int address = parseAddress(args[0]);
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(s.link, address, ConfigSnapshot::Before);
    for (const QString& value : snapshot.values(ConfigSnapshot::Before))
        printReply(value);
    return snapshot.readFailed(ConfigSnapshot::Before) ? ExitFailure : ExitOk;
}

// Searches and puts the sensor at address into a display row, as a user would tick its box.
// -1 when the search did not find it.
int rowFor(Session& s, int address)
{
    if (s.sensors.SensorSearch() != SensorBus::SearchOutcome::Found || s.model.SensorTable[address].FoundAddress == 0) {
        complain(QStringLiteral("no sensor found at address %1").arg(address));
        return -1;
    }
    if (s.model.rowOf(address) < 0) {
        if (s.model.SensorRowCount() == SensorModel::RowCount)
            s.model.CheckBoxClicked(s.model.SensorRows(SensorModel::RowCount - 1) - 1, false);
        s.model.CheckBoxClicked(address - 1, true);
    }
    return s.model.rowOf(address);
}

int changeStatus(const SensorBus::AddressChangeResult& result)
{
    const bool done = result.outcome == SensorBus::AddressChange::Renamed || result.outcome == SensorBus::AddressChange::Moved;
    return done && !result.failureReply ? ExitOk : ExitFailure;
}

int rename(Session& s, const QStringList& args)
{
    needArguments(args, 2, 2, QStringLiteral("rename"));
    const int address = parseAddress(args[0]);
    const QString& name = args[1];
    if (name.size() > SensorNameLength || !FitsOnTheBus(name))
        throw UsageError(QStringLiteral("NAME must be plain text of up to 20 characters"));
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const int r = rowFor(s, address);
    if (r < 0)
        return ExitFailure;
    s.model.setRowName(r, name);
    return changeStatus(s.sensors.UpdateSensorAddr(r));
}

int move(Session& s, const QStringList& args)
{
    needArguments(args, 2, 2, QStringLiteral("move"));
    const int address = parseAddress(args[0]);
    const int newAddress = parseInt(args[1], FirstBusAddress, LastBusAddress, QStringLiteral("NEWADDR"));
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const int r = rowFor(s, address);
    if (r < 0)
        return ExitFailure;
    s.model.setRowListItem(r, newAddress - 1);
    return changeStatus(s.sensors.UpdateSensorAddr(r));
}

int watch(Session& s, const QStringList& args)
{
    if (args.isEmpty())
        throw UsageError(QStringLiteral("watch needs ADDR"));
    const int address = parseAddress(args[0]);
    int valueIndex = 0;
    int tempIndex = -1;
    int count = 0;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            throw UsageError(args[i] + QStringLiteral(" needs a value"));
        if (args[i] == QLatin1String("--value"))
            valueIndex = parseInt(args[i + 1], 0, 8, QStringLiteral("--value"));
        else if (args[i] == QLatin1String("--temp"))
            tempIndex = parseInt(args[i + 1], 0, 8, QStringLiteral("--temp"));
        else if (args[i] == QLatin1String("--count"))
            count = parseInt(args[i + 1], 1, 1000000, QStringLiteral("--count"));
        else
            throw UsageError(QStringLiteral("unknown watch option ") + args[i]);
    }
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    // The lists' meaning follows the sensor's type, as on the page.
    SensorRecord record;
    record.FirmwareText = s.link.ReadParameter(address, 50);
    ParseFirmwareText(record);
    const bool secondChannel = HasSecondChannel(record.TypeCode);
    if (tempIndex < 0)
        tempIndex = secondChannel ? 5 : 4;  // the electronics temperature
    if (!LiveValueFor(valueIndex, secondChannel) || !LiveValueFor(tempIndex, secondChannel))
        throw UsageError(QStringLiteral("no such value list position for this sensor"));
    bool failure = record.FirmwareText == FailureText;
    auto& clock = Clock::current();
    for (int line = 0; count == 0 || line < count; ++line) {
        if (line > 0)
            clock.waitUntil([] { return false; }, clock.nowMs() + WatchIntervalMs);
        const LiveReading reading = ReadLiveValues(s.link, address, valueIndex, tempIndex, secondChannel);
        failure = failure || reading.failed;
        printLine(reading.reading + QLatin1Char('\t') + reading.temp);
    }
    return failure ? ExitFailure : ExitOk;
}

// The page commands run the Configuration, Diagnostics and Advanced pages' own procedures.
CommandFn pageCommand(const char* name)
{
    return [name](Session& s, const QStringList& args) {
        if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
            return int(opened);
        QTextStream out(stdout);
        QTextStream err(stderr);
        const int edition = ReadSetting(QStringLiteral("Settings"), QStringLiteral("Type"), ConfigFilePath()) == QLatin1String("1");
        CliPageEnvironment env{s.link, s.texts, s.messages, out, err, edition};
        return RunPageCommand(env, QStringList{QString::fromLatin1(name)} + args);
    };
}

bool isAddress(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= FirstBusAddress && value <= LastBusAddress;
}

// save-config, restore-config and diff-config; a bus is opened only when an address is given.
int configFileCommand(Session& s, const QString& name, const QStringList& args)
{
    needArguments(args, 2, 2, name);
    const bool addressFirst = name != QLatin1String("diff-config");
    const QString addressText = addressFirst ? args[0] : args[1];
    const QString file = addressFirst ? args[1] : args[0];
    const bool withSensor = addressFirst || isAddress(addressText) || !QFileInfo::exists(addressText);
    const int address = withSensor ? parseAddress(addressText) : 0;
    if (withSensor) {
        if (s.options.bus == Options::Bus::None)
            throw UsageError(QStringLiteral("choose a bus: --tcp HOST:PORT, --serial N|PATH or --simulate SPEC"));
        if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
            return opened;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int edition = ReadSetting(QStringLiteral("Settings"), QStringLiteral("Type"), ConfigFilePath()) == QLatin1String("1");
    ConfigFileEnvironment env{s.link, s.texts, s.texts.language(), s.texts.path(), s.messages, edition, out, err};
    if (name == QLatin1String("save-config"))
        return SaveConfigFile(env, address, file);
    if (name == QLatin1String("restore-config"))
        return RestoreConfigFile(env, address, file);
    return withSensor ? DiffConfigWithSensor(env, file, address) : DiffConfigFiles(env, file, addressText);
}

CommandFn configFileFunction(const char* name)
{
    return [name](Session& s, const QStringList& args) { return configFileCommand(s, QString::fromLatin1(name), args); };
}

CommandFn commandFunction(const QString& name)
{
    static const QMap<QString, CommandFn> table{
        {QStringLiteral("search"), search},   {QStringLiteral("read"), read},
        {QStringLiteral("write"), write},     {QStringLiteral("command"), command},
        {QStringLiteral("action"), action},   {QStringLiteral("snapshot"), snapshot},
        {QStringLiteral("rename"), rename},   {QStringLiteral("move"), move},
        {QStringLiteral("watch"), watch},
        {QStringLiteral("config"), pageCommand("config")},
        {QStringLiteral("diag"), pageCommand("diag")},
        {QStringLiteral("measure"), pageCommand("measure")},
        {QStringLiteral("autocal"), pageCommand("autocal")},
        {QStringLiteral("factory-reset"), pageCommand("factory-reset")},
        {QStringLiteral("output-test"), pageCommand("output-test")},
        {QStringLiteral("save-config"), configFileFunction("save-config")},
        {QStringLiteral("restore-config"), configFileFunction("restore-config")},
        {QStringLiteral("diff-config"), configFileFunction("diff-config")},
    };
    return table.value(name);
}

}  // namespace

bool unescapeCommandText(const QString& text, QString& out, QString& error)
{
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() > 0xFF) {
            error = QStringLiteral("TEXT holds a character that is not one byte");
            return false;
        }
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'\\') {
            out += c;
            ++i;
            continue;
        }
        const QString hex = text.mid(i + 2, 2);
        bool ok = hex.size() == 2 && text[i + 1] == u'x' && isxdigit(hex[0].unicode()) && isxdigit(hex[1].unicode());
        const int byte = ok ? hex.toInt(&ok, 16) : 0;
        if (!ok) {
            error = QStringLiteral("TEXT has a \\ that is not \\xNN or \\\\");
            return false;
        }
        out += QChar(byte);
        i += 3;
    }
    return true;
}

int runCommand(const Options& options)
{
    if (options.help) {
        const QString help = options.command.isEmpty() ? programHelp() : commandHelp(options.command);
        std::fputs(help.toLocal8Bit().constData(), stdout);
        return ExitOk;
    }
    Session session(options);
    try {
        return commandFunction(options.command)(session, options.arguments);
    } catch (const UsageError& e) {
        complain(e.text);
        std::fputs(commandHelp(options.command).toLocal8Bit().constData(), stderr);
        return ExitUsage;
    }
}

}  // namespace dunmere::cli
