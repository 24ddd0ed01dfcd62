#pragma once
// The protocol and progress trace. Silent by default: a line is written only when its level
// is at or below the threshold, which is 0 unless DUNMERE_DEBUG_LEVEL or --debug-level raised
// it. Levels: 10 errors, 15 and 17 progress and transport changes, 20 frames and detail.

#include <QString>

namespace dunmere {

void DebugLog(const QString& text, int level);

[[nodiscard]] int DebugThreshold();
void SetDebugThreshold(int level);
// Where lines go; the data folder's Dunmere-Debug-LogFile.csv unless set.
void SetDebugLogPath(const QString& path);

}  // namespace dunmere
