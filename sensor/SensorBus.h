#pragma once
// The procedures that find the sensors on the bus and change their addresses and names. They
// talk through the Link, keep what they learn in the SensorModel, and speak to the user
// through the message and text seams.

#include <QString>
#include <functional>

namespace dunmere {

class Link;
class Messages;
class SensorModel;
class TextSource;

class SensorBus {
public:
    // The probe time-out used when the setting holds none (or a non-positive one): a probe
    // that waits 0 ms would find nothing.
    static constexpr int DefaultProbeTimeoutMs = 1000;
    static constexpr int ExchangeTimeoutMs = 1500;

    enum class SearchOutcome { Found, NoneFound, Overtaken, Closing };

    enum class AddressChange {
        Renamed,         // only the name changed; the command carried the old address
        Occupied,        // another sensor holds the new address; the row shows the old one again
        Moved,           // the sensor answers at its new address
        MovedNoAnswer,   // moved in the table, but nothing answers at the new address
        NoSensor,        // the row is empty
    };
    struct AddressChangeResult {
        AddressChange outcome = AddressChange::NoSensor;
        bool failureReply = false;  // some exchange got "-99"
    };

    SensorBus(Link& link, SensorModel& model, Messages* messages = nullptr, const TextSource* texts = nullptr);

    // The SearchSpeed setting in ms; non-positive gives DefaultProbeTimeoutMs (not stored).
    void setProbeTimeout(int ms);
    [[nodiscard]] int probeTimeout() const { return probeTimeoutMs_; }
    // Over TCP a search starts from a fresh connection to the current adapter.
    void setReconnect(std::function<void()> reconnect) { reconnect_ = std::move(reconnect); }

    SearchOutcome SensorSearch();
    // The address or name change that row r's button asked for.
    AddressChangeResult UpdateSensorAddr(int row);

    // "P" + byte 0x01: the identification command.
    [[nodiscard]] static QString IdentificationCommand();
    // "P" + byte 0x11 + identity + " " + two-digit address + four blanks + name.
    [[nodiscard]] static QString AddressChangeCommand(const QString& identity, int address, const QString& name);

private:
    [[nodiscard]] bool overtaken();
    [[nodiscard]] bool closing() const;
    // One exchange with the identification command; the reply's address (or -1) and text.
    int identify(int address, int timeoutMs, int& frameCode, QString& reply);
    void identifyFound(int address);
    void tickFoundSensors();
    void tell(const QString& text);
    [[nodiscard]] QString text(const char* key) const;

    Link& link_;
    SensorModel& model_;
    Messages* messages_;
    const TextSource* texts_;
    int probeTimeoutMs_ = DefaultProbeTimeoutMs;
    std::function<void()> reconnect_;
};

}  // namespace dunmere
