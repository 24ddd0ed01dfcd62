#pragma once
// A scenario file (JSON) sets up everything the command line does not: the sensors with their
// parameters, flags, faults, firmware block answers and automatic calibration, material steps
// over time, the line's faults, timing and front ends, and the adapter's settings.
//
// {
//   "baud": 9600, "latencyMs": 3, "faults": "master",
//   "tcp": "127.0.0.1:10001", "pty": true, "adapterUdp": "127.0.0.2",
//   "adapter": {"automatic": false, "gateway": "127.0.0.254", "tcpPort": 10001,
//               "hardwareAddress": "00:20:4A:6E:0C:0D", "applyDelayMs": 3000},
//   "sensors": [{"address": 1, "type": 89, "identity": "Q8904213", "name": "Mixer 1 inlet",
//                "firmware": "QX0089 v1.12", "checksum": "7A3C", "material": 38,
//                "frameCode": 2, "parameters": {"2": "0.2500"}, "statusFlags": "0000001000",
//                "faults": "checksum", "blocks": [{"block": 100, "answer": "10", "times": 1}],
//                "autoCalibration": {"succeeds": false, "durationMs": 8000},
//                "materialSteps": [{"atMs": 10000, "material": 60}]}]
// }

#include "AdapterConfigServer.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace dunmere::sim {

class SimBus;

struct ScenarioOptions {
    QString tcp;          // "127.0.0.1:10001"; empty for none
    bool pty = false;
    QString adapterUdp;   // a loopback address; empty for none
    std::optional<int> baud;
    std::optional<qint64> latencyMs;
    std::optional<AdapterSettings> adapter;
    qint64 adapterApplyDelayMs = 3000;
};

// Builds the scenario's sensors on the (empty) bus and fills the options. False with a message
// naming the first thing wrong; the bus may then hold part of the scenario.
[[nodiscard]] bool loadScenario(const QByteArray& json, SimBus& bus, ScenarioOptions& options, QString& error);

}  // namespace dunmere::sim
