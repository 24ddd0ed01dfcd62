#include "LogHeader.h"

#include "link/Link.h"
#include "link/Messages.h"
#include "link/ValueFormat.h"
#include "sensor/FixedPoint.h"
#include "sensor/SensorRecord.h"

#include <cmath>

namespace dunmere {

namespace {

constexpr char Tab = '\t';
const QString CrLf = QStringLiteral("\r\n");

QString listText(const TextSource& texts, const QString& reply, std::initializer_list<const char*> keys)
{
    const int index = ParseIndex(reply, int(keys.size()));
    return texts.text(QString::fromLatin1(*(keys.begin() + index)));
}

QString slewText(const TextSource& texts, const QString& reply)
{
    return listText(texts, reply, {"LangNone", "LangLight", "LangMedium", "LangHeavy"});
}

QString modeText(const TextSource& texts, const QString& reply)
{
    return listText(texts, reply, {"LangStandardMode", "LangModeA", "LangModeV", "LangModeE", "LangModeI"});
}

}  // namespace

QString SmoothTimeText(const QString& reply)
{
    static const char* const codes[] = {"0", "1.0", "2.5", "5.0", "7.5", "10.0"};
    const int value = ParseIndex(reply, 100);
    if (value <= 5)
        return QString::fromLatin1(codes[value]);
    return QString::number(value);
}

SensorHeaderFacts ReadHeaderFacts(Link& link, int address, const SensorRecord& record, bool secondChannel,
                                  const TextSource& texts)
{
    SensorHeaderFacts f;
    f.address = address;
    f.name = record.Name;
    f.firmware = record.FirmwareText;
    f.identity = record.Identity;
    f.smoothTime = SmoothTimeText(link.ReadParameter(address, 14));
    f.slewUp = slewText(texts, link.ReadParameter(address, 16));
    f.slewDown = slewText(texts, link.ReadParameter(address, 17));
    f.hasMode = record.TypeCode == 77 || record.TypeCode == 89;
    if (f.hasMode) {
        f.mode = modeText(texts, link.ReadParameter(address, 38));
        f.hasMode2 = secondChannel;
        if (f.hasMode2)
            f.mode2 = modeText(texts, link.ReadParameter(address, 47));
    }
    return f;
}

QString LogDateText(const QDate& date) { return date.toString(QString::fromLatin1(LogDateFormat)); }

QString LogTimeText(const QTime& time) { return time.toString(QString::fromLatin1(LogTimeFormat)); }

QString LogHeaderText(const LogHeaderSetup& setup, const TextSource& texts)
{
    auto t = [&](const char* key) { return texts.text(QString::fromLatin1(key)); };
    const int r = TickedCount(setup.ticked);
    const QString tabs = QString(r, QLatin1Char(Tab));
    std::array<QString, 10> rows;  // rows 1-9 and the title row
    const QString rowLabels[7] = {t("LangAddress"), t("LangSensor"), t("LangFirmware"), QStringLiteral("ID"),
                                  t("LangSmoothTime"), t("LangSlew") + QStringLiteral(" +"),
                                  t("LangSlew") + QStringLiteral(" -")};
    for (const SensorHeaderFacts& s : setup.sensors) {
        const QString values[7] = {QString::number(s.address), s.name, s.firmware, s.identity, s.smoothTime, s.slewUp,
                                   s.slewDown};
        for (int i = 0; i < 7; ++i)
            rows[i] += rowLabels[i] + QStringLiteral(": ") + Tab + values[i] + Tab;
        // A sensor without the mode keeps its two cells empty, so the next sensor's group
        // stays in its columns.
        rows[7] += s.hasMode ? t("LangUnscaled") + QLatin1Char(' ') + t("LangMeasurementMode") + QLatin1Char(':') + Tab
                + s.mode + Tab
                             : QString(2, QLatin1Char(Tab));
        rows[8] += s.hasMode2 ? t("LangUnscaled") + QStringLiteral(" 2 ") + t("LangMeasurementMode") + QLatin1Char(':')
                + Tab + s.mode2 + Tab
                              : QString(2, QLatin1Char(Tab));
        rows[9] += t("LangTime") + Tab + t("LangTime") + QStringLiteral(" (") + t("LangSeconds") + QLatin1Char(')') + Tab;
        for (int k = 0; k < ReadingCount; ++k) {
            if (setup.ticked[k])
                rows[9] += setup.readingNames.value(k) + Tab;
        }
        for (int i = 0; i < 9; ++i)
            rows[i] += tabs;
        for (QString& row : rows)
            row += Tab;
    }

    const bool raw = setup.ticked[RawReading1] || setup.ticked[RawReading2];
    const QString interval = raw ? QStringLiteral("0.04") : QString::number(setup.intervalSeconds);
    QString text;
    text += QString::fromLatin1(LogRuleLine) + CrLf;
    text += QStringLiteral("       Dunmere: ") + setup.identification + CrLf;
    text += QString::fromLatin1(LogRuleLine) + CrLf;
    text += t("LangLogging") + QLatin1Char(' ') + t("LangStart") + QStringLiteral(": ") + LogDateText(setup.start.date())
        + QStringLiteral("  ") + LogTimeText(setup.start.time()) + CrLf;
    text += t("LangLogging") + QLatin1Char(' ') + t("LangEvery") + QLatin1Char(' ') + interval + QLatin1Char(' ')
        + t("LangSeconds") + CrLf;
    text += CrLf;
    for (int i = 0; i < 9; ++i)
        text += rows[i] + CrLf;
    text += CrLf;
    text += rows[9] + CrLf;
    return text;
}

}  // namespace dunmere
