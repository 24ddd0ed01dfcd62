#pragma once
// The calibration stores: calibdb.mdb (moisture) and brixcalibdb.mdb (Brix) in the data
// folder, SQLite files with one table Calibration whose columns keep the documented names,
// order, types and text sizes, and the primary key PrimaryKey on ID. Numbers are stored as
// the text shown, empty texts as NULL. Every write runs in a transaction with bound values,
// so a failure or a kill leaves the last committed record. A file that is not such a store
// is reported and never written.

#include "CalibrationRecord.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace dunmere {

class TextSource;

constexpr int MaxCalibrations = 501;

[[nodiscard]] QString CalibrationStoreFileName(CalibrationKind kind);
// The data folder + the file name.
[[nodiscard]] QString CalibrationStorePath(CalibrationKind kind);

// Creates the file with its table, built under a temporary name and renamed into place so
// that no half-made store is ever left. False when it could not; an existing file is never
// touched (and also gives false).
bool CreateCalibStore(const QString& path, CalibrationKind kind);

class CalibrationStore {
public:
    enum class OpenResult {
        Opened,
        Created,    // the file was missing and has been made
        Missing,    // missing and not made (LangCalib)
        NotAStore,  // the file is damaged or another program's; left as it is
    };

    struct Outcome {
        enum class Code { Done, Ignored, Duplicate, TooMany, TooLong, NotFound, Failed };
        Code code = Code::Done;
        QString message;  // for the message window; empty for Done and Ignored
        [[nodiscard]] bool done() const { return code == Code::Done; }
    };

    explicit CalibrationStore(CalibrationKind kind);
    ~CalibrationStore();
    CalibrationStore(const CalibrationStore&) = delete;
    CalibrationStore& operator=(const CalibrationStore&) = delete;

    [[nodiscard]] OpenResult open(const QString& path, bool createIfMissing = true);
    void close();
    [[nodiscard]] bool isOpen() const { return open_; }
    [[nodiscard]] CalibrationKind kind() const { return kind_; }
    [[nodiscard]] const QString& path() const { return path_; }
    // What the database said last, for the log and the command line.
    [[nodiscard]] const QString& lastError() const { return lastError_; }

    // The names in the store's natural order (the order of creation), at most MaxCalibrations.
    [[nodiscard]] QStringList names();
    [[nodiscard]] std::optional<CalibrationRecord> record(const QString& name);
    // Every record in the natural order, for the report.
    [[nodiscard]] QList<CalibrationRecord> records();

    // A new record with the defaults of its kind. An empty name is ignored; a name that
    // matches a stored one in any letter case is a duplicate (LangCalGotID " - " name); a
    // name longer than its column and a store that is full are refused.
    Outcome add(const QString& name, const TextSource& texts);
    // Writes every field of the record with its ID; a text longer than its column refuses the
    // whole save (LangInvalid and the column's name) rather than cut it.
    Outcome save(const CalibrationRecord& record, const TextSource& texts);
    Outcome remove(const QString& name, const TextSource& texts);

private:
    [[nodiscard]] bool hasTheTable();
    Outcome failed(const TextSource& texts);

    CalibrationKind kind_;
    QString connection_;
    QString path_;
    QString lastError_;
    bool open_ = false;
};

// What the window's list shows after filling it: the names and the current entry (the first,
// or the last with selectLast); no names is the first-calibration state.
struct CalibrationList {
    QStringList names;
    int current = -1;
    [[nodiscard]] bool firstCalibration() const { return names.isEmpty(); }
};

[[nodiscard]] CalibrationList FillCalList(CalibrationStore& store, bool selectLast);

}  // namespace dunmere
