#include "CliBackup.h"

#include "CliConfigFileCommands.h"
#include "CliSession.h"

#include "configfile/ConfigurationCompare.h"
#include "configfile/ConfigurationTransfer.h"
#include "language/LanguageSectionTexts.h"
#include "link/DataFolder.h"
#include "link/Settings.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

namespace dunmere::cli {

namespace {

const QString FileSuffix = QStringLiteral(".txt");

// An identity comes from the sensor: it names a file only when it cannot climb out of the
// folder or name something else there.
bool identityIsFileName(const QString& identity)
{
    if (identity.isEmpty() || identity == FailureText || identity == QLatin1String(".") || identity == QLatin1String(".."))
        return false;
    for (const QChar c : identity)
        if (c.unicode() < 0x21 || c.unicode() > 0x7E || c == u'/' || c == u'\\')
            return false;
    return true;
}

// The procedures' printing and complaints, kept for this command's own lines.
struct Captured {
    QString printed;
    QString complaints;
    QTextStream out{&printed};
    QTextStream err{&complaints};
    [[nodiscard]] QString complaint()
    {
        err.flush();
        return complaints.trimmed().replace(QLatin1Char('\n'), QStringLiteral("; "));
    }
};

ConfigFileEnvironment environment(Session& s, Captured& captured)
{
    const int edition = ReadSetting(QStringLiteral("Settings"), QStringLiteral("Type"), ConfigFilePath()) == QLatin1String("1");
    return ConfigFileEnvironment{s.link,  s.texts,      s.texts.language(), s.texts.path(), s.messages,
                                 edition, captured.out, captured.err};
}

// Replacing an older backup is what backup is for: that question is answered yes quietly;
// every other message goes on to the user.
class ReplaceWithoutAsking final : public Messages {
public:
    explicit ReplaceWithoutAsking(Messages& messages) : messages_(messages) {}
    bool show(const QString& text, MessageButtons buttons) override
    {
        return buttons == MessageButtons::YesNo || messages_.show(text, buttons);
    }

private:
    Messages& messages_;
};

class PercentProgress final : public TransferReport {
public:
    PercentProgress(const CliOutput& output, QString what) : output_(output), what_(std::move(what)) {}
    void progress(int percent) override { output_.progress().show(QStringLiteral("%1: %2%").arg(what_).arg(percent)); }

private:
    const CliOutput& output_;
    QString what_;
};

// "3\tQ8904213\t..." with the bus in front when there are several.
void sensorLine(Session& s, const QStringList& fields)
{
    QStringList line = fields;
    if (s.severalBuses())
        line.prepend(s.busChoice.text());
    s.output.line(line.join(QLatin1Char('\t')));
}

QJsonObject sensorJson(Session& s, int address, const QString& identity, const QString& file, const QString& outcome)
{
    return {{QStringLiteral("bus"), s.busChoice.text()}, {QStringLiteral("address"), address},
            {QStringLiteral("identity"), identity},      {QStringLiteral("file"), file},
            {QStringLiteral("outcome"), outcome}};
}

// The saved files of dir by the identity they hold; files that are no configuration file
// are reported once, by ReportSavedButNotFound.
QMap<QString, QString> savedFiles(const QString& dir, QStringList* unreadable = nullptr)
{
    QMap<QString, QString> files;
    const QDir folder(dir);
    for (const QString& name : folder.entryList({QStringLiteral("*") + FileSuffix}, QDir::Files, QDir::Name)) {
        const QString path = folder.filePath(name);
        const ReadOutcome read = LoadConfigurationFile(path);
        if (read.ok)
            files.insert(read.data.identity, path);
        else if (unreadable)
            unreadable->append(path + QStringLiteral(": ") + read.problem);
    }
    return files;
}

struct SensorOnBus {
    int address;
    QString identity;
};

// The sensors the search found, in address order; none (and a failure) when it found none.
QList<SensorOnBus> searchSensors(Session& s, bool& failure)
{
    QList<SensorOnBus> found;
    failure = s.search() != SensorBus::SearchOutcome::Found;
    for (int a = FirstBusAddress; a <= LastBusAddress; ++a)
        if (s.model.SensorTable[a].FoundAddress != 0)
            found.append({a, s.model.SensorTable[a].Identity});
    return found;
}

}  // namespace

int Backup(Session& s, const QStringList& args)
{
    needArguments(args, 1, 1, QStringLiteral("backup"));
    const QString dir = args[0];
    if (!QDir().mkpath(dir)) {
        s.output.error(QStringLiteral("cannot make the folder %1").arg(dir));
        return ExitFailure;
    }
    int status = ExitOk;
    if (!s.open(status))
        return status;
    bool failure = false;
    const QList<SensorOnBus> sensors = searchSensors(s, failure);
    if (!s.output.has(QStringLiteral("sensors")))
        s.output.set(QStringLiteral("sensors"), QJsonArray());
    for (const auto& [address, identity] : sensors) {
        QString outcome, file;
        if (!identityIsFileName(identity)) {
            outcome = QStringLiteral("not saved: the identity \"%1\" is no file name").arg(identity);
        } else {
            file = QDir(dir).filePath(identity + FileSuffix);
            Captured captured;
            ConfigFileEnvironment env = environment(s, captured);
            ReplaceWithoutAsking quiet(s.messages);
            PercentProgress progress(s.output, QStringLiteral("backup: address %1").arg(address));
            TransferEnvironment transfer{s.link, s.texts, s.texts.language(), s.texts.path(), &quiet, &progress};
            const std::optional<SavedSensor> sensor = IdentifySensor(env, address);
            const SaveOutcome saved = sensor ? SaveSensorConfiguration(transfer, *sensor, file,
                                                                       [&] { return AdaptToSensor(env, *sensor); },
                                                                       ConfigurationTimestamp())
                                             : SaveOutcome::FileError;
            const QString why = captured.complaint();
            outcome = saved == SaveOutcome::Saved ? QStringLiteral("saved")
                : saved == SaveOutcome::Incomplete ? QStringLiteral("incomplete: some values could not be read")
                                                   : QStringLiteral("not saved") + (why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        }
        failure = failure || outcome != QLatin1String("saved");
        sensorLine(s, {QString::number(address), identity, outcome, file});
        s.output.append(QStringLiteral("sensors"), sensorJson(s, address, identity, file, outcome));
    }
    return failure ? ExitFailure : ExitOk;
}

int Check(Session& s, const QStringList& args)
{
    needArguments(args, 1, 1, QStringLiteral("check"));
    const QString dir = args[0];
    if (!QDir(dir).exists())
        throw UsageError(QStringLiteral("there is no folder %1").arg(dir));
    int status = ExitOk;
    if (!s.open(status))
        return status;
    const QMap<QString, QString> saved = savedFiles(dir);
    bool failure = false;
    const QList<SensorOnBus> sensors = searchSensors(s, failure);
    if (!s.output.has(QStringLiteral("sensors")))
        s.output.set(QStringLiteral("sensors"), QJsonArray());
    for (const auto& [address, identity] : sensors) {
        s.acrossBuses.identitiesFound.append(identity);
        const QString file = saved.value(identity);
        if (file.isEmpty()) {
            failure = true;
            sensorLine(s, {QString::number(address), identity, QStringLiteral("no saved file")});
            s.output.append(QStringLiteral("sensors"), sensorJson(s, address, identity, {}, QStringLiteral("no saved file")));
            continue;
        }
        // The comparison diff-config makes, kept as values for one line.
        Captured captured;
        ConfigFileEnvironment env = environment(s, captured);
        const ReadOutcome fromFile = LoadConfigurationFile(file);
        std::optional<PreparedSensor> prepared = PrepareSensor(env, address);
        std::optional<ReadOutcome> present;
        if (prepared) {
            prepared->layout.brixRow = fromFile.data.brixCoefficients;
            PercentProgress progress(s.output, QStringLiteral("check: address %1").arg(address));
            present = ReadSensorConfiguration(s.link, s.texts, prepared->sensor, prepared->layout, s.texts.language(),
                                              [&](int p) { progress.progress(p); });
        }
        if (!present || !present->ok) {
            failure = true;
            const QString why = QStringLiteral("not read: ") + (present ? present->problem : captured.complaint());
            sensorLine(s, {QString::number(address), identity, why});
            s.output.append(QStringLiteral("sensors"), sensorJson(s, address, identity, file, why));
            continue;
        }
        const LanguageSectionTexts fileTexts(fromFile.data.language, s.texts.path());
        const QList<ValueDifference> differences =
            CompareConfigurations(fromFile.data, ConvertConfigurationValues(fromFile.data, fileTexts), present->data,
                                  ConvertConfigurationValues(present->data, s.texts), true, s.texts);
        QJsonObject json = sensorJson(s, address, identity, file,
                                      differences.isEmpty() ? QStringLiteral("equal") : QStringLiteral("differs"));
        QStringList described;
        QJsonArray values;
        for (const ValueDifference& d : differences) {
            described << QStringLiteral("%1: %2 -> %3").arg(d.label, d.restored, d.present);
            values.append(QJsonObject{{QStringLiteral("parameter"), d.parameter},
                                      {QStringLiteral("label"), d.label},
                                      {QStringLiteral("saved"), d.restored},
                                      {QStringLiteral("present"), d.present}});
        }
        json.insert(QStringLiteral("differences"), values);
        failure = failure || !differences.isEmpty();
        if (differences.isEmpty())
            sensorLine(s, {QString::number(address), identity, QStringLiteral("equal")});
        else
            sensorLine(s, {QString::number(address), identity, QStringLiteral("differs"), described.join(QStringLiteral("; "))});
        s.output.append(QStringLiteral("sensors"), json);
    }
    return failure ? ExitFailure : ExitOk;
}

int ReportSavedButNotFound(const QString& dir, const AcrossBuses& across, CliOutput& output, bool severalBuses)
{
    QStringList unreadable;
    const QMap<QString, QString> saved = savedFiles(dir, &unreadable);
    bool failure = false;
    for (auto it = saved.constBegin(); it != saved.constEnd(); ++it) {
        if (across.identitiesFound.contains(it.key()))
            continue;
        failure = true;
        QStringList line{QStringLiteral("-"), it.key(), QStringLiteral("saved but not found"), it.value()};
        if (severalBuses)
            line.prepend(QStringLiteral("-"));
        output.line(line.join(QLatin1Char('\t')));
        output.append(QStringLiteral("sensors"), QJsonObject{{QStringLiteral("identity"), it.key()},
                                                             {QStringLiteral("file"), it.value()},
                                                             {QStringLiteral("outcome"), QStringLiteral("saved but not found")}});
    }
    for (const QString& problem : unreadable) {
        failure = true;
        output.error(QStringLiteral("not a configuration file: ") + problem);
    }
    return failure ? ExitFailure : ExitOk;
}

}  // namespace dunmere::cli
