#pragma once
// The sensor's measurement put into the texts and blocks it answers with: live parameters,
// the 10-character column blocks, the raw sample blocks and the resonator sweep.

#include <QByteArray>

namespace dunmere::sim {

class VirtualSensor;

// Moisture % from an unscaled value and the coefficients A–D (parameters 1–4).
[[nodiscard]] double moistureOf(VirtualSensor& sensor, double unscaled);
// Value text of a live parameter (61, 62, 64, 65, 46, 66, 67, 74, 75); empty when not live.
[[nodiscard]] QByteArray liveParameterText(VirtualSensor& sensor, int number);
// `P` + 0x0B: uncompensated frequency, bandwidth, amplitude, reference, electronics and
// resonator temperature, compensated frequency and amplitude.
[[nodiscard]] QByteArray liveBlock(VirtualSensor& sensor);
// `P` + 0x0C: raw, filtered and average moisture, raw, filtered and average unscaled, then
// electronics and resonator temperature.
[[nodiscard]] QByteArray trendBlock(VirtualSensor& sensor);
// `P` + 0x0E: lowest and highest temperature.
[[nodiscard]] QByteArray extremesBlock(VirtualSensor& sensor);
// R100 / R117: the last second's raw samples × 100, 16 bits each, high byte first.
[[nodiscard]] QByteArray rawBlock(VirtualSensor& sensor, int channel);
// `P` + 0x0A: 50 bytes of resonator response, peaking where the reading stands.
[[nodiscard]] QByteArray sweep(VirtualSensor& sensor);

}  // namespace dunmere::sim
