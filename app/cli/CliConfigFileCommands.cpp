#include "CliConfigFileCommands.h"

#include "configfile/ConfigurationCompare.h"
#include "language/LanguageSectionTexts.h"
#include "link/Link.h"
#include "link/ValueFormat.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorRecord.h"
#include "shell/pages/core/PageControls.h"
#include "shell/pages/core/PageTexts.h"
#include "shell/pages/core/SelectedSensor.h"
#include "shell/pages/core/SensorTypeAdaptation.h"

#include <cstdio>
#include <unistd.h>

namespace dunmere::cli {

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int NotComparable = 2;
constexpr int BarWidth = 40;

// A bar on standard error, redrawn in place, when standard error is a terminal.
class TerminalProgress final : public TransferReport {
public:
    TerminalProgress() : shown_(isatty(fileno(stderr)) != 0) {}
    ~TerminalProgress() override
    {
        if (shown_ && drawn_)
            std::fputc('\n', stderr);
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void progress(int percent) override
    {
        // The procedures end by setting 0; the finished bar stays on the screen.
        if (!shown_ || (percent == 0 && drawn_))
            return;
        const int filled = percent * BarWidth / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", QByteArray(filled, '#').constData(),
                     QByteArray(BarWidth - filled, ' ').constData(), percent);
        std::fflush(stderr);
        drawn_ = true;
    }

private:
    bool shown_;
    bool drawn_ = false;
};

// Whether one of the outputs is on Brix, which is what the Configuration page shows the Brix
// coefficient row for after reading the sensor.
bool outputOnBrix(Link& link, int address, int typeCode)
{
    constexpr int brixCode = 7;
    if (ParseIndex(link.ReadParameter(address, 6), 12) == brixCode)
        return true;
    return HasSecondOutput(typeCode) && ParseIndex(link.ReadParameter(address, 29), 12) == brixCode;
}

TransferEnvironment transfer(ConfigFileEnvironment& env, TransferReport* report)
{
    return TransferEnvironment{env.link, env.texts, env.language, env.languageFile, &env.messages, report};
}

// The pages' type adaptation for one sensor without windows.
class PageState {
public:
    PageState(ConfigFileEnvironment& env, const SavedSensor& sensor) : ctx_(model_, env.link, env.texts, &env.messages)
    {
        AddPageControls(model_);
        ctx_.editionType = env.editionType;
        SensorRecord record;
        record.Identity = sensor.identity;
        record.Name = sensor.name;
        record.FirmwareText = sensor.firmwareText;
        ParseFirmwareText(record);
        ctx_.sensor = PageSensorOf(record, sensor.address, false);
        ApplyPageTexts(ctx_);
    }
    SensorLayout adapt(bool outputBrix)
    {
        AdaptPagesToSensorType(ctx_);
        return {ctx_.type.BrixSelected || outputBrix, model_.itemCount(QStringLiteral("ListSmoothTime")) == 7};
    }

private:
    ControlModel model_;
    PagesContext ctx_;
};

std::optional<ReadOutcome> loadFile(ConfigFileEnvironment& env, const QString& path)
{
    ReadOutcome read = LoadConfigurationFile(path);
    if (!read.ok) {
        env.err << path << ": " << (read.unreadable ? QString() : QStringLiteral("not a configuration file: "))
                << read.problem << Qt::endl;
        return std::nullopt;
    }
    return read;
}

int printDifferences(ConfigFileEnvironment& env, const QList<ValueDifference>& differences)
{
    if (differences.isEmpty()) {
        env.out << "no values differ" << Qt::endl;
        return Done;
    }
    env.out << DifferenceSummary(differences) << Qt::endl;
    for (const ValueDifference& d : differences)
        env.out << d.parameter << '\t' << d.label << '\t' << d.restored << '\t' << d.present << Qt::endl;
    return Failed;
}

}  // namespace

