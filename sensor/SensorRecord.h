#pragma once
// What is known of each bus address, and the rules that turn a sensor's identification and
// firmware replies into it.

#include <QString>
#include <array>
#include <optional>

namespace dunmere {

inline constexpr int FirstBusAddress = 1;
inline constexpr int LastBusAddress = 16;

struct SensorRecord {
    int FoundAddress = 0;  // 0: no sensor known here; -1: it answered the probe only
    QString Identity;      // 8 characters, the row caption and the key of identity commands
    QString Name;          // up to 20 characters
    QString FirmwareText;  // the reply to parameter 50, e.g. "QX0077 v2.10"
    int TypeCode = 0;
    double FirmwareVersion = 0.0;
};

// The SensorTable: indexed by bus address; entry 0 is never used.
using SensorRecords = std::array<SensorRecord, LastBusAddress + 1>;

// Entries 1-16 back to "no sensor known".
void ClearSensorTable(SensorRecords& table);

// Identity from columns 1-8 of the reply to the identification command, Name from columns
// 10-29 without trailing blanks. Shorter replies give what they hold.
[[nodiscard]] QString IdentityOf(const QString& identificationReply);
[[nodiscard]] QString NameOf(const QString& identificationReply);

// TypeCode from columns 5-6 and, only when that worked, FirmwareVersion from columns 9-12.
// A text shorter than 12 characters, or one whose columns do not convert, leaves the record's
// values as they are.
void ParseFirmwareText(SensorRecord& record);

// A sensor's name is at most this long.
inline constexpr int SensorNameLength = 20;
// Whether a text can travel in a command: the bus carries one byte per character, from the
// space up to 0xFF; anything else would arrive as "?".
[[nodiscard]] bool FitsOnTheBus(const QString& text);

// Sensors with a second measurement channel (and the parameter numbers that go with it).
[[nodiscard]] bool HasSecondChannel(int typeCode);

// The hardware kind named by parameter 78. The full reading takes the value AND 0xFF0; the
// first, coarser reading takes AND 0xF0 and knows only 0, 16, 32 and 64. Kind 32 is
// "Fayline" in the Brix edition, where it also selects the Brix coefficients.
struct HardwareKind {
    QString text;
    bool brixSelected = false;
};
[[nodiscard]] std::optional<HardwareKind> HardwareKindOf(int parameter78, bool brixEdition);
[[nodiscard]] std::optional<HardwareKind> HardwareKindOfFirstReading(int parameter78, bool brixEdition);

}  // namespace dunmere
