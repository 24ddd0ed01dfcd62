#include "CliCalibration.h"

#include "CliOptions.h"
#include "CliSession.h"

#include "calibration/BrixFit.h"
#include "calibration/BrixSensorProcedures.h"
#include "calibration/CalibrationNotebook.h"
#include "calibration/CalibrationNumbers.h"
#include "calibration/CalibrationReport.h"
#include "calibration/CalibrationStore.h"
#include "calibration/MoistureFit.h"
#include "link/Link.h"
#include "link/NumberRules.h"
#include "shell/core/StartupSettings.h"

#include <QFile>
#include <QTextStream>
#include <array>
#include <cmath>
#include <optional>

namespace dunmere::cli {

namespace {

struct CommandText {
    const char* name;
    const char* usage;
    const char* description;
    bool bus = false;
};

constexpr std::array<CommandText, 5> Commands{{
    {"fit-moisture", "fit-moisture FILE [--no-rules]",
     "Fits a moisture calibration to the points in FILE, one row per line as\n"
     "include;date;unscaled;lab (include 1/0, yes/no or true/false; a header line allowed;\n"
     "at most 20 rows; either decimal separator). Prints B, C and the status message as the\n"
     "calibration window shows them (the rules apply unless --no-rules), then per row its\n"
     "number, the fitted moisture and the residual (lab - fitted), TAB-separated, \"-\" for a\n"
     "row the fit did not use; a fourth field says \"unticked\" for a row whose values were\n"
     "refused and \"worst\" for a residual beyond twice the residual standard deviation.\n"
     "Exit status 1 for an invalid calibration."},
    {"fit-brix", "fit-brix FILE [--start default|A,B,C,D]",
     "Runs the Brix best-fit search on the points in FILE (as for fit-moisture, lab Brix in\n"
     "the last field) from the default start (101, 0.15, 0.17, -2.5) or from A,B,C,D\n"
     "(decimal points). Prints A to D and the error figure as the Brix window shows them,\n"
     "then the rows as fit-moisture does, with the Brix the new coefficients give."},
    {"calibrations", "calibrations list|show NAME|export FILE [--brix]",
     "Works on the moisture calibration store calibdb.mdb in the data folder, or with --brix\n"
     "on brixcalibdb.mdb: list prints the names in the store's order, show prints one\n"
     "calibration column by column (\"column = value\"), export adds the report of every\n"
     "calibration to the end of FILE."},
    {"write-calibration", "write-calibration ADDR --moisture NAME|--brix NAME [--yes]",
     "Writes the stored calibration NAME to the sensor at ADDR as the calibration window does\n"
     "(moisture: \"W1\" 0.0000, B, C and a given SSD; Brix: A to D into parameters 25 to 28;\n"
     "then \"A1\") and reads it back: exit status 0 only when the sensor holds what was\n"
     "written. Nothing is sent unless every value is a number. Without --yes it only prints\n"
     "what it would write.",
     true},
    {"averaging", "averaging ADDR start|stop",
     "Starts (\"A3\") or stops (\"A2\") the remote averaging of the sensor at ADDR and prints its reply.", true},
}};

const CommandText* findCommand(const QString& name)
{
    for (const CommandText& c : Commands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

void complain(const QString& text)
{
    QTextStream err(stderr);
    err << "dunmere-cli: " << text << Qt::endl;
}

bool parseInclude(const QString& text, bool& include)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("yes") || t == QLatin1String("true") || t.isEmpty()) {
        include = !t.isEmpty();
        return true;
    }
    if (t == QLatin1String("0") || t == QLatin1String("no") || t == QLatin1String("false")) {
        include = false;
        return true;
    }
    return false;
}

// The grid as the file fills it; numbers take the system's separator, as the window would.
struct PointsFile {
    CalibrationRows rows;
    int used = 0;  // rows the file filled
};

PointsFile readPointsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw UsageError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    PointsFile points;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        ++lineNumber;
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(QLatin1Char(';'));
        bool include = false;
        const bool rowLine = fields.size() == 4 && parseInclude(fields[0], include);
        if (!rowLine) {
            if (lineNumber == 1)
                continue;  // a header
            throw UsageError(QStringLiteral("%1 line %2: expected include;date;unscaled;lab").arg(path).arg(lineNumber));
        }
        if (points.used == CalibrationRowCount)
            throw UsageError(QStringLiteral("%1 holds more than %2 rows").arg(path).arg(CalibrationRowCount));
        CalibrationRow& row = points.rows[size_t(points.used++)];
        row.include = include;
        row.date = fields[1].trimmed();
        row.unscaled = WithSystemSeparator(fields[2].trimmed());
        row.lab = WithSystemSeparator(fields[3].trimmed());
    }
    return points;
}

