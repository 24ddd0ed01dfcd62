#include "CliCommands.h"

#include "CliAdapters.h"
#include "CliBackup.h"
#include "CliConfigFileCommands.h"
#include "CliPages.h"
#include "CliSession.h"
#include "CliCalibration.h"
#include "CliLogCommands.h"
#include "CliUpgrade.h"

#include "link/Clock.h"
#include "link/DataFolder.h"
#include "link/Settings.h"
#include "link/ValueFormat.h"
#include "sensor/ConfigSnapshot.h"
#include "sensor/SensorRecord.h"
#include "sensor/LiveReadings.h"
#include "sensor/ParameterRegister.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>
#include <cctype>
#include <cstdio>
#include <functional>

namespace dunmere::cli {

namespace {

constexpr int WatchIntervalMs = 200;

using CommandFn = std::function<int(Session&, const QStringList&)>;

int search(Session& s, const QStringList& args)
{
    needArguments(args, 0, 0, QStringLiteral("search"));
    int status = ExitOk;
    if (!s.open(status))
        return status;
    const auto outcome = s.search();
    bool failure = outcome != SensorBus::SearchOutcome::Found;
    if (!s.output.has(QStringLiteral("sensors")))
        s.output.set(QStringLiteral("sensors"), QJsonArray());
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a) {
        const SensorRecord& r = s.model.SensorTable[a];
        if (r.FoundAddress == 0)
            continue;
        failure = failure || r.Identity == FailureText || r.FirmwareText == FailureText;
        const QString version = QString::number(r.FirmwareVersion, 'f', 2);
        QStringList fields{QString::number(a), r.Identity, r.Name, r.FirmwareText, QString::number(r.TypeCode), version};
        if (s.severalBuses())
            fields.prepend(s.busChoice.text());
        s.output.line(fields.join(QLatin1Char('\t')));
        s.output.append(QStringLiteral("sensors"),
                        QJsonObject{{QStringLiteral("address"), a},
                                    {QStringLiteral("identity"), r.Identity},
                                    {QStringLiteral("name"), r.Name},
                                    {QStringLiteral("firmware"), r.FirmwareText},
                                    {QStringLiteral("type"), r.TypeCode},
                                    {QStringLiteral("version"), version},
                                    {QStringLiteral("bus"), s.busChoice.text()}});
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
    int status = ExitOk;
    if (!s.open(status))
        return status;
    s.output.set(QStringLiteral("address"), address);
    s.output.set(QStringLiteral("values"), QJsonArray());
    bool failure = false;
    for (int n : numbers) {
        const QString reply = s.link.ReadParameter(address, n);
        failure = failure || reply == FailureText;
        s.output.reply(reply);
        const ParameterInfo* p = FindParameter(n);
        s.output.append(QStringLiteral("values"),
                        QJsonObject{{QStringLiteral("parameter"), n},
                                    {QStringLiteral("name"), p ? QString::fromLatin1(p->meaning) : QString()},
                                    {QStringLiteral("reply"), reply}});
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

// One exchange's reply: as it came, or in JSON with what was sent.
int replyStatus(Session& s, int address, QJsonObject sent, const QString& reply)
{
    s.output.reply(reply);
    sent.insert(QStringLiteral("address"), address);
    sent.insert(QStringLiteral("reply"), reply);
    for (auto it = sent.constBegin(); it != sent.constEnd(); ++it)
        s.output.set(it.key(), it.value());
    return reply == FailureText ? ExitFailure : ExitOk;
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
    int status = ExitOk;
    if (!s.open(status))
        return status;
    const QString prefix = QString::fromLatin1(p->writeCommand);
    const QString reply = s.link.WriteParameter(address, prefix, value, prefix);
    return replyStatus(s, address,
                       {{QStringLiteral("parameter"), number},
                        {QStringLiteral("name"), QString::fromLatin1(p->meaning)},
                        {QStringLiteral("value"), value}},
                       reply);
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
    int status = ExitOk;
    if (!s.open(status))
        return status;
    const QString reply = s.link.SendCommand(address, text);
    return replyStatus(s, address, {{QStringLiteral("text"), text}}, reply);
}

int action(Session& s, const QStringList& args)
{
    needArguments(args, 2, 2, QStringLiteral("action"));
    const int address = parseAddress(args[0]);
    if (args[1].isEmpty() || !FitsOnTheBus(args[1]))
        throw UsageError(QStringLiteral("CODE must be plain text, such as 1"));
    int status = ExitOk;
    if (!s.open(status))
        return status;
    const QString reply = s.link.SendAction(address, args[1]);
    return replyStatus(s, address, {{QStringLiteral("code"), args[1]}}, reply);
}

int snapshot(Session& s, const QStringList& args)
{
    needArguments(args, 1, 1, QStringLiteral("snapshot"));
    const int address = parseAddress(args[0]);
    int status = ExitOk;
    if (!s.open(status))
        return status;
    s.showRepliesAsProgress(QStringLiteral("snapshot"));
    ConfigSnapshot snapshot;
    snapshot.ReadConfigSnapshot(s.link, address, ConfigSnapshot::Before);
    s.output.set(QStringLiteral("address"), address);
    s.output.set(QStringLiteral("values"), QJsonArray());
    int index = 0;
    for (const QString& value : snapshot.values(ConfigSnapshot::Before)) {
        s.output.reply(value);
        s.output.append(QStringLiteral("values"),
                        QJsonObject{{QStringLiteral("index"), index++}, {QStringLiteral("reply"), value}});
    }
    return snapshot.readFailed(ConfigSnapshot::Before) ? ExitFailure : ExitOk;
}

// Searches and puts the sensor at address into a display row, as a user would tick its box.
// -1 when the search did not find it.
int rowFor(Session& s, int address)
{
    const auto outcome = s.search();
    if (outcome != SensorBus::SearchOutcome::Found || s.model.SensorTable[address].FoundAddress == 0) {
        s.output.error(QStringLiteral("no sensor found at address %1").arg(address));
        return -1;
    }
    if (s.model.rowOf(address) < 0) {
        if (s.model.SensorRowCount() == SensorModel::RowCount)
            s.model.CheckBoxClicked(s.model.SensorRows(SensorModel::RowCount - 1) - 1, false);
        s.model.CheckBoxClicked(address - 1, true);
    }
    return s.model.rowOf(address);
}

int changeStatus(Session& s, const SensorBus::AddressChangeResult& result)
{
    static const QMap<SensorBus::AddressChange, QString> outcomes{
        {SensorBus::AddressChange::Renamed, QStringLiteral("renamed")},
        {SensorBus::AddressChange::Occupied, QStringLiteral("occupied")},
        {SensorBus::AddressChange::Moved, QStringLiteral("moved")},
        {SensorBus::AddressChange::MovedNoAnswer, QStringLiteral("moved, no answer")},
        {SensorBus::AddressChange::NoSensor, QStringLiteral("no sensor")},
    };
    s.output.set(QStringLiteral("outcome"), outcomes.value(result.outcome));
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
    int status = ExitOk;
    if (!s.open(status))
        return status;
    s.output.set(QStringLiteral("address"), address);
    s.output.set(QStringLiteral("name"), name);
    const int r = rowFor(s, address);
    if (r < 0)
        return ExitFailure;
    s.model.setRowName(r, name);
    return changeStatus(s, s.sensors.UpdateSensorAddr(r));
}

int move(Session& s, const QStringList& args)
{
    needArguments(args, 2, 2, QStringLiteral("move"));
    const int address = parseAddress(args[0]);
    const int newAddress = parseInt(args[1], FirstBusAddress, LastBusAddress, QStringLiteral("NEWADDR"));
    int status = ExitOk;
    if (!s.open(status))
        return status;
    s.output.set(QStringLiteral("address"), address);
    s.output.set(QStringLiteral("newAddress"), newAddress);
    const int r = rowFor(s, address);
    if (r < 0)
        return ExitFailure;
    s.model.setRowListItem(r, newAddress - 1);
    return changeStatus(s, s.sensors.UpdateSensorAddr(r));
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
    int status = ExitOk;
    if (!s.open(status))
        return status;
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
    // A lost connection ends the watch after the line that failed.
    for (int line = 0; (count == 0 || line < count) && !s.bus.lost(); ++line) {
        if (line > 0)
            clock.waitUntil([&] { return s.bus.lost(); }, clock.nowMs() + WatchIntervalMs);
        const LiveReading reading = ReadLiveValues(s.link, address, valueIndex, tempIndex, secondChannel);
        failure = failure || reading.failed;
        s.output.line(reading.reading + QLatin1Char('\t') + reading.temp);
        if (s.output.json())
            s.output.record(QJsonObject{{QStringLiteral("address"), address},
                                        {QStringLiteral("value"), reading.reading},
                                        {QStringLiteral("temperature"), reading.temp},
                                        {QStringLiteral("failed"), reading.failed}});
    }
    return failure ? ExitFailure : ExitOk;
}

// Settings/Type: 1 is the Brix edition.
int editionType()
{
    return ReadSetting(QStringLiteral("Settings"), QStringLiteral("Type"), ConfigFilePath()) == QLatin1String("1") ? 1 : 0;
}

int upgrade(Session& s, const QStringList& args)
{
    UpgradeOptions options;
    QString error;
    if (!parseUpgradeOptions(args, options, error))
        throw UsageError(error);
    int status = ExitOk;
    if (!s.open(status))
        return status;
    return runUpgrade(s.link, s.texts, options, editionType());
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
        if (s.options.buses.isEmpty())
            throw UsageError(QStringLiteral("choose a bus: --tcp HOST:PORT, --serial N|PATH or --simulate"));
        int status = ExitOk;
        if (!s.open(status))
            return status;
    }
    // The procedures print lines; JSON takes them as "lines", and the complaints as the error.
    QString printed, complaints;
    QTextStream out(&printed);
    QTextStream err(&complaints);
    ConfigFileEnvironment env{s.link, s.texts, s.texts.language(), s.texts.path(), s.messages, editionType(), out, err};
    int status = ExitOk;
    if (name == QLatin1String("save-config"))
        status = SaveConfigFile(env, address, file);
    else if (name == QLatin1String("restore-config"))
        status = RestoreConfigFile(env, address, file);
    else
        status = withSensor ? DiffConfigWithSensor(env, file, address) : DiffConfigFiles(env, file, addressText);
    out.flush();
    err.flush();
    for (const QString& line : printed.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        s.output.line(line);
        s.output.append(QStringLiteral("lines"), line);
    }
    for (const QString& line : complaints.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        s.output.error(line);
    return status;
}

CommandFn configFileFunction(const char* name)
{
    return [name](Session& s, const QStringList& args) { return configFileCommand(s, QString::fromLatin1(name), args); };
}

// The logging commands run the data window's own procedures.
CommandFn logCommand(int (*run)(LogCommandSession&, const QStringList&, QString&))
{
    return [run](Session& s, const QStringList& args) {
        LogCommandSession session{s.link, s.model, s.sensors, s.texts, s.messages, [&s] { return int(s.bus.open()); },
                                  editionType() == 1};
        QString usage;
        const int status = run(session, args, usage);
        if (!usage.isEmpty())
            throw UsageError(usage);
        return status;
    };
}

int logToCsv(Session&, const QStringList& args)
{
    QString usage;
    const int status = runLogToCsv(args, usage);
    if (!usage.isEmpty())
        throw UsageError(usage);
    return status;
}

CommandFn commandFunction(const QString& name)
{
    static const QMap<QString, CommandFn> table{
        {QStringLiteral("search"), search},   {QStringLiteral("read"), read},
        {QStringLiteral("write"), write},     {QStringLiteral("command"), command},
        {QStringLiteral("action"), action},   {QStringLiteral("snapshot"), snapshot},
        {QStringLiteral("rename"), rename},   {QStringLiteral("move"), move},
        {QStringLiteral("watch"), watch},     {QStringLiteral("upgrade"), upgrade},
        {QStringLiteral("save-config"), configFileFunction("save-config")},
        {QStringLiteral("restore-config"), configFileFunction("restore-config")},
        {QStringLiteral("diff-config"), configFileFunction("diff-config")},
        {QStringLiteral("backup"), Backup},
        {QStringLiteral("check"), Check},
        {QStringLiteral("log"), logCommand(runLog)},
        {QStringLiteral("sweep"), logCommand(runSweep)},
        {QStringLiteral("log-to-csv"), logToCsv},
        {QStringLiteral("adapters"), [](Session& s, const QStringList& args) {
             return runAdaptersCommand(args, s.messages, s.texts);
         }},
    };
    if (IsPageCommand(name))
        return [name](Session& s, const QStringList& args) { return runPageCommand(s, name, args); };
    if (IsCalibrationCommand(name))
        return [](Session& s, const QStringList&) { return RunCalibrationCommand(s); };
    return table.value(name);
}

// Commands whose output is a stream of lines (JSON Lines in JSON).
bool streams(const QString& command) { return command == QLatin1String("watch"); }

// Commands that still print their plain lines and tell their failures on standard error only.
bool printsPlainly(const QString& command)
{
    static const QStringList plain{QStringLiteral("log"), QStringLiteral("sweep"), QStringLiteral("log-to-csv"),
                                   QStringLiteral("upgrade")};
    return plain.contains(command) || IsCalibrationCommand(command);
}

int runOnBus(Session& session)
{
    const Options& options = session.options;
    int status = ExitOk;
    try {
        if (options.language >= 0 && !session.texts.languageKnown())
            throw UsageError(QStringLiteral("config.ini has no language %1").arg(options.language));
        status = commandFunction(options.command)(session, options.arguments);
    } catch (const UsageError& e) {
        session.output.error(e.text);
        if (!session.output.json())
            std::fputs(commandHelp(options.command).toLocal8Bit().constData(), stderr);
        return ExitUsage;
    }
    if (session.bus.lost()) {
        session.output.error(session.bus.lostText());
        status = ExitFailure;
    }
    // A script reading JSON learns why from the document, not only from the exit status.
    if (status != ExitOk && !session.output.failed()) {
        QString told = session.output.lastMessage();
        if (told.isEmpty() && printsPlainly(options.command))
            told = status == ExitUsage ? QStringLiteral("wrong arguments; the reason is on standard error")
                                       : QStringLiteral("failed; the reason is on standard error");
        session.output.noteError(told.isEmpty() ? QStringLiteral("no valid reply (-99)") : told);
    }
    return status;
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
    if (options.version) {
        std::printf("%s\n", qPrintable(versionText()));
        return ExitOk;
    }
    if (options.help) {
        const QString help = options.command.isEmpty() ? programHelp() : commandHelp(options.command);
        std::fputs(help.toLocal8Bit().constData(), stdout);
        return ExitOk;
    }
    CliOutput output(options.output, options.command);
    AcrossBuses across;
    int status = ExitOk;
    // A whole-bus command runs on each bus in turn; the worst outcome is the exit status.
    // diff-config of two files needs no bus: it runs once, on none.
    const QList<BusChoice> buses = options.buses.isEmpty() ? QList<BusChoice>{BusChoice{}} : options.buses;
    for (const BusChoice& bus : buses) {
        Session session(options, bus, output, across);
        status = qMax(status, runOnBus(session));
        if (status == ExitUsage)
            break;
    }
    if (status != ExitUsage && options.command == QLatin1String("check"))
        status = qMax(status, ReportSavedButNotFound(options.arguments.value(0), across, output, options.buses.size() > 1));
    output.finish(streams(options.command));
    return status;
}

}  // namespace dunmere::cli
