#pragma once
// The command line: which bus, the search speed, the trace, the command and its arguments,
// and the help texts.

#include <QString>
#include <QStringList>

namespace dunmere::cli {

enum ExitStatus { ExitOk = 0, ExitFailure = 1, ExitUsage = 2 };

struct Options {
    enum class Bus { None, Tcp, Serial, Simulate };
    Bus bus = Bus::None;
    QString busArgument;
    int searchSpeedMs = 0;  // 0: the search's default
    bool trace = false;
    bool help = false;
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
// The usage and description of one command; empty for an unknown one.
[[nodiscard]] QString commandHelp(const QString& command);
[[nodiscard]] bool isCommand(const QString& command);
// log-to-csv works on files only.
[[nodiscard]] bool commandNeedsBus(const QString& command);

}  // namespace dunmere::cli