void printValue(const QString& name, const QString& value) { out() << name << " = " << value << Qt::endl; }

void printRows(const PointsFile& points, const CalibrationNotebook& book, const std::function<bool(int)>& unticked)
{
    for (int r = 0; r < points.used; ++r) {
        QStringList fields{QString::number(r + 1)};
        if (const auto entry = book.entryForRow(r)) {
            fields << CalibrationNotebook::valueText(entry->fitted) << CalibrationNotebook::valueText(entry->residual);
        } else {
            fields << QStringLiteral("-") << QStringLiteral("-");
        }
        if (r == book.worstRow)
            fields << QStringLiteral("worst");
        else if (unticked(r))
            fields << QStringLiteral("unticked");
        out() << fields.join(QLatin1Char('\t')) << Qt::endl;
    }
}

int fitMoisture(const QStringList& args)
{
    if (args.isEmpty() || args.size() > 2 || (args.size() == 2 && args[1] != QLatin1String("--no-rules")))
        throw UsageError(QStringLiteral("fit-moisture takes FILE and optionally --no-rules"));
    const bool rulesOn = args.size() == 1;
    const PointsFile points = readPointsFile(args[0]);
    const IniTexts texts;
    const MoistureFit fit = FitMoistureCalibration(points.rows, -1, rulesOn);
    printValue(QStringLiteral("LblCalB"), fit.bText());
    printValue(QStringLiteral("LblCalC"), fit.cText());
    printValue(QStringLiteral("LblMatStatus"), MoistureStatusMessage(fit.result.status, texts));
    printRows(points, MoistureNotebook(fit), [&](int r) { return fit.verdicts[size_t(r)].unticked; });
    return rulesOn && fit.result.status == MoistureStatus::InvalidCalibration ? ExitFailure : ExitOk;
}

BrixCoefficients parseStart(const QString& text)
{
    if (text == QLatin1String("default"))
        return DefaultBrixStart();
    const QStringList parts = text.split(QLatin1Char(','));
    std::array<double, 4> values{};
    bool good = parts.size() == 4;
    for (qsizetype i = 0; good && i < 4; ++i) {
        values[size_t(i)] = parts[i].trimmed().toDouble(&good);
        good = good && std::isfinite(values[size_t(i)]);
    }
    if (!good)
        throw UsageError(QStringLiteral("--start takes default or four numbers A,B,C,D with decimal points, not \"%1\"").arg(text));
    return {values[0], values[1], values[2], values[3]};
}

int fitBrix(const QStringList& args)
{
    BrixCoefficients start = DefaultBrixStart();
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--start") && i + 1 < args.size())
            start = parseStart(args[++i]);
        else if (args[i].startsWith(QLatin1String("--start=")))
            start = parseStart(args[i].mid(8));
        else if (path.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            path = args[i];
        else
            throw UsageError(QStringLiteral("fit-brix takes FILE and optionally --start default|A,B,C,D"));
    }
    if (path.isEmpty())
        throw UsageError(QStringLiteral("fit-brix needs FILE"));
    const PointsFile points = readPointsFile(path);
    const BrixFitResult fit = BrixBestFit(points.rows, start);
    const BrixCoefficients& k = fit.coefficients;
    printValue(QStringLiteral("lblCalA"), FormatFixed(k.A, 4));
    printValue(QStringLiteral("lblCalB"), FormatFixed(k.B, 4));
    printValue(QStringLiteral("lblCalC"), FormatFixed(k.C, 4));
    printValue(QStringLiteral("lblCalcD"), FormatFixed(k.D, 4));
    printValue(QStringLiteral("LblErrorValue"), ShowBrixError(fit.error));
    printRows(points, BrixNotebook(points.rows, k), [](int) { return false; });
    return ExitOk;
}

