#include "GuiOptions.h"

namespace dunmere {

namespace {

// The value of "--name=value" or of "--name value"; false when there is none.
bool takeValue(const QStringList& args, int& i, const QString& name, QString& value)
{
    const QString& arg = args[i];
    if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
        return true;
    }
    if (arg == name && i + 1 < args.size()) {
        value = args[++i];
        return true;
    }
    return false;
}

}  // namespace

QString GuiUsage()
{
    return QStringLiteral(
        "usage: dunmere [--simulate[=SENSORS]] [--screenshot DIR] [--debug-level N] [--version]\n"
        "  --simulate[=SENSORS]  run on the built-in simulated sensor bus instead of a serial port or\n"
        "                        adapter; SENSORS lists address:type pairs, such as 1:89,2:77\n"
        "  --screenshot DIR      write a picture of every page and window to DIR and quit; works\n"
        "                        without a display (Qt's offscreen platform)\n"
        "  --debug-level N       write the debug log (Dunmere-Debug-LogFile.csv in the data folder)\n"
        "                        up to level N\n"
        "  --version             show the version\n"
        "  --help                show this text\n");
}

GuiOptions ParseGuiOptions(const QStringList& arguments)
{
    GuiOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        QString value;
        if (arg == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (arg.startsWith(QLatin1String("--simulate="))) {
            options.simulate = true;
            options.simulateSpec = arg.mid(11);
        } else if (arg.startsWith(QLatin1String("--screenshot"))) {
            if (!takeValue(arguments, i, QStringLiteral("--screenshot"), value) || value.isEmpty())
                options.error = QStringLiteral("--screenshot needs a folder");
            options.screenshotDir = value;
        } else if (arg.startsWith(QLatin1String("--debug-level"))) {
            bool ok = false;
            const int level = takeValue(arguments, i, QStringLiteral("--debug-level"), value) ? value.toInt(&ok) : 0;
            if (!ok || level < 0)
                options.error = QStringLiteral("--debug-level needs a number of 0 or more");
            else
                options.debugLevel = level;
        } else {
            options.error = QStringLiteral("unknown option: ") + arg;
        }
        if (!options.error.isEmpty())
            break;
    }
    return options;
}

}  // namespace dunmere
