#pragma once
// The command language a sensor understands: R, W, A and the P sub-commands, each parsed and
// answered with the sensor's reply text ("!" done, "?" not recognised, or a value).

#include <QByteArray>
#include <optional>

namespace dunmere::sim {

class VirtualSensor;

namespace SensorCommands {

// The reply to one command; nothing when the sensor stays silent.
[[nodiscard]] std::optional<QByteArray> answer(VirtualSensor& sensor, const QByteArray& command);

// P sub-command codes.
inline constexpr char Identify = 0x01;
inline constexpr char Sweep = 0x0A;
inline constexpr char LiveBlock = 0x0B;
inline constexpr char TrendBlock = 0x0C;
inline constexpr char Extremes = 0x0E;
inline constexpr char OutputTest = 0x10;
inline constexpr char ChangeAddress = 0x11;
inline constexpr char FirmwareBlock = 0x12;
inline constexpr char Restart = 0x13;
inline constexpr char FactoryReset = 0x16;

inline constexpr char RestartWords[] = "HANG ON EVERYBODY";

}  // namespace SensorCommands

}  // namespace dunmere::sim
