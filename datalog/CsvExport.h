#pragma once
// Exports for spreadsheets: UTF-8 (with a byte-order mark, so spreadsheet programs read the
// degree signs right), comma-separated, ISO 8601 timestamps, one column per sensor and
// reading, "." as the decimal point whatever the locale. Values without a number stay empty.

#include "ReadingCatalogue.h"
#include "TrendStore.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace dunmere {

struct CsvSensor {
    int address = 0;
    QString name;
};

// The trend store's samples, oldest first, for the rows in use and the offered readings
// 0-8 (readingNames: the catalogue's names, empty for a reading not offered).
[[nodiscard]] QByteArray TrendCsv(const TrendStore& store, const QList<CsvSensor>& sensors, const QStringList& readingNames);

// A data log file's bytes (UTF-16LE, any number of headers and flushes) as CSV. False with a
// reason when the bytes hold no log header.
[[nodiscard]] bool LogFileCsv(const QByteArray& logBytes, QByteArray& csv, QString& error);

// Writes through a temporary file and a rename; false with the reason.
[[nodiscard]] bool WriteCsvFile(const QString& path, const QByteArray& csv, QString& error);

}  // namespace dunmere
