#pragma once
// Turning the sensor's trend replies into readings: the "P" + 0x0C block of 10-character
// fields and the binary raw blocks of "R100" and "R117".

#include "ReadingCatalogue.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace dunmere {

// "P" + byte 0x0C.
[[nodiscard]] QString TrendBlockCommand();

// Readings 0, 1, 3, 4, 5 and 6 from the block, as the window shows them ("0.00" or "0.0");
// the other entries stay empty. A missing field reads -99 (so a failed poll shows -99 in
// every field), a field without digits 0.
[[nodiscard]] std::array<QString, ReadingCount> DecodeTrendBlock(const QString& reply);

// A parameter reply (readings 2, 7, 8) as shown: "---" without a value.
[[nodiscard]] QString ParameterReadingText(int reading, const QString& reply);

// 16-bit samples, high byte first, each divided by 100. A trailing odd byte is no sample.
[[nodiscard]] QList<double> DecodeRawBlock(const QByteArray& payload);

// "R100" for raw channel 1, "R117" for channel 2.
[[nodiscard]] QString RawBlockCommand(int channel);

}  // namespace dunmere
