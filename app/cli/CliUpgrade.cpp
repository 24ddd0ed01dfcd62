#include "CliUpgrade.h"

#include "CliOptions.h"

#include "firmware/FirmwareContainer.h"
#include "firmware/FirmwareUpgrade.h"
#include "link/Link.h"
#include "link/Messages.h"
#include "sensor/SensorRecord.h"

#include <QTextStream>
#include <csignal>
#include <cstdio>

namespace dunmere::cli {

namespace {

constexpr int BarWidth = 40;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
    // A second Ctrl-C ends the program at once.
    std::signal(SIGINT, SIG_DFL);
}

void printLine(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class ConsoleReport final : public UpgradeReport {
public:
    ConsoleReport(const TextSource& texts, bool restore)
        : progressPrefix_(texts.text(QStringLiteral("LangUpgrade")) + QLatin1Char(' ') + texts.text(QStringLiteral("LangProgress"))
                          + QStringLiteral(": ")),
          restore_(restore)
    {
    }
    void setUpgrade(FirmwareUpgrade* upgrade) { upgrade_ = upgrade; }

    void status(const QString& text) override
    {
        // Called before every block: the place where Ctrl-C becomes a cancel.
        if (interrupted && upgrade_)
            upgrade_->cancel();
        if (text.isEmpty() || text.startsWith(progressPrefix_) || text == last_)
            return;
        endBar();
        last_ = text;
        printLine(text);
    }

    void progress(int blocksDone) override
    {
        const int filled = blocksDone * BarWidth / FirmwareBlockCount;
        std::fprintf(stderr, "\r[%s%s] %3d%% %3d/%d", QByteArray(filled, '#').constData(),
                     QByteArray(BarWidth - filled, '.').constData(), blocksDone * 100 / FirmwareBlockCount, blocksDone,
                     FirmwareBlockCount);
        std::fflush(stderr);
        barShown_ = true;
    }

    void sending(bool on) override
    {
        if (!on)
            endBar();
    }

    bool askRestore(const QList<ConfigurationChange>& changes) override
    {
        for (const ConfigurationChange& change : changes)
            printLine(QStringLiteral("changed: ") + KeptConfiguration::describe(change));
        return restore_;
    }

private:
    void endBar()
    {
        if (barShown_)
            std::fputc('\n', stderr);
        barShown_ = false;
    }

    QString progressPrefix_;
    bool restore_;
    FirmwareUpgrade* upgrade_ = nullptr;
    QString last_;
    bool barShown_ = false;
};

bool confirmed(int address, const QString& firmwareText, const QString& file)
{
    std::fprintf(stderr, "Upgrade the firmware of the sensor at %d (%s) from %s? [y/N] ", address,
                 firmwareText.toLocal8Bit().constData(), file.toLocal8Bit().constData());
    std::fflush(stderr);
    QTextStream in(stdin);
    const QString answer = in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

}  // namespace

bool parseUpgradeOptions(const QStringList& args, UpgradeOptions& options, QString& error)
{
    QStringList positional;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--yes"))
            options.yes = true;
        else if (arg == QLatin1String("--restore-config"))
            options.restoreConfig = true;
        else if (arg.startsWith(QLatin1String("--")))
            return error = QStringLiteral("unknown upgrade option ") + arg, false;
        else
            positional << arg;
    }
    if (positional.size() != 2)
        return error = QStringLiteral("upgrade needs ADDR and FILE"), false;
    bool ok = false;
    options.address = positional[0].toInt(&ok);
    if (!ok || options.address < 1 || options.address > 16)
        return error = QStringLiteral("ADDR must be a whole number from 1 to 16, not \"%1\"").arg(positional[0]), false;
    options.file = positional[1];
    return true;
}

int runUpgrade(Link& link, const TextSource& texts, const UpgradeOptions& options, int editionType)
{
    SensorRecord record;
    record.FirmwareText = link.ReadParameter(options.address, 50);
    if (record.FirmwareText == FailureText) {
        std::fprintf(stderr, "dunmere-cli: no sensor answers at address %d\n", options.address);
        return ExitFailure;
    }
    ParseFirmwareText(record);
    if (!options.yes && !confirmed(options.address, record.FirmwareText, options.file))
        return ExitFailure;

    ConsoleReport report(texts, options.restoreConfig);
    FirmwareUpgrade upgrade(link, texts, report);
    report.setUpgrade(&upgrade);
    interrupted = 0;
    const auto previous = std::signal(SIGINT, onInterrupt);
    const UpgradeResult result = upgrade.SelectFirmwareImage(options.file, record, options.address, editionType);
    std::signal(SIGINT, previous);

    if (!result.succeeded)
        return ExitFailure;
    printLine(record.FirmwareText + QLatin1Char('\t') + result.checksum);
    if (result.configurationIncomplete) {
        std::fprintf(stderr, "dunmere-cli: the configuration could not be read whole; nothing was restored\n");
        return ExitFailure;
    }
    if (!result.changes.isEmpty() && !options.restoreConfig)
        std::fprintf(stderr, "dunmere-cli: the new firmware changed %d configuration values; --restore-config writes "
                             "the old ones back\n",
                     int(result.changes.size()));
    if (options.restoreConfig && !result.changes.isEmpty() && !result.restored) {
        std::fprintf(stderr, "dunmere-cli: the old configuration values were not all written back\n");
        return ExitFailure;
    }
    return ExitOk;
}

}  // namespace dunmere::cli
