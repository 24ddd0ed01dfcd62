#include "CsvExport.h"

#include "LogHeader.h"

#include <QSaveFile>

namespace dunmere {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

QString cell(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// A value cell as a plain number with a decimal point; empty for "---", the no-value marker
// and anything that is not a number.
QString numberCell(const QString& value)
{
    QString plain = value.trimmed();
    plain.replace(u',', u'.');
    bool ok = false;
    const double number = plain.toDouble(&ok);
    if (!ok || plain == NoTrendValue || number == -999.0)
        return {};
    return plain;
}

QByteArray csvLine(const QStringList& cells)
{
    QStringList quoted;
    quoted.reserve(cells.size());
    for (const QString& c : cells)
        quoted << cell(c);
    return quoted.join(u',').toUtf8() + "\r\n";
}

QString columnTitle(int address, const QString& name, const QString& reading)
{
    QString sensor = QString::number(address);
    if (!name.isEmpty())
        sensor += QLatin1Char(' ') + name;
    return sensor + QStringLiteral(" - ") + reading;
}

// The text of a log file: UTF-16LE, the mark FF FE at the start of every flush dropped.
QString logText(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const QChar c(ushort(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8)));
        if (c != QChar(0xFEFF))
            text += c;
    }
    return text;
}

// One header of a log and the layout of the lines under it.
struct LogSection {
    QDateTime start;
    QList<int> addresses;
    QStringList names;
    QStringList readings;  // the ticked readings' names
    [[nodiscard]] int width() const { return int(readings.size()) + 3; }
};

// Cell after each "label: " cell of a header row, one per sensor group.
QStringList groupValues(const QString& row, int width, int groups)
{
    const QStringList cells = row.split(u'\t');
    QStringList values;
    for (int g = 0; g < groups; ++g)
        values << cells.value(g * width + 1);
    return values;
}

bool parseHeader(const QStringList& lines, qsizetype at, LogSection& section, qsizetype& titleLine)
{
    // Rule, identification, rule, start, interval, empty, rows 1-9, empty, title.
    if (at + 16 >= lines.size())
        return false;
    const QString startLine = lines[at + 3];
    const qsizetype colon = startLine.indexOf(QStringLiteral(": "));
    const QString stamp = colon < 0 ? QString() : startLine.mid(colon + 2).simplified();
    section.start = QDateTime::fromString(stamp, QString::fromLatin1(LogDateFormat) + u' ' + QString::fromLatin1(LogTimeFormat));
    titleLine = at + 16;
    const QStringList title = lines[titleLine].split(u'\t');
    const QString timeLabel = title.value(0);
    // Each group starts with the time label; the second cell is "Time (Seconds)".
    int groups = 0;
    for (const QString& t : title)
        groups += t == timeLabel && !t.isEmpty() ? 1 : 0;
    if (groups == 0)
        return false;
    int named = 0;
    for (const QString& t : title)
        named += t.isEmpty() ? 0 : 1;
    const int readings = named / groups - 2;
    if (readings < 0)
        return false;
    for (int k = 0; k < readings; ++k)
        section.readings << title.value(2 + k);
    const int width = readings + 3;
    for (const QString& a : groupValues(lines[at + 6], width, groups))
        section.addresses << a.toInt();
    section.names = groupValues(lines[at + 7], width, groups);
    return true;
}

}  // namespace

QByteArray TrendCsv(const TrendStore& store, const QList<CsvSensor>& sensors, const QStringList& readingNames)
{
    QStringList title{QStringLiteral("Time")};
    QList<int> readings;
    for (int k = 0; k <= BrixReading; ++k) {
        if (!readingNames.value(k).isEmpty())
            readings << k;
    }
    for (const CsvSensor& s : sensors)
        for (int k : readings)
            title << columnTitle(s.address, s.name, readingNames[k]);
    QByteArray csv = Bom + csvLine(title);
    for (int i = 0; i < TrendStore::Samples; ++i) {
        const int sample = (store.writePosition() + i) % TrendStore::Samples;
        const QDateTime& time = store.sampleTime(sample);
        if (!time.isValid())
            continue;
        QStringList line{time.toString(Qt::ISODateWithMs)};
        for (int row = 0; row < sensors.size(); ++row)
            for (int k : readings)
                line << numberCell(store.cell(row, k, sample));
        csv += csvLine(line);
    }
    return csv;
}

bool LogFileCsv(const QByteArray& logBytes, QByteArray& csv, QString& error)
{
    const QStringList lines = logText(logBytes).split(QStringLiteral("\r\n"));
    // Every header in the file, in order; lines belong to the header above them.
    QList<LogSection> sections;
    QList<std::pair<qsizetype, qsizetype>> spans;  // first and last line of each section's data
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] != QLatin1String(LogRuleLine) || i + 2 >= lines.size() || lines[i + 2] != QLatin1String(LogRuleLine))
            continue;
        LogSection section;
        qsizetype title = 0;
        if (!parseHeader(lines, i, section, title))
            continue;
        if (!spans.isEmpty())
            spans.last().second = i - 1;
        sections << section;
        spans << std::pair{title + 1, lines.size() - 1};
        i = title;
    }
    if (sections.isEmpty()) {
        error = QStringLiteral("no data log header found");
        return false;
    }
    // The columns of all sections together, in order of first appearance.
    QStringList columns;
    for (const LogSection& s : sections)
        for (int g = 0; g < s.addresses.size(); ++g)
            for (const QString& reading : s.readings)
                if (const QString c = columnTitle(s.addresses[g], s.names.value(g), reading); !columns.contains(c))
                    columns << c;
    csv = Bom + csvLine(QStringList{QStringLiteral("Time")} + columns);
    for (qsizetype n = 0; n < sections.size(); ++n) {
        const LogSection& s = sections[n];
        for (qsizetype i = spans[n].first; i <= spans[n].second; ++i) {
            const QStringList cells = lines[i].split(u'\t');
            if (lines[i].isEmpty())
                continue;
            QStringList row(columns.size() + 1);
            for (int g = 0; g < s.addresses.size(); ++g) {
                const int at = g * s.width();
                const QString seconds = numberCell(cells.value(at + 1));
                if (row[0].isEmpty() && !seconds.isEmpty() && s.start.isValid())
                    row[0] = s.start.addMSecs(qint64(seconds.toDouble() * 1000.0 + 0.5)).toString(Qt::ISODateWithMs);
                for (int k = 0; k < s.readings.size(); ++k) {
                    const qsizetype column = columns.indexOf(columnTitle(s.addresses[g], s.names.value(g), s.readings[k]));
                    row[column + 1] = numberCell(cells.value(at + 2 + k));
                }
            }
            csv += csvLine(row);
        }
    }
    return true;
}

bool WriteCsvFile(const QString& path, const QByteArray& csv, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace dunmere
