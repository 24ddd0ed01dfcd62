#include "CliOptions.h"

#include "CliCalibration.h"

#include <array>

namespace dunmere::cli {

namespace {

struct CommandText {
    const char* name;
    const char* usage;
    const char* description;
};

constexpr std::array<CommandText, 25> Commands{{
    {"search", "search",
     "Searches the bus and prints one line per sensor found, in address order: address,\n"
     "identity, name, firmware text, type code and firmware version, separated by TAB.\n"
     "On several buses each line starts with its bus (HOST:PORT or the port).\n"
     "JSON: \"sensors\", each with address, identity, name, firmware, type, version and bus."},
    {"read", "read ADDR N...",
     "Reads parameters N... of the sensor at ADDR; one reply per line.\n"
     "JSON: \"values\", each with parameter, name and reply."},
    {"write", "write ADDR N VALUE",
     "Writes VALUE to parameter N (\"W\" + N) and prints the sensor's reply. Numbers are\n"
     "rounded to four decimals; list values must be one of the parameter's positions.\n"
     "JSON: address, parameter, name, value and reply."},
    {"command", "command ADDR TEXT",
     "Sends TEXT (with up to three tries) and prints the reply. \\xNN in TEXT stands for the\n"
     "byte NN (hexadecimal), \\\\ for a backslash: command 3 'P\\x01' asks for the identification.\n"
     "JSON: address, text and reply."},
    {"action", "action ADDR CODE", "Sends the action \"A\" + CODE and prints the reply.\nJSON: address, code and reply."},
    {"snapshot", "snapshot ADDR",
     "Reads the 34 configuration snapshot values, one per line.\nJSON: \"values\", each with index and reply."},
    {"rename", "rename ADDR NAME", "Searches the bus, then gives the sensor at ADDR the name NAME (up to 20 characters)."},
    {"move", "move ADDR NEWADDR",
     "Searches the bus, then moves the sensor at ADDR to NEWADDR, refusing an address that\n"
     "another sensor holds, and checks that the sensor answers there."},
    {"watch", "watch ADDR [--value I] [--temp I] [--count N]",
     "Prints the live value and temperature of the sensor at ADDR every 200 ms, as the\n"
     "Sensor page shows them: I is the position in the value lists (default 0, filtered\n"
     "unscaled; and the electronics temperature), N the number of lines (default: until stopped).\n"
     "A lost connection ends it after the line that failed. JSON Lines: address, value,\n"
     "temperature and failed, one object per line."},
    {"config", "config ADDR",
     "Reads the Configuration page of the sensor at ADDR and prints each of its boxes and lists\n"
     "as the page shows them, under the page's captions (\"Output Type = 4-20mA\"); with --names\n"
     "under the control names (\"ListOPType = 4-20mA\").\n"
     "JSON: \"values\", each with name, label, group and text."},
    {"diag", "diag ADDR",
     "Runs the full diagnostics refresh and prints the Diagnostics page's values. The status\n"
     "line names the status flags that are set, or none; the exit status is 0 either way.\n"
     "JSON: as config; the status flags also carry \"set\": true or false."},
    {"measure", "measure ADDR water|air",
     "Takes the 50 samples of the factory measurement of the water or air reference and prints\n"
     "the new frequency (and amplitude) values; nothing is written."},
    {"autocal", "autocal ADDR", "Runs the sensor's automatic calibration (up to about four minutes)."},
    {"factory-reset", "factory-reset ADDR",
     "Resets a type-89 sensor to its factory configuration and confirms it with the\n"
     "before/after check."},
    {"adapters", "adapters list | add HOST:PORT | remove N | search [--local ADDR]... [--target HOST]... |\n"
                 "           setup HOST (--dhcp | --fixed IP --gateway GW) --port P",
     "The Ethernet adapters in the data folder's adapter list (no bus needed): list them,\n"
     "add one by hand, remove the one at position N, search the network for adapters\n"
     "(from every local IPv4 address, or those given with --local; the query goes to\n"
     "255.255.255.255, or to the hosts given with --target), or set an adapter's network\n"
     "settings. A list line is: position, address, TCP port, local address, how it was\n"
     "found, separated by TAB."},
    {"output-test", "output-test ADDR RAW1 [RAW2]",
     "One step of the analogue output test: drives output 1 (and output 2, where the sensor\n"
     "has one) with the raw values 0-4095 (128 steps per mA) and prints the currents."},
    {"save-config", "save-config ADDR FILE",
     "Saves the configuration of the sensor at ADDR into the configuration file FILE (UTF-16),\n"
     "replacing FILE only once the new one is whole. Exit status 1 when a read failed (the file\n"
     "is then written with those values empty)."},
    {"restore-config", "restore-config ADDR FILE",
     "Writes the values of the configuration file FILE into the sensor at ADDR; the water and\n"
     "air references only when FILE was saved from that same sensor. Exit status 1 when the\n"
     "sensor refused a value or a value could not be sent, 2 when FILE is no configuration file."},
    {"diff-config", "diff-config FILE ADDR | diff-config FILE1 FILE2",
     "Lists the values a restore of FILE would change on the sensor at ADDR (or on the sensor\n"
     "FILE2 was saved from): a summary line, then parameter, label, value in FILE and value now,\n"
     "separated by TAB. Exit status 0 when none differ, 1 when some do, 2 when a file cannot be\n"
     "read or is no configuration file. Comparing two files needs no bus."},
    {"backup", "backup DIR",
     "Searches the bus and saves the configuration of every sensor found into DIR/IDENTITY.txt\n"
     "(DIR is made when missing; a file is replaced only once the new one is whole). One line\n"
     "per sensor: address, identity, then the file saved or why not. Exit status 0 when every\n"
     "sensor was saved.\n"
     "JSON: \"sensors\", each with bus, address, identity, file and outcome."},
    {"check", "check DIR",
     "Searches the bus and compares every sensor found with the file of its identity in DIR,\n"
     "one line per sensor: address, identity and \"equal\", \"differs\" with each value as\n"
     "saved and as now, or \"no saved file\"; then \"saved but not found\" for each file in DIR\n"
     "whose sensor no bus had. Exit status 0 only when all are equal.\n"
     "JSON: \"sensors\", each with bus, address, identity, file, outcome and differences\n"
     "(parameter, label, saved, present)."},
    {"log", "log ADDR... [--interval S] [--readings 0,3,7] --out FILE [--duration S]",
     "Samples the sensors at ADDR... (up to six, in that order) every S seconds (1, 2, 3, 5, 10\n"
     "or 60; at least 2 for three sensors, 3 for four, 5 for five or six) and appends the data\n"
     "window's log to FILE: its header, then one line per sample. Readings by number: 0\n"
     "filtered and 1 average unscaled, 2 filtered unscaled 2, 3 filtered and 4 average\n"
     "moisture, 5 electronics, 6 resonator and 7 material temperature, 8 Brix (Brix edition),\n"
     "9 and 10 the raw samples of the first sensor (on their own). The lines are written every\n"
     "five minutes and at the end: after S seconds, or on Ctrl-C."},
    {"sweep", "sweep ADDR",
     "Reads the resonator test of the sensor at ADDR: the 50 sweep points (position and byte,\n"
     "0-255), then the uncompensated and compensated values and the material temperature."},
    {"log-to-csv", "log-to-csv LOGFILE CSVFILE",
     "Converts a data log written by the data window or by log into CSV (UTF-8, comma-separated,\n"
     "ISO 8601 times, one column per sensor and reading). Needs no bus."},
    {"upgrade", "upgrade ADDR FILE [--yes] [--restore-config]",
     "Replaces the firmware of the sensor at ADDR with its image from the firmware file FILE,\n"
     "restarts it and prints the new firmware text and checksum. Asks first unless --yes is\n"
     "given. The status texts go to standard output, a progress bar to standard error; Ctrl-C\n"
     "cancels after the block being sent. The configuration is read before and after: the\n"
     "values the new firmware changed are listed, and --restore-config writes the old ones back."},
}};

const CommandText* findCommand(const QString& name)
{
    for (const CommandText& c : Commands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

// "--name VALUE" or "--name=VALUE"; advances i past the value.
bool takeValue(const QStringList& args, int& i, const QString& name, QString& value, QString& error)
{
    const QString& arg = args[i];
    if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        error = name + QStringLiteral(" needs a value");
        return false;
    }
    value = args[++i];
    return true;
}

bool isOption(const QString& arg, const QString& name)
{
    return arg == name || arg.startsWith(name + QLatin1Char('='));
}

}  // namespace

ParseResult parseOptions(const QStringList& args)
{
    ParseResult result;
    Options& o = result.options;
    // Several adapters and ports may be named; the simulated bus stands alone.
    auto addBus = [&](BusChoice::Kind kind, const QString& value) {
        const bool simulated = kind == BusChoice::Kind::Simulate
            || (!o.buses.isEmpty() && o.buses.first().kind == BusChoice::Kind::Simulate);
        if (simulated && !o.buses.isEmpty()) {
            result.error = QStringLiteral("--simulate is the only bus when it is given");
            return false;
        }
        o.buses.append({kind, value});
        return true;
    };
    // With nothing at all, the first thing a new user needs is what to type.
    if (args.isEmpty())
        o.help = true;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        QString value;
        if (!o.command.isEmpty()) {
            o.arguments.append(arg);
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            o.help = true;
        } else if (arg == QLatin1String("--version")) {
            o.version = true;
        } else if (arg == QLatin1String("--trace")) {
            o.trace = true;
        } else if (arg == QLatin1String("--json")) {
            o.output = Options::Output::Json;
        } else if (arg == QLatin1String("--names")) {
            if (o.output != Options::Output::Json)
                o.output = Options::Output::Names;
        } else if (isOption(arg, QStringLiteral("--simulate"))) {
            // The sensor list is optional: "--simulate search" runs on the demonstration bus.
            if (arg.contains(QLatin1Char('=')))
                value = arg.section(QLatin1Char('='), 1);
            else if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1Char('-')) && !isCommand(args[i + 1]))
                value = args[++i];
            if (!addBus(BusChoice::Kind::Simulate, value))
                return result;
        } else if (isOption(arg, QStringLiteral("--tcp")) || isOption(arg, QStringLiteral("--serial"))) {
            const QString name = arg.section(QLatin1Char('='), 0, 0);
            if (!takeValue(args, i, name, value, result.error))
                return result;
            if (!addBus(name == QLatin1String("--tcp") ? BusChoice::Kind::Tcp : BusChoice::Kind::Serial, value))
                return result;
        } else if (isOption(arg, QStringLiteral("--search-speed"))) {
            if (!takeValue(args, i, QStringLiteral("--search-speed"), value, result.error))
                return result;
            bool ok = false;
            o.searchSpeedMs = value.toInt(&ok);
            if (!ok || o.searchSpeedMs <= 0 || o.searchSpeedMs > 65535) {
                result.error = QStringLiteral("--search-speed takes a time-out in ms from 1 to 65535");
                return result;
            }
        } else if (isOption(arg, QStringLiteral("--language"))) {
            if (!takeValue(args, i, QStringLiteral("--language"), value, result.error))
                return result;
            bool ok = false;
            o.language = value.toInt(&ok);
            if (!ok || o.language < 0 || o.language > 99) {
                result.error = QStringLiteral("--language takes a language number, such as 0 or 1");
                return result;
            }
        } else if (arg.startsWith(QLatin1Char('-'))) {
            result.error = QStringLiteral("unknown option ") + arg;
            return result;
        } else if (isCommand(arg)) {
            o.command = arg;
        } else {
            result.error = QStringLiteral("unknown command ") + arg;
            return result;
        }
    }
    if (o.arguments.contains(QStringLiteral("--help")))
        o.help = true;
    if (o.help || o.version)
        return result;
    if (o.command.isEmpty())
        result.error = QStringLiteral("no command given");
    else if (o.buses.isEmpty() && commandNeedsBus(o.command)
             && (!IsCalibrationCommand(o.command) || CalibrationCommandNeedsBus(o.command)))
        result.error = QStringLiteral(
            "choose a bus: --tcp HOST:PORT, --serial N|PATH or --simulate (the demonstration bus)");
    else if (o.buses.size() > 1 && !takesWholeBuses(o.command))
        result.error = o.command + QStringLiteral(" works on one bus: give one --tcp or --serial");
    return result;
}