QString columnText(const StoreColumn& c, const CalibrationRecord& r)
{
    const QVariant v = c.valueOf(r);
    if (c.type == ColumnType::YesNo)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    return v.toString();
}

int calibrations(const QStringList& allArgs)
{
    QStringList args = allArgs;
    const bool brix = args.removeAll(QStringLiteral("--brix")) > 0;
    if (args.isEmpty())
        throw UsageError(QStringLiteral("calibrations needs list, show NAME or export FILE"));
    const QString& what = args[0];
    const bool list = what == QLatin1String("list") && args.size() == 1;
    const bool show = what == QLatin1String("show") && args.size() == 2;
    const bool exportReport = what == QLatin1String("export") && args.size() == 2;
    if (!list && !show && !exportReport)
        throw UsageError(QStringLiteral("calibrations needs list, show NAME or export FILE"));

    const CalibrationKind kind = brix ? CalibrationKind::Brix : CalibrationKind::Moisture;
    const QString path = CalibrationStorePath(kind);
    CalibrationStore store(kind);
    // The command line only reads the store; it never makes one.
    switch (store.open(path, false)) {
    case CalibrationStore::OpenResult::Opened:
    case CalibrationStore::OpenResult::Created:
        break;
    case CalibrationStore::OpenResult::Missing:
        complain(QStringLiteral("no calibration store at %1").arg(path));
        return ExitFailure;
    case CalibrationStore::OpenResult::NotAStore:
        complain(QStringLiteral("%1 is not a calibration store (%2); it was left as it is").arg(path, store.lastError()));
        return ExitFailure;
    }
    const IniTexts texts;
    if (list) {
        for (const QString& name : store.names())
            out() << name << Qt::endl;
        return ExitOk;
    }
    if (show) {
        const auto record = store.record(args[1]);
        if (!record) {
            complain(QStringLiteral("no calibration named \"%1\"").arg(args[1]));
            return ExitFailure;
        }
        for (const StoreColumn& c : StoreColumns(kind))
            printValue(c.name, columnText(c, *record));
        return ExitOk;
    }
    const ExportOutcome outcome = ExportCalibrations(store, args[1], texts, ProgramVersionText);
    if (outcome.code != ExportOutcome::Code::Written) {
        complain(outcome.message);
        return ExitFailure;
    }
    return ExitOk;
}

