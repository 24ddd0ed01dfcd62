#include "CalibrationRecord.h"

#include "BrixFit.h"
#include "CalibrationNumbers.h"

namespace dunmere {

namespace {

using Field = StoreColumn::Field;

QList<StoreColumn> buildColumns(CalibrationKind kind)
{
    const bool brix = kind == CalibrationKind::Brix;
    QList<StoreColumn> columns;
    auto text = [&](const char* name, Field field) { columns.append({QString::fromLatin1(name), ColumnType::Text, 255, field}); };
    auto yesNo = [&](const char* name, Field field) { columns.append({QString::fromLatin1(name), ColumnType::YesNo, 0, field}); };
    text("ID", Field::ID);
    if (brix)
        text("A Value", Field::AValue);
    text("B Value", Field::BValue);
    text("C Value", Field::CValue);
    text("SSD", Field::Ssd);
    text("Error", Field::Error);
    if (brix) {
        text("totsqrerror", Field::TotSqrError);
        yesNo("Rules1", Field::Rules1);
        yesNo("Rules2", Field::Rules2);
    } else {
        yesNo("Rules", Field::Rules);
    }
    const int pointSize = brix ? 50 : 255;
    for (int n = 1; n <= CalibrationRowCount; ++n) {
        const QString number = QString::number(n);
        columns.append({QStringLiteral("Check ") + number, ColumnType::YesNo, 0, Field::Check, n - 1});
        columns.append({QStringLiteral("Date ") + number, ColumnType::Text, 50, Field::Date, n - 1});
        columns.append({QStringLiteral("US ") + number, ColumnType::Text, pointSize, Field::US, n - 1});
        columns.append({QStringLiteral("M ") + number, ColumnType::Text, pointSize, Field::M, n - 1});
    }
    return columns;
}

QVariant textValue(const QString& text) { return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text); }

}  // namespace

QVariant StoreColumn::valueOf(const CalibrationRecord& r) const
{
    switch (field) {
    case Field::ID: return textValue(r.ID);
    case Field::AValue: return textValue(r.aValue);
    case Field::BValue: return textValue(r.bValue);
    case Field::CValue: return textValue(r.cValue);
    case Field::Ssd: return textValue(r.ssd);
    case Field::Error: return textValue(r.error);
    case Field::TotSqrError: return textValue(r.totSqrError);
    case Field::Rules: return r.rules;
    case Field::Rules1: return r.rules1;
    case Field::Rules2: return r.rules2;
    case Field::Check: return r.rows[size_t(row)].include;
    case Field::Date: return textValue(r.rows[size_t(row)].date);
    case Field::US: return textValue(r.rows[size_t(row)].unscaled);
    case Field::M: return textValue(r.rows[size_t(row)].lab);
    }
    return {};
}

void StoreColumn::setValue(CalibrationRecord& r, const QVariant& value) const
{
    const QString text = value.isNull() ? QString() : value.toString();
    const bool yes = !value.isNull() && value.toLongLong() != 0;
    switch (field) {
    case Field::ID: r.ID = text; break;
    case Field::AValue: r.aValue = text; break;
    case Field::BValue: r.bValue = text; break;
    case Field::CValue: r.cValue = text; break;
    case Field::Ssd: r.ssd = text; break;
    case Field::Error: r.error = text; break;
    case Field::TotSqrError: r.totSqrError = text; break;
    case Field::Rules: r.rules = yes; break;
    case Field::Rules1: r.rules1 = yes; break;
    case Field::Rules2: r.rules2 = yes; break;
    case Field::Check: r.rows[size_t(row)].include = yes; break;
    case Field::Date: r.rows[size_t(row)].date = text; break;
    case Field::US: r.rows[size_t(row)].unscaled = text; break;
    case Field::M: r.rows[size_t(row)].lab = text; break;
    }
}

const QList<StoreColumn>& StoreColumns(CalibrationKind kind)
{
    static const QList<StoreColumn> moisture = buildColumns(CalibrationKind::Moisture);
    static const QList<StoreColumn> brix = buildColumns(CalibrationKind::Brix);
    return kind == CalibrationKind::Brix ? brix : moisture;
}

CalibrationRecord NewCalibrationRecord(CalibrationKind kind, const QString& name)
{
    CalibrationRecord r;
    r.ID = name;
    if (kind == CalibrationKind::Moisture) {
        r.rules = true;
    } else {
        r.rules1 = r.rules2 = true;
        const BrixCoefficients start = DefaultBrixStart();
        r.aValue = NumberText(start.A);
        r.bValue = NumberText(start.B);
        r.cValue = NumberText(start.C);
        r.ssd = NumberText(start.D);
    }
    return r;
}

}  // namespace dunmere