bool isCommand(const QString& command) { return findCommand(command) != nullptr || IsCalibrationCommand(command); }

// diff-config of two files needs none either; it asks for a bus itself when given an address.
bool commandNeedsBus(const QString& command)
{
    return command != QLatin1String("log-to-csv") && command != QLatin1String("diff-config")
           && command != QLatin1String("adapters");
}

bool takesWholeBuses(const QString& command)
{
    return command == QLatin1String("search") || command == QLatin1String("backup") || command == QLatin1String("check");
}

QString commandHelp(const QString& command)
{
    if (IsCalibrationCommand(command))
        return CalibrationCommandHelp(command);
    const CommandText* c = findCommand(command);
    if (!c)
        return {};
    return QStringLiteral("Usage: dunmere-cli [BUS] [OPTIONS] %1\n\n%2\n")
        .arg(QLatin1String(c->usage), QLatin1String(c->description));
}

QString versionText() { return QStringLiteral("dunmere-cli " DUNMERE_VERSION); }

QString programHelp()
{
    QString help = QStringLiteral(
        "Usage: dunmere-cli [--tcp HOST:PORT | --serial N|PATH | --simulate[=SPEC]]\n"
        "                   [--json | --names] [--language N] [--search-speed MS] [--trace] COMMAND ...\n\n"
        "Talks to the moisture sensors on an RS-485 bus.\n\n"
        "Bus (one of; search, backup and check take several --tcp and --serial, one after the\n"
        "other, each line starting with its bus):\n"
        "  --tcp HOST:PORT     an Ethernet adapter\n"
        "  --serial N|PATH     serial port N (1-16, COM1-COM16) or a device path\n"
        "  --simulate[=SPEC]   the built-in simulated bus: the same demonstration sensors as\n"
        "                      dunmere --simulate, or those of SPEC, e.g. 1:89,2:77,5:45\n"
        "                      (address:type[:IDENTITY[:Name]] for each sensor)\n"
        "Output:\n"
        "  --json              one JSON document (JSON Lines for watch): \"command\", the\n"
        "                      command's own keys (COMMAND --help), \"error\" when it failed\n"
        "                      and \"messages\" the sensor procedures gave\n"
        "  --names             values under the control names instead of the pages' captions\n"
        "  --language N        captions in language N of config.ini (default: as the window)\n"
        "Options:\n"
        "  --search-speed MS   probe time-out of the search (default 1000)\n"
        "  --trace             every frame sent and received, in hex with a time stamp, on\n"
        "                      standard error\n"
        "  --version           the program's version\n"
        "  --help              this text; COMMAND --help describes a command\n\n"
        "Commands:\n");
    for (const CommandText& c : Commands)
        help += QStringLiteral("  %1\n").arg(QLatin1String(c.usage));
    help += QStringLiteral("\nCalibration commands (only write-calibration and averaging need a bus):\n");
    for (const QString& usage : CalibrationCommandUsages())
        help += QStringLiteral("  %1\n").arg(usage);
    help += QStringLiteral(
        "\nADDR is a bus address from 1 to 16. Progress goes to standard error while it is a\n"
        "terminal. Exit status: 0 when every reply was valid, 1 when an operation got no valid\n"
        "reply (\"-99\"), could not be done or the connection was lost, 2 for a usage error.\n"
        "Try: dunmere-cli --simulate search\n");
    return help;
}

}  // namespace dunmere::cli
