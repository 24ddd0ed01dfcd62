#include "KeptConfiguration.h"

#include "link/Link.h"
#include "sensor/ParameterRegister.h"

namespace dunmere {

namespace {

bool firmwareIdentification(int parameter) { return parameter == 50 || parameter == 51; }

bool realValue(const QString& reply) { return reply != FailureText && reply != QLatin1String("?") && !reply.isEmpty(); }

}  // namespace

QList<ConfigurationChange> KeptConfiguration::changes() const
{
    QList<ConfigurationChange> out;
    const auto& beforeValues = snapshot_.values(ConfigSnapshot::Before);
    const auto& afterValues = snapshot_.values(ConfigSnapshot::After);
    const auto& beforeParameters = snapshot_.parameters(ConfigSnapshot::Before);
    const auto& afterParameters = snapshot_.parameters(ConfigSnapshot::After);
    const auto& beforeReplies = snapshot_.replies(ConfigSnapshot::Before);
    const qsizetype count = qMin(beforeValues.size(), afterValues.size());
    for (qsizetype i = 0; i < count; ++i) {
        const int parameter = beforeParameters.at(i);
        // A changed hardware kind reads another coefficient set: those positions are not the
        // same parameters and cannot be compared or restored.
        if (parameter != afterParameters.at(i) || firmwareIdentification(parameter))
            continue;
        if (beforeValues.at(i) == afterValues.at(i))
            continue;
        const ParameterInfo* info = FindParameter(parameter);
        ConfigurationChange change{parameter, beforeValues.at(i), afterValues.at(i), false};
        change.restorable = info && info->writeCommand && realValue(beforeReplies.at(i)) && !change.before.isEmpty();
        out.append(change);
    }
    return out;
}

bool KeptConfiguration::incomplete() const
{
    return snapshot_.readFailed(ConfigSnapshot::Before) || snapshot_.readFailed(ConfigSnapshot::After);
}

bool KeptConfiguration::restore(Link& link, int address, const QList<ConfigurationChange>& changes) const
{
    bool answered = true;
    bool wrote = false;
    for (const ConfigurationChange& change : changes) {
        if (!change.restorable)
            continue;
        const QString prefix = QString::fromLatin1(FindParameter(change.parameter)->writeCommand);
        const QString reply = link.WriteParameter(address, prefix, change.before, prefix);
        answered = answered && reply != FailureText;
        wrote = true;
    }
    if (wrote)
        answered = link.SendAction(address, QStringLiteral("1")) != FailureText && answered;
    return answered;
}

QString KeptConfiguration::describe(const ConfigurationChange& change)
{
    const ParameterInfo* info = FindParameter(change.parameter);
    const QString meaning = info ? QStringLiteral(" ") + QString::fromLatin1(info->meaning) : QString();
    return QString::number(change.parameter) + meaning + QStringLiteral(": ") + change.before + QStringLiteral(" -> ")
           + change.after;
}

}  // namespace dunmere
