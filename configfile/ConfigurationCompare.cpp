#include "ConfigurationCompare.h"

#include <QLocale>
#include <cmath>

namespace dunmere {

namespace {

// Numbers with either decimal separator; the failure value is no number here.
bool asNumber(const QString& text, double& value)
{
    QString pointed = text.trimmed();
    pointed.replace(u',', u'.');
    bool ok = false;
    value = QLocale::c().toDouble(pointed, &ok);
    return ok && std::isfinite(value);
}

bool sameValue(const QString& a, const QString& b)
{
    double x = 0, y = 0;
    if (asNumber(a, x) && asNumber(b, y))
        return std::abs(x - y) <= 1e-9 * std::max({1.0, std::abs(x), std::abs(y)});
    return a == b;
}

QString labelOf(const PlannedWrite& w, bool brix, const TextSource& texts)
{
    if (w.id < 4) {
        const QString row = brix ? QStringLiteral("Brix") : texts.text(QStringLiteral("LangMoisture"));
        return row + QLatin1Char(' ') + QLatin1Char(char('A' + w.id));
    }
    return ValueLabel(FileValueById(w.id), texts);
}

// The order of the restore after the coefficients.
constexpr int fixedOrder[] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 24, 25, 26, 29, 30};

}  // namespace

QList<PlannedWrite> RestorePlan(const ConfigurationFileData& data, const ConvertedValues& converted, bool sameSensor)
{
    QList<PlannedWrite> plan;
    const auto add = [&](int position) {
        const int id = data.ids.at(position);
        const FileValue& v = FileValueById(id);
        if (v.factory && !sameSensor)
            return;
        const int parameter = id < 4 && data.brixCoefficients ? v.brixParameter : v.parameter;
        plan.append({id, parameter, converted.values.at(position)});
    };
    if (data.coefficientSection) {
        for (int id = 0; id < 4; ++id)
            add(id);
    }
    for (int id : fixedOrder)
        add(id);
    for (int position = FixedValueCount; position < data.values.size(); ++position)
        add(position);
    return plan;
}

QList<ValueDifference> CompareConfigurations(const ConfigurationFileData& from, const ConvertedValues& fromValues,
                                             const ConfigurationFileData& onto, const ConvertedValues& ontoValues,
                                             bool sameSensor, const TextSource& texts)
{
    QMap<int, QString> present;
    for (const PlannedWrite& w : RestorePlan(onto, ontoValues, true))
        present.insert(w.parameter, w.value);
    QList<ValueDifference> out;
    for (const PlannedWrite& w : RestorePlan(from, fromValues, sameSensor)) {
        if (IsMeasuredParameter(w.parameter))
            continue;
        const auto it = present.constFind(w.parameter);
        if (it != present.constEnd() && sameValue(w.value, *it))
            continue;
        out.append({w.parameter, labelOf(w, from.brixCoefficients, texts), w.value,
                    it == present.constEnd() ? QString() : *it});
    }
    return out;
}

QString DifferenceSummary(const QList<ValueDifference>& differences)
{
    QStringList labels;
    for (const ValueDifference& d : differences)
        labels << d.label;
    return QStringLiteral("%1 values differ: ").arg(differences.size()) + labels.join(QStringLiteral(", "));
}

ReadOutcome ReadSensorConfiguration(Link& link, const TextSource& texts, const SavedSensor& sensor,
                                    const SensorLayout& layout, int language, const std::function<void(int)>& progress)
{
    QStringList lines = ConfigurationHeader(texts, sensor, QString());
    WriteConfigurationFile(link, texts, sensor, layout, language, [&](const QString& line) { lines << line; }, progress);
    return ReadConfigurationFile(EncodeConfigurationFile(lines));
}

}  // namespace dunmere
