// dunmere-cli: the sensor procedures without windows.

#include "CliCommands.h"
#include "CliOptions.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dunmere-cli"));
    using namespace dunmere::cli;
    const ParseResult parsed = parseOptions(QCoreApplication::arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "dunmere-cli: %s\nTry dunmere-cli --help.\n", parsed.error.toLocal8Bit().constData());
        return ExitUsage;
    }
    return runCommand(parsed.options);
}
