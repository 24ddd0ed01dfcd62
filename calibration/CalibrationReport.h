#pragma once
// The calibration report: every record of a store as plain text, one byte per character in
// the Windows-1252 code page (a character outside it is written as "?"), lines ended by CR LF,
// added to the end of the chosen file.

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace dunmere {

class CalibrationStore;
class TextSource;

struct ExportOutcome {
    enum class Code { Written, EmptyName, FileError };
    Code code = Code::Written;
    QString message;  // LangInvalid LangName, or LangFile LangError
};

// The report of every record of the store. programText: the identification such as
// "QX0068 v1.80"; now: the date and time of the preamble.
[[nodiscard]] QByteArray CalibrationReport(CalibrationStore& store, const TextSource& texts, const QString& programText,
                                           const QDateTime& now);

// Adds the report to the end of filePath (made when missing). The file is rewritten whole
// through a temporary file, so a failure leaves it as it was.
[[nodiscard]] ExportOutcome ExportCalibrations(CalibrationStore& store, const QString& filePath, const TextSource& texts,
                                               const QString& programText, const QDateTime& now = QDateTime::currentDateTime());

// One byte per character in Windows-1252; "?" for a character it lacks.
[[nodiscard]] QByteArray ToWindows1252(const QString& text);

}  // namespace dunmere
