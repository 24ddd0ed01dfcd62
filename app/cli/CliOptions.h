#pragma once
// The command line: which bus, the search speed, the trace, how the output reads, the
// command and its arguments, and the help texts.

#include <QString>
#include <QStringList>

namespace dunmere::cli {

enum ExitStatus { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

struct Options {
    enum class Bus { None, Tcp, Serial, Simulate };
    // Labels: values under the pages' captions in the user's language; Names: under the
    // control names; Json: one JSON document (JSON Lines for streams).
    enum class Output { Labels, Names, Json };
    Bus bus = Bus::None;
    QString busArgument;    // --simulate: empty for the demonstration bus
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

}  // namespace dunmere::cli
