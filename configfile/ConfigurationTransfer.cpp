#include "ConfigurationTransfer.h"

#include "language/LanguageSectionTexts.h"
#include "link/Link.h"
#include "link/ValueFormat.h"
#include "sensor/ParameterRegister.h"
#include "sensor/SensorBus.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <cmath>

namespace dunmere {

namespace {

constexpr int RestoreReplyMs = 1000;
constexpr int RestorePauseMs = 200;
constexpr int IdentityReplyMs = 2000;

const QString DownloadIncomplete = QStringLiteral("Download incomplete Please Retry");
const QString UploadFailed = QStringLiteral("Upload Failed Please Retry");

QString tr(const TransferEnvironment& env, const char* key) { return env.texts.text(QString::fromLatin1(key)); }

void progress(const TransferEnvironment& env, int percent)
{
    if (env.report)
        env.report->progress(percent);
}

void tell(const TransferEnvironment& env, const QString& text)
{
    if (env.messages && !env.link.state().ProgramClosing)
        env.messages->show(text, MessageButtons::Ok);
}

bool ask(const TransferEnvironment& env, const QString& text, MessageButtons buttons)
{
    if (!env.messages || env.link.state().ProgramClosing)
        return false;
    return env.messages->show(text, buttons);
}

QString fileError(const TransferEnvironment& env) { return tr(env, "LangFile") + QLatin1Char(' ') + tr(env, "LangError"); }

// The value as the sensor takes it, or nothing when it is no value for the parameter.
std::optional<QString> wireValue(int parameter, const QString& value)
{
    QString pointed = value.trimmed();
    pointed.replace(u',', u'.');
    bool ok = false;
    const double number = QLocale::c().toDouble(pointed, &ok);
    if (!ok || !std::isfinite(number) || number == -99.0)
        return std::nullopt;
    const ParameterInfo* info = FindParameter(parameter);
    // Smoothing takes whole seconds as well as list positions.
    const bool numeric = !info || info->kind == ParameterKind::Number || parameter == 14;
    if (!numeric && number != std::floor(number))
        return std::nullopt;
    return pointed;
}

}  // namespace

bool WriteRestoredValue(Link& link, int address, int parameter, const QString& value)
{
    LinkState& state = link.state();
    const auto sent = wireValue(parameter, value);
    if (!sent) {
        state.WriteErrorFlag = true;
        return false;
    }
    link.Net_Send(address, 1, QStringLiteral("W ") + QString::number(parameter) + QLatin1Char(' ') + *sent);
    int replyAddress = -1, frameCode = -1;
    QString reply = FailureText;
    link.Net_Receive(RestoreReplyMs, replyAddress, frameCode, reply);
    bool isNumber = false;
    const double number = reply.toDouble(&isNumber);
    const bool accepted = reply != QLatin1String("?") && !(isNumber && number == -99.0) && reply != FailureText;
    // Sent as the file holds them, but a sensor that refuses its old readings has lost no
    // setting: that alone must not report the whole restore as failed.
    const bool refusedReading = IsMeasuredParameter(parameter) && reply == QLatin1String("?");
    if (!accepted && !refusedReading)
        state.WriteErrorFlag = true;
    Pause(RestorePauseMs);
    return accepted;
}

bool SensorHasIdentity(Link& link, int address, const QString& identity)
{
    link.Net_Send(address, 1, SensorBus::IdentificationCommand());
    int replyAddress = -1, frameCode = -1;
    QString reply = FailureText;
    link.Net_Receive(IdentityReplyMs, replyAddress, frameCode, reply);
    return !identity.isEmpty() && reply != FailureText && reply.left(8) == identity;
}

ReadOutcome LoadConfigurationFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ReadOutcome out;
        out.unreadable = true;
        out.problem = file.errorString();
        return out;
    }
    return ReadConfigurationFile(file.readAll());
}

