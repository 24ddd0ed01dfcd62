#include "CalibrationReport.h"

#include "CalibrationStore.h"
#include "link/Messages.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <array>

namespace dunmere {

namespace {

// The characters of bytes 0x80...0x9F; 0 where the code page has none (those bytes stand
// for the control characters of the same number).
constexpr std::array<char16_t, 32> HighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char windows1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (size_t i = 0; i < HighControls.size(); ++i) {
        const char32_t mapped = HighControls[i] != 0 ? HighControls[i] : char32_t(0x80 + i);
        if (c == mapped)
            return char(0x80 + i);
    }
    return '?';
}

const QString Tab3 = QStringLiteral("\t\t\t");

// The text followed by three, two or one TAB by its length.
QString padded(const QString& text)
{
    const qsizetype length = text.toUcs4().size();
    return text + (length < 8 ? Tab3 : length < 16 ? QStringLiteral("\t\t") : QStringLiteral("\t"));
}

// An empty coefficient prints as the number 0 does.
QString coefficient(const QString& value) { return value.isEmpty() ? QStringLiteral(" 0 ") : value; }

QString yesNo(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

class ReportWriter {
public:
    void line(const QString& text = {}) { bytes_ += ToWindows1252(text) + "\r\n"; }
    [[nodiscard]] const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

void moistureRecord(ReportWriter& w, const CalibrationRecord& r, const TextSource& t)
{
    w.line(r.ID);
    w.line(QStringLiteral("B") + Tab3 + coefficient(r.bValue));
    w.line(QStringLiteral("C") + Tab3 + coefficient(r.cValue));
    w.line(QStringLiteral("SSD") + Tab3 + coefficient(r.ssd));
    w.line(t.text(QStringLiteral("LangRules")) + QLatin1Char('\t') + yesNo(r.rules));
    w.line();
    w.line(padded(t.text(QStringLiteral("LangNote"))) + padded(t.text(QStringLiteral("LangUnscaled")))
           + padded(t.text(QStringLiteral("LangMoisture"))) + QStringLiteral("Include"));
    for (const CalibrationRow& row : r.rows)
        w.line(padded(row.date) + row.unscaled + Tab3 + row.lab + Tab3 + yesNo(row.include));
}

void brixRecord(ReportWriter& w, const CalibrationRecord& r, const TextSource& t)
{
    w.line(r.ID);
    w.line(QStringLiteral("A\t\t") + coefficient(r.aValue));
    w.line(QStringLiteral("B\t\t") + coefficient(r.bValue));
    w.line(QStringLiteral("C\t\t") + coefficient(r.cValue));
    w.line(QStringLiteral("D\t\t") + coefficient(r.ssd));
    w.line(QStringLiteral("Error\t\t") + coefficient(r.error));
    w.line();
    w.line(padded(t.text(QStringLiteral("LangNote"))) + padded(t.text(QStringLiteral("LangUnscaled"))) + QStringLiteral("Brix"));
    for (const CalibrationRow& row : r.rows)
        w.line(padded(row.date) + row.unscaled + Tab3 + row.lab + Tab3);
}

}  // namespace

QByteArray ToWindows1252(const QString& text)
{
    QByteArray bytes;
    for (const char32_t c : text.toUcs4())
        bytes += windows1252Byte(c);
    return bytes;
}

QByteArray CalibrationReport(CalibrationStore& store, const TextSource& texts, const QString& programText, const QDateTime& now)
{
    const QString rule = QStringLiteral("#====================================================#");
    const QLocale locale = QLocale::system();
    ReportWriter w;
    w.line(rule);
    w.line(QStringLiteral("        Dunmere: ") + programText);
    w.line(rule);
    w.line(texts.text(QStringLiteral("LangMatCal")) + QStringLiteral(": ") + locale.toString(now.date(), QLocale::ShortFormat)
           + QStringLiteral("  ") + now.time().toString(QStringLiteral("HH:mm:ss")));
    w.line();
    for (const CalibrationRecord& r : store.records()) {
        if (store.kind() == CalibrationKind::Brix)
            brixRecord(w, r, texts);
        else
            moistureRecord(w, r, texts);
        w.line();
        w.line();
        w.line();
    }
    return w.bytes();
}

ExportOutcome ExportCalibrations(CalibrationStore& store, const QString& filePath, const TextSource& texts,
                                 const QString& programText, const QDateTime& now)
{
    if (filePath.isEmpty())
        return {ExportOutcome::Code::EmptyName,
                texts.text(QStringLiteral("LangInvalid")) + QLatin1Char(' ') + texts.text(QStringLiteral("LangName"))};
    const ExportOutcome fileError{ExportOutcome::Code::FileError,
                                  texts.text(QStringLiteral("LangFile")) + QLatin1Char(' ') + texts.text(QStringLiteral("LangError"))};
    QByteArray contents;
    QFile old(filePath);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return fileError;
        contents = old.readAll();
        if (old.error() != QFileDevice::NoError)
            return fileError;
        old.close();
    }
    contents += CalibrationReport(store, texts, programText, now);
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
        return fileError;
    return {};
}

}  // namespace dunmere
