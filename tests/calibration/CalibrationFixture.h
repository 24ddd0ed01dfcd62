#pragma once
// Small helpers of the calibration tests: texts by key, and grids built from short lists.

#include "calibration/CalibrationRow.h"
#include "link/Messages.h"

#include <QHash>
#include <QStringList>

namespace dunmere::test {

// The English texts the tests read, any other key as its own name.
class CalibrationTexts final : public TextSource {
public:
    QHash<QString, QString> texts{
        {QStringLiteral("LangInvalid"), QStringLiteral("Invalid")},
        {QStringLiteral("LangCalibration"), QStringLiteral("Calibration")},
        {QStringLiteral("LangCalGotID"), QStringLiteral("A calibration of this name exists already")},
        {QStringLiteral("LangName"), QStringLiteral("Name")},
        {QStringLiteral("LangFile"), QStringLiteral("File")},
        {QStringLiteral("LangError"), QStringLiteral("Error")},
        {QStringLiteral("LangMatCal"), QStringLiteral("Material Calibration")},
        {QStringLiteral("LangRules"), QStringLiteral("Rules")},
        {QStringLiteral("LangNote"), QStringLiteral("Note")},
        {QStringLiteral("LangUnscaled"), QStringLiteral("Unscaled")},
        {QStringLiteral("LangMoisture"), QStringLiteral("Moisture")},
        {QStringLiteral("LangMax"), QStringLiteral("Maximum")},
        {QStringLiteral("LangCalib"), QStringLiteral("The calibration store cannot be opened")},
    };
    [[nodiscard]] QString text(const QString& key) const override { return texts.value(key, key); }
};

// Rows from "unscaled/lab" pairs, all ticked; "~" before a pair leaves its row unticked.
inline CalibrationRows Rows(const QStringList& pairs)
{
    CalibrationRows rows;
    for (qsizetype i = 0; i < pairs.size() && i < CalibrationRowCount; ++i) {
        QString pair = pairs[i];
        CalibrationRow& row = rows[size_t(i)];
        row.include = !pair.startsWith(u'~');
        if (!row.include)
            pair.remove(0, 1);
        row.unscaled = pair.section(u'/', 0, 0);
        row.lab = pair.section(u'/', 1);
    }
    return rows;
}

}  // namespace dunmere::test