SaveOutcome SaveSensorConfiguration(TransferEnvironment& env, const SavedSensor& sensor, const QString& path,
                                    const std::function<SensorLayout()>& adapt, const QString& timestamp)
{
    if (QFileInfo::exists(path)
        && !ask(env, tr(env, "LangReplace") + path + QLatin1Char('?'), MessageButtons::YesNo))
        return SaveOutcome::NotReplaced;
    progress(env, 10);
    // The old file stays until the new one is whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        tell(env, fileError(env));
        progress(env, 0);
        return SaveOutcome::FileError;
    }
    LinkState& state = env.link.state();
    state.ReadErrorFlag = false;
    QStringList lines = ConfigurationHeader(env.texts, sensor, timestamp);
    progress(env, 20);
    const SensorLayout layout = adapt ? adapt() : SensorLayout{};
    progress(env, 30);
    WriteConfigurationFile(env.link, env.texts, sensor, layout, env.language,
                           [&](const QString& line) { lines << line; }, [&](int p) { progress(env, p); });
    const QByteArray bytes = EncodeConfigurationFile(lines);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        tell(env, fileError(env));
        progress(env, 0);
        return SaveOutcome::FileError;
    }
    progress(env, 100);
    progress(env, 0);
    if (state.ReadErrorFlag) {
        tell(env, DownloadIncomplete);
        return SaveOutcome::Incomplete;
    }
    return SaveOutcome::Saved;
}

RestoreOutcome RestoreSensorConfiguration(TransferEnvironment& env, int address, const QString& path,
                                          const std::optional<RestoreCheck>& check)
{
    const ReadOutcome read = LoadConfigurationFile(path);
    if (read.unreadable) {
        tell(env, fileError(env));
        return RestoreOutcome::FileError;
    }
    if (!read.ok) {
        tell(env, tr(env, "LangFile") + QLatin1Char(' ') + tr(env, "LangInvalid") + QStringLiteral(": ") + read.problem);
        return RestoreOutcome::Refused;
    }
    const ConfigurationFileData& data = read.data;
    const LanguageSectionTexts fileTexts(data.language, env.languageFile);
    const ConvertedValues converted = ConvertConfigurationValues(data, fileTexts);

    std::optional<bool> sameSensor;
    if (check) {
        sameSensor = SensorHasIdentity(env.link, address, data.identity);
        SavedSensor target = check->sensor;
        target.address = address;
        const SensorLayout layout{data.brixCoefficients, check->anySmoothing};
        const ReadOutcome present = ReadSensorConfiguration(env.link, env.texts, target, layout, env.language,
                                                            [&](int p) { progress(env, p * 30 / 100); });
        if (present.ok) {
            const auto differences = CompareConfigurations(data, converted, present.data,
                                                           ConvertConfigurationValues(present.data, env.texts), *sameSensor,
                                                           env.texts);
            if (!differences.isEmpty() && !ask(env, DifferenceSummary(differences), MessageButtons::OkCancel)) {
                progress(env, 0);
                return RestoreOutcome::Cancelled;
            }
        }
    }

    LinkState& state = env.link.state();
    state.WriteErrorFlag = false;
    QList<PlannedWrite> plan = RestorePlan(data, converted, false);
    for (const PlannedWrite& w : plan) {
        if (w.id < 4)
            WriteRestoredValue(env.link, address, w.parameter, w.value);
    }
    progress(env, 40);
    if (!sameSensor)
        sameSensor = SensorHasIdentity(env.link, address, data.identity);
    for (const PlannedWrite& w : RestorePlan(data, converted, *sameSensor)) {
        if (w.id < 4)
            continue;
        WriteRestoredValue(env.link, address, w.parameter, w.value);
        if (w.id == 8)
            progress(env, 60);
        else if (w.id == 10)
            progress(env, 70);
        else if (w.id == 21)
            progress(env, 90);
    }
    progress(env, 100);
    progress(env, 0);
    if (state.WriteErrorFlag) {
        tell(env, UploadFailed);
        return RestoreOutcome::WriteFailed;
    }
    return RestoreOutcome::Restored;
}

}  // namespace dunmere