std::optional<SavedSensor> IdentifySensor(ConfigFileEnvironment& env, int address)
{
    const QString id = env.link.SendCommand(address, SensorBus::IdentificationCommand());
    if (id == FailureText) {
        env.err << "no sensor answers at address " << address << Qt::endl;
        return std::nullopt;
    }
    SensorRecord record;
    record.FirmwareText = env.link.ReadParameter(address, 50);
    ParseFirmwareText(record);
    return SavedSensor{address, IdentityOf(id), NameOf(id), record.FirmwareText, record.TypeCode};
}

SensorLayout AdaptToSensor(ConfigFileEnvironment& env, const SavedSensor& sensor)
{
    const bool outputBrix = outputOnBrix(env.link, sensor.address, sensor.typeCode);
    return PageState(env, sensor).adapt(outputBrix);
}

std::optional<PreparedSensor> PrepareSensor(ConfigFileEnvironment& env, int address)
{
    const auto sensor = IdentifySensor(env, address);
    if (!sensor)
        return std::nullopt;
    return PreparedSensor{*sensor, AdaptToSensor(env, *sensor)};
}

int SaveConfigFile(ConfigFileEnvironment& env, int address, const QString& path)
{
    const auto sensor = IdentifySensor(env, address);
    if (!sensor)
        return Failed;
    TerminalProgress bar;
    TransferEnvironment t = transfer(env, &bar);
    // The type adaptation runs after the header, as the page's save runs it.
    const SaveOutcome outcome = SaveSensorConfiguration(t, *sensor, path, [&] { return AdaptToSensor(env, *sensor); },
                                                        ConfigurationTimestamp());
    return outcome == SaveOutcome::Saved ? Done : Failed;
}

int RestoreConfigFile(ConfigFileEnvironment& env, int address, const QString& path)
{
    TerminalProgress bar;
    TransferEnvironment t = transfer(env, &bar);
    switch (RestoreSensorConfiguration(t, address, path)) {
    case RestoreOutcome::Restored: return Done;
    case RestoreOutcome::Refused: return NotComparable;
    default: return Failed;
    }
}

int DiffConfigWithSensor(ConfigFileEnvironment& env, const QString& path, int address)
{
    const auto file = loadFile(env, path);
    if (!file)
        return NotComparable;
    auto prepared = PrepareSensor(env, address);
    if (!prepared)
        return NotComparable;
    // The sensor's coefficients are read from the row the file's would be written to.
    prepared->layout.brixRow = file->data.brixCoefficients;
    TerminalProgress bar;
    const ReadOutcome present = ReadSensorConfiguration(env.link, env.texts, prepared->sensor, prepared->layout, env.language,
                                                        [&](int p) { bar.progress(p); });
    if (!present.ok) {
        env.err << "the sensor's configuration could not be read: " << present.problem << Qt::endl;
        return NotComparable;
    }
    const LanguageSectionTexts fileTexts(file->data.language, env.languageFile);
    const bool sameSensor = prepared->sensor.identity == file->data.identity;
    return printDifferences(env, CompareConfigurations(file->data, ConvertConfigurationValues(file->data, fileTexts),
                                                       present.data, ConvertConfigurationValues(present.data, env.texts),
                                                       sameSensor, env.texts));
}

int DiffConfigFiles(ConfigFileEnvironment& env, const QString& path1, const QString& path2)
{
    const auto first = loadFile(env, path1);
    const auto second = loadFile(env, path2);
    if (!first || !second)
        return NotComparable;
    const LanguageSectionTexts texts1(first->data.language, env.languageFile);
    const LanguageSectionTexts texts2(second->data.language, env.languageFile);
    const bool sameSensor = first->data.identity == second->data.identity;
    return printDifferences(env, CompareConfigurations(first->data, ConvertConfigurationValues(first->data, texts1),
                                                       second->data, ConvertConfigurationValues(second->data, texts2),
                                                       sameSensor, env.texts));
}

}  // namespace dunmere::cli
