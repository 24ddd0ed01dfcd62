#pragma once
// The output-variable items of ListOPVar1 and ListOPVar2, the variable codes of parameters 6
// and 29, and the fixed items of the other configuration lists.

#include "link/Messages.h"

#include <QString>
#include <QStringList>

namespace dunmere {

// The list items in order; the second-channel item and "Brix" only where they apply.
[[nodiscard]] QStringList OutputVariableItems(const TextSource& texts, bool secondChannel, bool brixAvailable);

// The code of an item text (compared without regard to case), -1 when no code has that text.
[[nodiscard]] int OutputVariableCode(const QString& itemText, const TextSource& texts);

// What reading a code shows: the item to select and, for codes the list does not offer as
// such, the lines of the engineering message. selectsBrix for code 7.
struct OutputVariableReading {
    QString itemText;
    QStringList messageLines;
    bool selectsBrix = false;
};
// output is 1 or 2; codes outside 0-11 give an empty item text.
[[nodiscard]] OutputVariableReading ReadOutputVariable(int code, int output, const TextSource& texts);

// Items of the fixed configuration and Advanced-page lists.
[[nodiscard]] QStringList OutputTypeItems(const TextSource& texts);
[[nodiscard]] QStringList Input1Items(const TextSource& texts);
[[nodiscard]] QStringList Input2Items(const TextSource& texts);
[[nodiscard]] QStringList SlewItems(const TextSource& texts);
[[nodiscard]] QStringList FilterItems(const TextSource& texts);
[[nodiscard]] QStringList AverageHoldItems();
[[nodiscard]] QStringList SmoothingItems();  // the six fixed items, without "Any"
[[nodiscard]] QStringList AveragingModeItems(const TextSource& texts);
[[nodiscard]] QStringList MeasurementModeItems(const TextSource& texts);
[[nodiscard]] QStringList ArmTypeItems(const TextSource& texts);

inline const QString AnySmoothingItem = QStringLiteral("Any");

// Measurement mode codes of the list items 0-2, and the item of a code (-1 for a foreign one).
[[nodiscard]] int MeasurementModeCode(int item);
[[nodiscard]] int MeasurementModeItem(int code);
// Arm codes of the list items 0-5, and the item of a code (-1 for none).
[[nodiscard]] int ArmTypeCode(int item);
[[nodiscard]] int ArmTypeItem(int code);

}  // namespace dunmere