int writeCalibration(Session& s)
{
    const QStringList& args = s.options.arguments;
    if (args.isEmpty())
        throw UsageError(QStringLiteral("write-calibration needs ADDR"));
    const int address = parseAddress(args[0]);
    std::optional<CalibrationKind> kind;
    QString name;
    bool yes = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if ((args[i] == QLatin1String("--moisture") || args[i] == QLatin1String("--brix")) && i + 1 < args.size() && !kind) {
            kind = args[i] == QLatin1String("--brix") ? CalibrationKind::Brix : CalibrationKind::Moisture;
            name = args[++i];
        } else if (args[i] == QLatin1String("--yes")) {
            yes = true;
        } else {
            throw UsageError(QStringLiteral("write-calibration takes ADDR, --moisture NAME or --brix NAME, and --yes"));
        }
    }
    if (!kind)
        throw UsageError(QStringLiteral("write-calibration needs --moisture NAME or --brix NAME"));
    CalibrationStore store(*kind);
    const QString path = CalibrationStorePath(*kind);
    if (store.open(path, false) != CalibrationStore::OpenResult::Opened) {
        complain(QStringLiteral("%1 cannot be read as a calibration store").arg(path));
        return ExitFailure;
    }
    const auto record = store.record(name);
    if (!record) {
        complain(QStringLiteral("no calibration named \"%1\"").arg(name));
        return ExitFailure;
    }
    const bool brix = *kind == CalibrationKind::Brix;
    const std::array<QString, 4> brixValues{record->aValue, record->bValue, record->cValue, record->ssd};
    if (!yes) {
        if (brix) {
            for (int i = 0; i < 4; ++i)
                printValue(QStringLiteral("W%1").arg(25 + i), WireNumber(brixValues[size_t(i)]));
        } else {
            printValue(QStringLiteral("W1"), QStringLiteral("0.0000"));
            printValue(QStringLiteral("W2"), WireNumber(record->bValue));
            printValue(QStringLiteral("W3"), WireNumber(record->cValue));
            if (!record->ssd.isEmpty())
                printValue(QStringLiteral("W4"), WireNumber(record->ssd));
        }
        complain(QStringLiteral("nothing written; add --yes to write"));
        return ExitOk;
    }
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    CalibrationWriteOutcome outcome;
    QString message;
    if (brix) {
        const BrixCalibrationWrite w = WriteBrixCalibration(s.link, address, brixValues, s.texts);
        for (int i = 0; i < 4 && w.outcome != CalibrationWriteOutcome::NotSent; ++i)
            printValue(QStringLiteral("R%1").arg(25 + i), w.readBack[size_t(i)]);
        outcome = w.outcome;
        message = w.message;
    } else {
        const CalibrationWrite w = WriteMoistureCalibration(s.link, address, record->bValue, record->cValue, record->ssd, s.texts);
        if (w.outcome != CalibrationWriteOutcome::NotSent) {
            printValue(QStringLiteral("LblCurrentB"), w.readBack.B);
            printValue(QStringLiteral("LblCurrentC"), w.readBack.C);
            printValue(QStringLiteral("LblCurrentSSD"), w.readBack.SSD);
        }
        outcome = w.outcome;
        message = w.message;
    }
    complain(message);
    return outcome == CalibrationWriteOutcome::Written ? ExitOk : ExitFailure;
}

int averaging(Session& s)
{
    const QStringList& args = s.options.arguments;
    if (args.size() != 2 || (args[1] != QLatin1String("start") && args[1] != QLatin1String("stop")))
        throw UsageError(QStringLiteral("averaging takes ADDR and start or stop"));
    const int address = parseAddress(args[0]);
    if (const ExitStatus opened = s.bus.open(); opened != ExitOk)
        return opened;
    const QString reply = SendAveraging(s.link, address, args[1] == QLatin1String("start"));
    out() << reply << Qt::endl;
    return reply == FailureText ? ExitFailure : ExitOk;
}

}  // namespace

bool IsCalibrationCommand(const QString& command) { return findCommand(command) != nullptr; }

bool CalibrationCommandNeedsBus(const QString& command)
{
    const CommandText* c = findCommand(command);
    return c && c->bus;
}

QString CalibrationCommandHelp(const QString& command)
{
    const CommandText* c = findCommand(command);
    if (!c)
        return {};
    return QStringLiteral("Usage: dunmere-cli %1%2\n\n%3\n")
        .arg(c->bus ? QStringLiteral("BUS ") : QString(), QLatin1String(c->usage), QLatin1String(c->description));
}

QStringList CalibrationCommandUsages()
{
    QStringList usages;
    for (const CommandText& c : Commands)
        usages.append(QLatin1String(c.usage));
    return usages;
}

int RunCalibrationCommand(Session& s)
{
    const Options& options = s.options;
    const QString& command = options.command;
    const QStringList& args = options.arguments;
    // Numbers read and shown as the calibration windows do on this system.
    SetDecimalComma(ProbeDecimalComma());
    try {
        if (command == QLatin1String("fit-moisture"))
            return fitMoisture(args);
        if (command == QLatin1String("fit-brix"))
            return fitBrix(args);
        if (command == QLatin1String("write-calibration"))
            return writeCalibration(s);
        if (command == QLatin1String("averaging"))
            return averaging(s);
        return calibrations(args);
    } catch (const UsageError& e) {
        complain(e.text);
        QTextStream(stderr) << CalibrationCommandHelp(command);
        return ExitUsage;
    }
}

}  // namespace dunmere::cli
