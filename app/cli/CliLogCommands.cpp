#include "CliLogCommands.h"

#include "CliOptions.h"

#include "datalog/CsvExport.h"
#include "datalog/DataLog.h"
#include "datalog/Resonator.h"
#include "datalog/TrendAcquisition.h"
#include "link/Clock.h"
#include "link/Link.h"
#include "link/Messages.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"
#include "shell/core/StartupSettings.h"

#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>

namespace dunmere::cli {

namespace {

constexpr int FlushEveryMs = 5 * 60 * 1000;
constexpr int StopCheckMs = 200;
constexpr int Rates[] = {1, 2, 3, 5, 10, 60};
constexpr int FirstRate[] = {1, 1, 1, 2, 3, 5, 5};  // by the number of sensors

volatile std::sig_atomic_t stopRequested = 0;
extern "C" void requestStop(int) { stopRequested = 1; }

void say(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

bool wholeNumber(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// "0,3,7" into flags; false for anything else.
bool parseReadings(const QString& text, ReadingFlags& ticked)
{
    ticked.fill(false);
    const QStringList parts = text.split(u',');
    for (const QString& part : parts) {
        int reading = 0;
        if (!wholeNumber(part.trimmed(), 0, ReadingCount - 1, reading))
            return false;
        ticked[reading] = true;
    }
    return !parts.isEmpty();
}

struct LogArguments {
    QList<int> addresses;
    int interval = 0;
    ReadingFlags ticked{};
    QString out;
    int durationSeconds = 0;  // 0: until interrupted
};

bool parseLogArguments(const QStringList& args, LogArguments& a, QString& usage)
{
    bool readingsGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            int address = 0;
            if (!wholeNumber(arg, 1, 16, address) || a.addresses.contains(address)) {
                usage = QStringLiteral("ADDR must be a bus address from 1 to 16, each once, not \"%1\"").arg(arg);
                return false;
            }
            a.addresses << address;
            continue;
        }
        if (i + 1 >= args.size()) {
            usage = arg + QStringLiteral(" needs a value");
            return false;
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--interval")) {
            if (!wholeNumber(value, 1, 60, a.interval) || !std::count(std::begin(Rates), std::end(Rates), a.interval)) {
                usage = QStringLiteral("--interval takes 1, 2, 3, 5, 10 or 60 seconds");
                return false;
            }
        } else if (arg == QLatin1String("--readings")) {
            readingsGiven = parseReadings(value, a.ticked);
            if (!readingsGiven) {
                usage = QStringLiteral("--readings takes reading numbers 0-10 separated by commas, such as 0,3,7");
                return false;
            }
        } else if (arg == QLatin1String("--out")) {
            a.out = value;
        } else if (arg == QLatin1String("--duration")) {
            if (!wholeNumber(value, 1, 100000000, a.durationSeconds)) {
                usage = QStringLiteral("--duration takes a whole number of seconds");
                return false;
            }
        } else {
            usage = QStringLiteral("unknown log option ") + arg;
            return false;
        }
    }
    if (a.addresses.isEmpty() || a.addresses.size() > 6) {
        usage = QStringLiteral("log needs one to six addresses");
        return false;
    }
    if (a.out.isEmpty() || QFileInfo(a.out).fileName().isEmpty()) {
        usage = QStringLiteral("log needs --out FILE");
        return false;
    }
    if (!readingsGiven)
        a.ticked[0] = true;
    const bool raw = a.ticked[RawReading1] || a.ticked[RawReading2];
    for (int k = 0; k <= BrixReading && raw; ++k) {
        if (a.ticked[k]) {
            usage = QStringLiteral("raw readings 9 and 10 are logged on their own");
            return false;
        }
    }
    const int first = FirstRate[a.addresses.size()];
    if (a.interval == 0)
        a.interval = first;
    if (a.interval < first) {
        usage = QStringLiteral("%1 sensors need an interval of at least %2 seconds").arg(a.addresses.size()).arg(first);
        return false;
    }
    return true;
}

// Searches the bus and puts the addresses into display rows in the order given.
bool fillRows(LogCommandSession& s, const QList<int>& addresses)
{
    if (s.sensors.SensorSearch() != SensorBus::SearchOutcome::Found) {
        say(stderr, QStringLiteral("dunmere-cli: no sensor found"));
        return false;
    }
    for (int r = s.model.SensorRowCount() - 1; r >= 0; --r)
        s.model.CheckBoxClicked(s.model.SensorRows(r) - 1, false);
    for (int address : addresses) {
        if (s.model.SensorTable[address].FoundAddress == 0) {
            say(stderr, QStringLiteral("dunmere-cli: no sensor found at address %1").arg(address));
            return false;
        }
        s.model.CheckBoxClicked(address - 1, true);
    }
    return true;
}

void report(DataLog::FlushOutcome outcome, const QString& path)
{
    if (outcome == DataLog::FlushOutcome::Failed)
        say(stderr, QStringLiteral("dunmere-cli: %1 cannot be written; the lines are kept for the next try").arg(path));
    else if (outcome == DataLog::FlushOutcome::Recovered)
        say(stderr, QStringLiteral("dunmere-cli: %1 written again").arg(path));
}

}  // namespace

int runLog(LogCommandSession& s, const QStringList& args, QString& usage)
{
    LogArguments a;
    if (!parseLogArguments(args, a, usage))
        return ExitUsage;
    const QStringList names = ReadingNames(s.texts, s.brixEdition, true);
    for (int k = 0; k < ReadingCount; ++k) {
        if (a.ticked[k] && names[k].isEmpty()) {
            usage = QStringLiteral("reading %1 is not offered in this edition").arg(k);
            return ExitUsage;
        }
    }
    if (const int opened = s.openBus(); opened != ExitOk)
        return opened;
    if (!fillRows(s, a.addresses))
        return ExitFailure;
    const SensorRecord& first = s.model.SensorTable[a.addresses.first()];
    if (a.ticked[RawReading2] && !HasSecondChannel(first.TypeCode)) {
        say(stderr, QStringLiteral("dunmere-cli: the sensor at address %1 has no second channel").arg(a.addresses.first()));
        return ExitFailure;
    }

    DataLog log(s.texts, &s.messages);
    TrendAcquisition acquisition(s.link, log);
    acquisition.setRows(a.addresses, 0);
    acquisition.setBrixAvailable(s.brixEdition);
    acquisition.ticked = a.ticked;
    acquisition.IntervalSeconds = a.interval;
    acquisition.graphedReading = a.ticked[RawReading2] && !a.ticked[RawReading1] ? RawReading2
        : a.ticked[RawReading1]                                                    ? RawReading1
                                                                                    : 0;
    LogHeaderSetup setup;
    for (int address : a.addresses)
        setup.sensors << ReadHeaderFacts(s.link, address, s.model.SensorTable[address],
                                         HasSecondChannel(s.model.SensorTable[address].TypeCode), s.texts);
    setup.ticked = a.ticked;
    setup.readingNames = names;
    setup.intervalSeconds = a.interval;
    setup.identification = ProgramVersionText;
    setup.start = QDateTime::currentDateTime();
    log.setPath(a.out);
    if (log.WriteLogHeader(setup) != DataLog::HeaderOutcome::Written)
        return ExitFailure;

    stopRequested = 0;
    auto previousInt = std::signal(SIGINT, requestStop);
    auto previousTerm = std::signal(SIGTERM, requestStop);
    auto& clock = Clock::current();
    const qint64 start = clock.nowMs();
    const qint64 end = a.durationSeconds > 0 ? start + qint64(a.durationSeconds) * 1000 : -1;
    qint64 nextFlush = start + FlushEveryMs;
    acquisition.NextDue = start - 1;
    int turns = 0;
    while (!stopRequested && !s.link.state().ProgramClosing && (end < 0 || clock.nowMs() < end)) {
        if (acquisition.runDueTurn() && !acquisition.rawMode())
            ++turns;
        if (clock.nowMs() >= nextFlush) {
            report(log.flush(), a.out);
            nextFlush += FlushEveryMs;
        }
        qint64 wake = acquisition.rawMode() ? clock.nowMs() + 10 : acquisition.NextDue + 1;
        if (end >= 0)
            wake = qMin(wake, end);
        wake = qMin(wake, clock.nowMs() + StopCheckMs);
        clock.waitUntil([] { return stopRequested != 0; }, wake);
    }
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    const DataLog::FlushOutcome outcome = log.CloseLogFile();
    report(outcome, a.out);
    if (outcome == DataLog::FlushOutcome::Failed || outcome == DataLog::FlushOutcome::FailedAgain)
        return ExitFailure;
    if (!acquisition.rawMode())
        say(stdout, QStringLiteral("%1 lines written to %2").arg(turns).arg(a.out));
    return ExitOk;
}

int runSweep(LogCommandSession& s, const QStringList& args, QString& usage)
{
    int address = 0;
    if (args.size() != 1 || !wholeNumber(args[0], 1, 16, address)) {
        usage = QStringLiteral("sweep needs one ADDR from 1 to 16");
        return ExitUsage;
    }
    if (const int opened = s.openBus(); opened != ExitOk)
        return opened;
    ResonatorReading reading;
    reading.points.fill(SweepHeight);
    ReadResonator(s.link, address, reading);
    bool failure = !reading.sweepRead || !reading.values;
    if (reading.sweepRead) {
        for (int i = 0; i < SweepPointCount; ++i)
            say(stdout, QStringLiteral("%1\t%2").arg(i + 1).arg((SweepHeight - reading.points[i]) / 4));
    } else {
        say(stderr, QStringLiteral("dunmere-cli: no sweep from the sensor at address %1").arg(address));
    }
    auto t = [&](const char* key) { return s.texts.text(QString::fromLatin1(key)); };
    const QString labels[ResonatorValueCount] = {
        t("LangUnComp") + QLatin1Char(' ') + t("LangFreq"),  t("LangUnComp") + QLatin1Char(' ') + t("LangBandWidth"),
        t("LangUnComp") + QLatin1Char(' ') + t("LangAmp"),   t("LangUnComp") + QLatin1Char(' ') + t("LangReference"),
        t("LangElectronic") + QLatin1Char(' ') + t("LangTemperature"),
        t("LangResonator") + QLatin1Char(' ') + t("LangTemperature"), t("LangComp") + QLatin1Char(' ') + t("LangFreq")};
    if (reading.values) {
        const auto texts = ResonatorValueTexts(*reading.values);
        for (int i = 0; i < ResonatorValueCount; ++i)
            say(stdout, labels[i] + QStringLiteral(" = ") + texts[i]);
    } else {
        say(stderr, QStringLiteral("dunmere-cli: no values block from the sensor at address %1").arg(address));
    }
    say(stdout, t("LangMaterial") + QLatin1Char(' ') + t("LangTemperature") + QStringLiteral(" = ") + reading.materialTemperature);
    return failure ? ExitFailure : ExitOk;
}

int runLogToCsv(const QStringList& args, QString& usage)
{
    if (args.size() != 2) {
        usage = QStringLiteral("log-to-csv needs LOGFILE and CSVFILE");
        return ExitUsage;
    }
    QFile in(args[0]);
    if (!in.open(QIODevice::ReadOnly)) {
        say(stderr, QStringLiteral("dunmere-cli: %1: %2").arg(args[0], in.errorString()));
        return ExitFailure;
    }
    QByteArray csv;
    QString error;
    if (!LogFileCsv(in.readAll(), csv, error) || !WriteCsvFile(args[1], csv, error)) {
        say(stderr, QStringLiteral("dunmere-cli: ") + error);
        return ExitFailure;
    }
    return ExitOk;
}

}  // namespace dunmere::cli
