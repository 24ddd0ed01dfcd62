#pragma once
// What the moisture calibration window asks of the chosen sensor: its averaging mode and
// input, its live unscaled values, its calibration, remote averaging on and off, and writing
// a calibration with its read-back check. Each runs inside one tick of the window's timer.

#include <QString>
#include <utility>

namespace dunmere {

class Link;
class Messages;
class TextSource;

// The calibration as the sensor holds it, through the number formatter (empty when unread).
struct SensorCalibration {
    QString B;    // parameter 2
    QString C;    // parameter 3
    QString SSD;  // parameter 4
};

// Parameter 9 (digital input 1 use) 1...3: the sensor's averaging follows its digital input.
// No reply or a value outside 0...3 counts as 0.
[[nodiscard]] bool ReadDigitalAveraging(Link& link, int address);
// Parameter 69 padded with ten zeros: its 7th digit is "1" while the averaging input is on.
[[nodiscard]] bool ReadAveragingInput(Link& link, int address);
[[nodiscard]] SensorCalibration ReadSensorCalibration(Link& link, int address);
// Parameter 64 (filtered unscaled) and 65 (averaged unscaled), formatted.
[[nodiscard]] std::pair<QString, QString> ReadUnscaledValues(Link& link, int address);
// "A3" starts, "A2" stops the sensor's remote averaging; the sensor's reply.
QString SendAveraging(Link& link, int address, bool start);

enum class CalibrationWriteOutcome {
    Written,     // read back as written
    NotSent,     // B or C (or a non-empty SSD) is no number: nothing was sent
    CommsError,  // sent, but the read-back is missing or differs
};

struct CalibrationWrite {
    CalibrationWriteOutcome outcome = CalibrationWriteOutcome::NotSent;
    SensorCalibration readBack;
    QString message;  // for the message window
};

// A box's text as it goes on the wire: the number formatter's four decimals, always with "."
// (empty for a non-number).
[[nodiscard]] QString WireNumber(const QString& text);
// The read-back shows what was written: the same number to four decimals.
[[nodiscard]] bool ReadBackMatches(const QString& readBack, const QString& written);
// LangSensor LangConfiguration LangWritten, or LangCommsError.
[[nodiscard]] QString WrittenMessage(bool confirmed, const TextSource& texts);

// "W1" 0.0000, "W2" B, "W3" C, "W4" SSD when given, "A1"; then, 100 ms later, the read-back.
// Nothing is sent unless B and C (and a given SSD) are numbers, and "written" is reported
// only when the read-back equals what was written to four decimals.
[[nodiscard]] CalibrationWrite WriteMoistureCalibration(Link& link, int address, const QString& b, const QString& c,
                                                        const QString& ssd, const TextSource& texts);

}  // namespace dunmere
