#include "SimBus.h"

#include "SensorCommands.h"
#include "link/Clock.h"
#include "link/Frame.h"

#include <algorithm>

namespace dunmere::sim {

namespace {

constexpr qsizetype ReceivedKept = 4000;
// The other master polls a device of its own; its identification answer is its own too.
const QByteArray ChatterCommand = "R64";
const QByteArray MasterIdentification = "PLC00001 Line master        ";

// Replies of several sensors at once collide on the line: the wire carries their AND.
WireReply collide(const QList<WireReply>& replies)
{
    WireReply out = replies.first();
    for (qsizetype r = 1; r < replies.size(); ++r) {
        const QByteArray& other = replies[r].bytes;
        if (other.size() > out.bytes.size())
            out.bytes.append(other.size() - out.bytes.size(), '\xFF');
        for (qsizetype i = 0; i < other.size(); ++i)
            out.bytes[i] = char(out.bytes[i] & other[i]);
    }
    return out;
}

}  // namespace

SimBus::SimBus(QObject* parent) : QObject(parent) {}

SimBus::~SimBus() { stopChatter(); }

VirtualSensor* SimBus::addSensor(const SensorSetup& setup)
{
    if (int(sensors_.size()) >= MaxSensors || setup.address < 1 || setup.address > 16)
        return nullptr;
    sensors_.push_back(std::make_unique<VirtualSensor>(setup));
    return sensors_.back().get();
}

void SimBus::removeSensor(int address)
{
    auto it = std::find_if(sensors_.begin(), sensors_.end(), [&](const auto& s) { return s->address() == address; });
    if (it == sensors_.end())
        return;
    if (lastAddressed_ == it->get())
        lastAddressed_ = nullptr;
    sensorFaults_.erase(it->get());
    sensors_.erase(it);
}

VirtualSensor* SimBus::sensorAt(int address) const
{
    for (const auto& s : sensors_) {
        if (s->address() == address)
            return s.get();
    }
    return nullptr;
}

QList<VirtualSensor*> SimBus::sensors() const
{
    QList<VirtualSensor*> list;
    for (const auto& s : sensors_)
        list.append(s.get());
    std::stable_sort(list.begin(), list.end(), [](auto* a, auto* b) { return a->address() < b->address(); });
    return list;
}

void SimBus::setBusFaults(const FaultSet& faults)
{
    const bool chatterWas = busFaults_.secondMaster;
    busFaults_ = faults;
    if (faults.secondMaster && !chatterWas)
        scheduleChatter();
    else if (!faults.secondMaster)
        stopChatter();
}

bool SimBus::setSensorFaults(int address, const FaultSet& faults)
{
    VirtualSensor* sensor = sensorAt(address);
    if (!sensor)
        return false;
    sensorFaults_[sensor] = faults;
    return true;
}

FaultSet SimBus::sensorFaults(int address) const
{
    VirtualSensor* sensor = sensorAt(address);
    auto it = sensor ? sensorFaults_.find(sensor) : sensorFaults_.end();
    return it == sensorFaults_.end() ? FaultSet{} : it->second;
}

QList<VirtualSensor*> SimBus::addressed(int address) const
{
    QList<VirtualSensor*> list;
    if (address == 0) {
        // Address 0 reaches the sensor under test: the one last spoken to by its address.
        VirtualSensor* target = lastAddressed_ ? lastAddressed_ : (sensors().isEmpty() ? nullptr : sensors().first());
        if (target)
            list.append(target);
        return list;
    }
    for (const auto& s : sensors_) {
        if (s->address() == address)
            list.append(s.get());
    }
    return list;
}

std::optional<WireReply> SimBus::handleFrame(int address, int frameCode, const QByteArray& payload)
{
    record(address, frameCode, payload);
    const QList<VirtualSensor*> targets = addressed(address);
    if (targets.isEmpty()) {
        emit frameHandled(payload, std::nullopt);
        return busFaults_.secondMaster ? secondMasterReply(address, payload) : std::nullopt;
    }
    std::optional<QByteArray> answer;
    if (address != 0)
        lastAddressed_ = targets.first();
    QList<WireReply> replies;
    for (VirtualSensor* sensor : targets) {
        const int replyAddress = sensor->address();  // before an address change takes effect
        const auto text = sensor->answer(payload);
        if (!text)
            continue;
        answer = *text;
        const QByteArray frame = frame::encodeReply(replyAddress, sensor->frameCode(), *text);
        auto it = sensorFaults_.find(sensor);
        const FaultSet faults = it == sensorFaults_.end() ? busFaults_ : busFaults_.combinedWith(it->second);
        if (auto reply = applyFaults(faults, frame, latencyMs_))
            replies.append(*reply);
    }
    emit frameHandled(payload, answer);
    if (replies.isEmpty())
        return std::nullopt;
    return collide(replies);
}

std::optional<WireReply> SimBus::secondMasterReply(int address, const QByteArray& payload) const
{
    if (payload != QByteArray(1, 'P') + SensorCommands::Identify)
        return std::nullopt;
    return WireReply{frame::encodeReply(address, 1, MasterIdentification), latencyMs_, -1};
}

void SimBus::record(int address, int frameCode, const QByteArray& payload)
{
    received_.append(ReceivedFrame{Clock::current().nowMs(), address, frameCode, payload});
    if (received_.size() > ReceivedKept)
        received_.remove(0, received_.size() - ReceivedKept);
}

void SimBus::scheduleChatter()
{
    auto& clock = Clock::current();
    chatterHandle_ = clock.schedule(clock.nowMs() + ChatterIntervalMs, [this] {
        chatterHandle_ = 0;
        if (!busFaults_.secondMaster)
            return;
        emit unsolicited(frame::encodeText(17, 1, ChatterCommand));
        scheduleChatter();
    }, Clock::Runs::AlsoDuringSleep);
}

void SimBus::stopChatter()
{
    if (chatterHandle_ != 0)
        Clock::current().cancel(chatterHandle_);
    chatterHandle_ = 0;
}

}  // namespace dunmere::sim
