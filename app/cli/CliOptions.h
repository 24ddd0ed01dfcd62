#pragma once
// The command line: which bus, the search speed, the trace, how the output reads, the
// command and its arguments, and the help texts.

#include <QString>
#include <QStringList>

namespace dunmere::cli {

enum ExitStatus { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

struct BusChoice {
    enum class Kind { Tcp, Serial, Simulate };
    Kind kind = Kind::Simulate;
    QString argument;  // HOST:PORT, N or PATH; for Simulate the sensor list, empty for the demonstration bus
    // How a line names its bus when a command runs on several: "127.0.0.1:4001", "/dev/ttyUSB0".
    [[nodiscard]] QString text() const { return argument.isEmpty() ? QStringLiteral("simulated") : argument; }
};

struct Options {
    // Labels: values under the pages' captions in the user's language; Names: under the
    // control names; Json: one JSON document (JSON Lines for streams).
    enum class Output { Labels, Names, Json };
    QList<BusChoice> buses;  // several only for the commands that take the whole bus
    int searchSpeedMs = 0;  // 0: the search's default
    bool trace = false;
    Output output = Output::Labels;
    int language = -1;      // -1: the language config.ini names
    bool help = false;
    bool version = false;
    QString command;
    QStringList arguments;  // everything after the command
};

struct ParseResult {
    Options options;
    QString error;  // empty when the line was good
};

// Parses the arguments after the program name.
[[nodiscard]] ParseResult parseOptions(const QStringList& arguments);

[[nodiscard]] QString programHelp();
// "dunmere-cli 1.80".
[[nodiscard]] QString versionText();
// The usage and description of one command; empty for an unknown one.
[[nodiscard]] QString commandHelp(const QString& command);
[[nodiscard]] bool isCommand(const QString& command);
// Commands that work on every sensor of a bus, and so may run on several buses in turn.
[[nodiscard]] bool takesWholeBuses(const QString& command);
// log-to-csv works on files only.
[[nodiscard]] bool commandNeedsBus(const QString& command);

}  // namespace dunmere::cli
