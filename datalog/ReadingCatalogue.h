#pragma once
// The eleven readings the data window can trend and log: their names as built from the
// language texts, which of them are offered, and how their values are shown.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace dunmere {

class TextSource;

inline constexpr int ReadingCount = 11;
inline constexpr int BrixReading = 8;
inline constexpr int RawReading1 = 9;
inline constexpr int RawReading2 = 10;

using ReadingFlags = std::array<bool, ReadingCount>;

// Index 0-10; an empty name means the reading is not offered (Brix outside the Brix edition,
// the second raw channel without a second channel).
[[nodiscard]] QStringList ReadingNames(const TextSource& texts, bool brixAvailable, bool secondChannel);
// The offered readings in index order: ListGraph's positions.
[[nodiscard]] QList<int> OfferedReadings(const QStringList& names);
[[nodiscard]] constexpr bool IsRawReading(int reading) { return reading == RawReading1 || reading == RawReading2; }
// Decimals a reading is shown and logged with.
[[nodiscard]] int ReadingDecimals(int reading);
// How many readings are ticked.
[[nodiscard]] int TickedCount(const ReadingFlags& ticked);

}  // namespace dunmere
