#pragma once
// One stored calibration and the columns of the two stores' table Calibration, in order.

#include "CalibrationRow.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace dunmere {

enum class CalibrationKind { Moisture, Brix };

// A record as the window binds it. Empty texts are stored as NULL and read back empty.
struct CalibrationRecord {
    QString ID;           // the calibration's name
    QString aValue;       // Brix: A
    QString bValue;       // slope (moisture), B (Brix)
    QString cValue;       // intercept (moisture), C (Brix)
    QString ssd;          // moisture: TextCurrentSSD; Brix: coefficient D
    QString error;        // Brix: the error figure; moisture: not used
    QString totSqrError;  // Brix: not used
    bool rules = false;   // moisture: CheckRules
    bool rules1 = false;  // Brix: yes on creation, not used otherwise
    bool rules2 = false;
    CalibrationRows rows;

    friend bool operator==(const CalibrationRecord&, const CalibrationRecord&) = default;
};

enum class ColumnType { Text, YesNo };

struct StoreColumn {
    enum class Field { ID, AValue, BValue, CValue, Ssd, Error, TotSqrError, Rules, Rules1, Rules2, Check, Date, US, M };
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0;  // characters, text columns only
    Field field = Field::ID;
    int row = -1;  // 0...19 for the point columns

    // The record's value for this column: a string (null for empty text) or a bool.
    [[nodiscard]] QVariant valueOf(const CalibrationRecord& record) const;
    void setValue(CalibrationRecord& record, const QVariant& value) const;
};

// "ID", then the coefficient columns, then Check n, Date n, US n, M n for n = 1...20.
[[nodiscard]] const QList<StoreColumn>& StoreColumns(CalibrationKind kind);

// A new record with the defaults of its kind: moisture Rules yes; Brix Rules1 and Rules2 yes
// and the default start coefficients as the system writes numbers.
[[nodiscard]] CalibrationRecord NewCalibrationRecord(CalibrationKind kind, const QString& name);

}  // namespace dunmere
