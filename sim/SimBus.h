#pragma once
// One RS-485 line with up to 16 simulated sensors. A frame is answered only by the sensor at
// its address (address 0 by the sensor last spoken to); the reply carries address + 96 and
// the sensor's FrameCode, and passes through the faults switched on for the sensor and the
// line. The bus knows nothing of timing: WireLine puts its bytes on the wire.

#include "Faults.h"
#include "VirtualSensor.h"

#include <QList>
#include <QObject>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace dunmere::sim {

struct ReceivedFrame {
    qint64 atMs;  // clock time the frame's last byte reached the sensors
    int address;
    int frameCode;
    QByteArray payload;
};

class SimBus final : public QObject {
    Q_OBJECT
public:
    explicit SimBus(QObject* parent = nullptr);
    ~SimBus() override;
    SimBus(const SimBus&) = delete;
    SimBus& operator=(const SimBus&) = delete;

    static constexpr int MaxSensors = 16;

    // Nullptr when the line is full or the address is outside 1–16.
    VirtualSensor* addSensor(const SensorSetup& setup);
    void removeSensor(int address);
    [[nodiscard]] VirtualSensor* sensorAt(int address) const;
    [[nodiscard]] QList<VirtualSensor*> sensors() const;

    // The sensors' turnaround: from the command's last byte to the reply's first.
    void setReplyLatencyMs(qint64 ms) { latencyMs_ = ms; }
    [[nodiscard]] qint64 replyLatencyMs() const { return latencyMs_; }

    void setBusFaults(const FaultSet& faults);
    [[nodiscard]] const FaultSet& busFaults() const { return busFaults_; }
    // False when no sensor sits at the address.
    bool setSensorFaults(int address, const FaultSet& faults);
    [[nodiscard]] FaultSet sensorFaults(int address) const;

    // One whole frame from the master; the reply that goes back on the line, if any.
    [[nodiscard]] std::optional<WireReply> handleFrame(int address, int frameCode, const QByteArray& payload);

    // Every frame the sensors heard, oldest first (the last few thousand).
    [[nodiscard]] const QList<ReceivedFrame>& received() const { return received_; }
    void clearReceived() { received_.clear(); }

    static constexpr qint64 ChatterIntervalMs = 350;

signals:
    // Every frame the sensors heard, with the answer a sensor gave as it left the sensor
    // before any fault (nothing when none answered): soaks compare what the program accepted.
    void frameHandled(const QByteArray& command, const std::optional<QByteArray>& answer);
    // Bytes another master puts on the line without being asked.
    void unsolicited(const QByteArray& bytes);

private:
    [[nodiscard]] QList<VirtualSensor*> addressed(int address) const;
    [[nodiscard]] std::optional<WireReply> secondMasterReply(int address, const QByteArray& payload) const;
    void record(int address, int frameCode, const QByteArray& payload);
    void scheduleChatter();
    void stopChatter();

    std::vector<std::unique_ptr<VirtualSensor>> sensors_;
    std::map<const VirtualSensor*, FaultSet> sensorFaults_;
    FaultSet busFaults_;
    qint64 latencyMs_ = 3;
    VirtualSensor* lastAddressed_ = nullptr;
    QList<ReceivedFrame> received_;
    int chatterHandle_ = 0;
};

}  // namespace dunmere::sim
