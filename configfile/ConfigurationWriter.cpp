#include "ConfigurationWriter.h"

#include "ConfigurationFile.h"
#include "ConfigurationValues.h"
#include "link/Link.h"
#include "link/ValueFormat.h"
#include "sensor/FixedPoint.h"
#include "sensor/SensorRecord.h"
#include "shell/core/StartupSettings.h"

#include <QDateTime>
#include <QLocale>

namespace dunmere {

namespace {

// Parameters some types lack: their "?" is an answer, not an incomplete reading.
bool mayBeMissing(int parameter)
{
    return parameter == 38 || parameter == 47 || parameter == 79;
}

// Progress after a value line.
int progressAfter(int id)
{
    switch (id) {
    case 3: return 40;
    case 5: return 50;
    case 6: return 60;
    case 10: return 70;
    case 17: return 80;
    case 21: return 90;
    default: return -1;
    }
}

const char* headingBefore(int id)
{
    switch (id) {
    case 4: return "{LangAnalogue} {LangOutput}";
    case 9: return "{LangDigital} {LangInput}/{LangOutput}";
    case 11: return "{LangAveraging}";
    case 16: return "{LangSigProc}";
    case 19: return "{LangDiagnostics}";
    default: return nullptr;
    }
}

// "P" + code, the live-value block commands.
QString pCommand(int code) { return QStringLiteral("P") + QChar(code); }

class BodyWriter {
public:
    BodyWriter(Link& link, const TextSource& texts, const SavedSensor& sensor, const SensorLayout& layout, int language)
        : link_(link), texts_(texts), sensor_(sensor), layout_(layout), language_(language)
    {
    }

    // The value's text, or a null text when its line is left out.
    QString valueText(const FileValue& v)
    {
        switch (v.coding) {
        case ValueCoding::Number: return FormatNumber(read(v.parameter));
        case ValueCoding::Temperature:
        case ValueCoding::MaterialTemperature: {
            const double value = DecodeFixedPoint(FormatNumber(read(v.parameter)), 2);
            if (value == -99 && v.coding == ValueCoding::MaterialTemperature)
                return QStringLiteral("---");
            return FormatDecimals(value, 1);
        }
        case ValueCoding::Smoothing: {
            const QList<CodedText> items = CodedTexts(v.coding, texts_);
            const int value = ParseIndex(read(v.parameter), layout_.anySmoothing ? 101 : 6);
            return value > 5 ? QString::number(value) : items.at(value).text;
        }
        case ValueCoding::Arm: {
            const QString reply = read(v.parameter);
            for (const CodedText& c : CodedTexts(v.coding, texts_)) {
                if (reply == QString::number(c.code))
                    return c.text.isNull() ? QStringLiteral("") : c.text;
            }
            return {};
        }
        case ValueCoding::Frequency: return columns(pCommand(11), 1, 10, 2);
        case ValueCoding::Amplitude: return columns(pCommand(11), 21, 10, 0);
        case ValueCoding::LowestTemperature: return columns(pCommand(14), 1, 9, 1);
        case ValueCoding::HighestTemperature: return columns(pCommand(14), 11, 9, 1);
        case ValueCoding::Language: return QString::number(language_);
        default: {
            // The list-backed values: the item at the parsed index (codes 0 to count-1).
            const QList<CodedText> items = CodedTexts(v.coding, texts_);
            return items.at(ParseIndex(read(v.parameter), int(items.size()))).text;
        }
        }
    }

    // Lines 0-3 after the heading: the Brix coefficients when that row shows, empty values
    // when the sensor has none, else the moisture coefficients.
    QString coefficientHeading()
    {
        if (!layout_.brixRow)
            return ComposeText("{LangMoisture} % {LangCoeff} ", texts_);
        brixMissing_ = read(25) == QLatin1String("?");
        return ComposeText("Brix {LangCoeff}", texts_);
    }
    QString coefficient(const FileValue& v)
    {
        if (!layout_.brixRow)
            return valueText(v);
        if (brixMissing_)
            return {};
        return FormatNumber(read(v.brixParameter));
    }

private:
    QString read(int parameter)
    {
        if (auto it = replies_.find(parameter); it != replies_.end())
            return *it;
        LinkState& state = link_.state();
        const bool flagBefore = state.ReadErrorFlag;
        const QString reply = link_.ReadParameter(sensor_.address, parameter);
        if (mayBeMissing(parameter) && reply == QLatin1String("?"))
            state.ReadErrorFlag = flagBefore;
        replies_.insert(parameter, reply);
        return reply;
    }

    // A "P" reply's fixed columns; a failed exchange gives an empty value.
    QString columns(const QString& command, int from, int width, int decimals)
    {
        auto it = commandReplies_.find(command);
        if (it == commandReplies_.end())
            it = commandReplies_.insert(command, link_.SendCommand(sensor_.address, command));
        if (*it == FailureText || *it == QLatin1String("!"))
            return {};
        return FormatDecimals(DecodeFixedPoint(it->mid(from - 1, width), decimals), decimals);
    }

    Link& link_;
    const TextSource& texts_;
    const SavedSensor& sensor_;
    const SensorLayout& layout_;
    int language_;
    bool brixMissing_ = false;
    QMap<int, QString> replies_;
    QMap<QString, QString> commandReplies_;
};

}  // namespace

QString ConfigurationTimestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    return locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral("  ")
           + locale.toString(now.time(), QLocale::ShortFormat);
}

QStringList ConfigurationHeader(const TextSource& texts, const SavedSensor& sensor, const QString& timestamp)
{
    const auto t = [&](const char* key) { return texts.text(QString::fromLatin1(key)); };
    return {ConfigurationRuleLine,
            QStringLiteral("        Dunmere: ") + ProgramVersionText,
            ConfigurationRuleLine,
            QString(),
            timestamp,
            QString(),
            t("LangName") + QStringLiteral(": ") + sensor.name,
            t("LangSensor") + QStringLiteral(": ") + sensor.identity,
            t("LangAddress") + QStringLiteral(": ") + QString::number(sensor.address),
            t("LangSensor") + QLatin1Char(' ') + t("LangConfiguration"),
            QString()};
}

void WriteConfigurationFile(Link& link, const TextSource& texts, const SavedSensor& sensor, const SensorLayout& layout,
                            int language, const std::function<void(const QString&)>& line,
                            const std::function<void(int)>& progress)
{
    BodyWriter body(link, texts, sensor, layout, language);
    const bool secondChannel = HasSecondChannel(sensor.typeCode);
    line(body.coefficientHeading());
    for (const FileValue& v : FileValues()) {
        if (v.slot == ValueSlot::SecondChannelOnly && !secondChannel)
            continue;
        if (const char* heading = headingBefore(v.id))
            line(ComposeText(heading, texts));
        const QString value = v.id < 4 ? body.coefficient(v) : body.valueText(v);
        if (v.slot == ValueSlot::ArmLine && value.isNull())
            continue;  // the sensor has none of the arm codes
        line(ValueLabel(v, texts) + QString::fromLatin1(v.equals) + value);
        if (v.id == LanguageValue) {
            line(ComposeText("{LangFirmware}", texts));
            line(ComposeText("{LangVersion} ", texts) + sensor.firmwareText);
        }
        if (const int percent = progressAfter(v.id); percent >= 0 && progress)
            progress(percent);
    }
}

}  // namespace dunmere
