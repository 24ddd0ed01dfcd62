// The fault soak: the live-reading poll, a Configuration page fill and write, and the bus
// search, run on the virtual clock against the demo bus of simulated sensors while a fault is
// injected at random into about a third of the replies, over the serial line and over TCP.
// Every reply frame the program accepts is compared with what the sensor sent before the
// fault; every parameter a sensor holds is compared after each round with what it held
// before. Prints the counts; exits 1 when a target is missed:
//   0 wrong values accepted from frames with one fault, 0 unintended writes, 0 hangs.
// A crash ends the run with the sanitizer's or the system's report.
// A last phase injects a fault the 8-bit XOR checksum cannot see (the same bit flipped in two
// bytes); what it lets through is counted apart, as that checksum's known limit.
//
// faultsoak [exchanges, default 100000] [seed, default 1]

#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/NumberRules.h"
#include "sensor/LiveReadings.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"
#include "shell/pages/core/ConfigurationProcedures.h"
#include "shell/pages/core/PagesCore.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <QSet>

#include <cstdio>
#include <map>
#include <random>

using namespace dunmere;

namespace {

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

class SilentMessages final : public Messages {
public:
    bool show(const QString&, MessageButtons) override { return true; }
};

enum class Fault { None, Noise, Checksum, Flip, Drop, Stx, Late, Master, Close, DoubleFlip };
const char* faultName(Fault f)
{
    switch (f) {
    case Fault::None: return "none";
    case Fault::Noise: return "noise before STX";
    case Fault::Checksum: return "wrong checksum";
    case Fault::Flip: return "flipped bit";
    case Fault::Drop: return "dropped byte";
    case Fault::Stx: return "second STX";
    case Fault::Late: return "late reply";
    case Fault::Master: return "second master";
    case Fault::Close: return "closed TCP connection";
    case Fault::DoubleFlip: return "two flipped bits";
    }
    return "";
}

sim::FaultSet faultSet(Fault f)
{
    sim::FaultSet s;
    s.noiseBeforeStx = f == Fault::Noise;
    s.wrongChecksum = f == Fault::Checksum;
    s.bitFlip = f == Fault::Flip;
    s.droppedByte = f == Fault::Drop;
    s.secondStx = f == Fault::Stx;
    s.lateReply = f == Fault::Late;
    s.secondMaster = f == Fault::Master;
    s.closeMidReply = f == Fault::Close;
    s.doubleBitFlip = f == Fault::DoubleFlip;
    return s;
}

struct Counts {
    qint64 exchanges = 0;
    std::map<Fault, qint64> injected;
    qint64 wrongSingle = 0;     // accepted frames with one fault that differ from the sensor's answer
    qint64 stale = 0;           // the answer to an earlier command accepted for this one
    qint64 foreign = 0;         // frames accepted where no sensor answered (another master's)
    qint64 doubleExchanges = 0;
    qint64 wrongDouble = 0;     // accepted although two bits were flipped
    qint64 unintendedWrites = 0;
    qint64 hangs = 0;
    qint64 rounds = 0;
};

// Config parameters of every sensor, as numbers where they are numbers.
using Holdings = std::map<std::pair<int, int>, QByteArray>;
Holdings holdings(sim::SimBus& bus)
{
    Holdings out;
    for (sim::VirtualSensor* s : bus.sensors()) {
        for (int n = 0; n <= 120; ++n) {
            const auto access = s->parameters().access(n);
            if (access && *access == sim::ParameterAccess::Config)
                out[{s->address(), n}] = s->parameters().value(n);
        }
    }
    return out;
}

qint64 differences(const Holdings& before, const Holdings& after)
{
    qint64 changed = 0;
    for (const auto& [key, value] : before) {
        const auto it = after.find(key);
        if (it == after.end()) {
            ++changed;
            continue;
        }
        bool a = false, b = false;
        const double x = value.toDouble(&a), y = it->second.toDouble(&b);
        if (a && b ? x != y : value != it->second)
            ++changed;
    }
    return changed;
}

class Soak {
public:
    Soak(Transport::Kind kind, quint32 seed, Counts& counts)
        : transport_(bus_, kind), random_(seed), counts_(counts), tcp_(kind == Transport::Kind::Tcp)
    {
        sim::buildDemoBus(bus_);
        link_.setTransport(&transport_);
        link_.setTexts(&texts_);
        link_.setMessages(&messages_);
        bus_.setBusFaults({});
        QObject::connect(&bus_, &sim::SimBus::frameHandled,
                         [this](const QByteArray& command, const std::optional<QByteArray>& answer) {
                             if (answer)
                                 answers_.insert(*answer);
                             if (command == sentCommand_ && !heard_) {
                                 heard_ = true;
                                 answer_ = answer;
                                 if (accepted_)
                                     judge();
                             }
                         });
        QObject::connect(&link_, &Link::traffic, [this](bool outgoing, const QByteArray& bytes) {
            outgoing ? sent(bytes) : received(bytes);
        });
    }

    void setDoubleFaultPhase(bool on) { doublePhase_ = on; }

    // One round of one of the three workloads; false when it hung.
    void round()
    {
        const Holdings before = holdings(bus_);
        const qint64 start = clock_.clock.nowMs();
        QElapsedTimer real;
        real.start();
        const int workload = std::uniform_int_distribution<int>(0, 9)(random_);
        if (workload < 6)
            poll();
        else if (workload < 9)
            configuration();
        else
            search();
        // Faults off between rounds, so the comparison of holdings sees the sensors at rest.
        bus_.setBusFaults({});
        applied_ = Fault::None;
        reconnectIfDropped();
        // The longest round, a search of 16 addresses with three tries each, stays far below.
        if (clock_.clock.nowMs() - start > 10 * 60 * 1000 || real.elapsed() > 60 * 1000)
            ++counts_.hangs;
        counts_.unintendedWrites += differences(before, holdings(bus_));
        ++counts_.rounds;
    }

private:
    void poll()
    {
        for (sim::VirtualSensor* s : bus_.sensors()) {
            const bool second = s->typeCode() == 77 || s->typeCode() == 89;
            (void)ReadLiveValues(link_, s->address(), 0, 4, second);
        }
    }

    void configuration()
    {
        const QList<sim::VirtualSensor*> sensors = bus_.sensors();
        sim::VirtualSensor* s = sensors.at(std::uniform_int_distribution<int>(0, int(sensors.size()) - 1)(random_));
        PageSensor page;
        page.address = s->address();
        page.typeCode = s->typeCode();
        page.firmwareText = QString::fromLatin1(s->firmwareText());
        SensorRecord record;
        record.FirmwareText = page.firmwareText;
        ParseFirmwareText(record);
        page.firmwareVersion = record.FirmwareVersion;
        page.identity = QString::fromLatin1(s->identity());
        PagesCore core(link_, texts_, &messages_, requests_, QString());
        core.applyTexts();
        core.setSelectedSensor(page);
        core.adaptToSensorType();
        // As the main window does: a page whose fill was not complete is never written back.
        if (!FillConfigurationPage(core.context()).complete())
            return;
        ConfirmConfigurationWrite(core.context(), WriteConfigurationPage(core.context()));
    }

    void search()
    {
        SensorModel model;
        SensorBus bus(link_, model, &messages_, &texts_);
        bus.setProbeTimeout(400);
        if (tcp_)
            bus.setReconnect([this] { reconnectIfDropped(); });
        (void)bus.SensorSearch();
    }

    void reconnectIfDropped()
    {
        if (!transport_.isOpen() || !link_.state().IPMode && tcp_) {
            transport_.open();
            link_.setTransport(&transport_);
        }
    }

    // A frame went out; it reaches the sensors once its last byte is on the wire, so the
    // faults chosen now apply to its reply.
    void sent(const QByteArray& frame)
    {
        ++counts_.exchanges;
        if (doublePhase_)
            ++counts_.doubleExchanges;
        frame::FrameReceiver command;
        for (char b : frame)
            command.feed(b);
        // A frame accepted for the last command that the sensors never heard (it collided with
        // a reply on the line) answered another command.
        if (accepted_ && !heard_)
            ++counts_.stale;
        accepted_.reset();
        sentCommand_ = command.payload();
        heard_ = false;
        answer_.reset();
        applied_ = Fault::None;
        if (doublePhase_) {
            applied_ = Fault::DoubleFlip;
        } else if (std::uniform_int_distribution<int>(0, 2)(random_) == 0) {
            const int kinds = tcp_ ? 8 : 7;  // a connection closes only over TCP
            applied_ = Fault(std::uniform_int_distribution<int>(1, kinds)(random_));
        }
        if (applied_ != Fault::None)
            ++counts_.injected[applied_];
        bus_.setBusFaults(faultSet(applied_));
    }

    void received(const QByteArray& raw)
    {
        // The frame the link took: the first whole one that is not another master's command.
        frame::FrameReceiver rx(frame::FrameReceiver::Mode::Text, DecimalComma());
        for (char b : raw) {
            if (!rx.feed(b))
                continue;
            if (!rx.valid() || (rx.address() >= 0 && rx.address() <= 16))
                break;
            rx.reset();
        }
        if (!rx.valid())
            return;
        accepted_ = rx.payload();
        // Accepted before the command even reached the sensors: judged once they heard it.
        if (heard_)
            judge();
    }

    // The frame accepted for the last command against the sensor's answer to that command.
    void judge()
    {
        const QByteArray accepted = *accepted_;
        accepted_.reset();
        if (!answer_)
            ++counts_.foreign;  // no sensor answered: another master's frame
        else if (accepted == *answer_)
            return;
        else if (answers_.contains(accepted))
            ++counts_.stale;  // the answer to an earlier command, still on its way
        else if (applied_ == Fault::DoubleFlip)
            ++counts_.wrongDouble;
        else
            ++counts_.wrongSingle;
    }

    test::VirtualClockScope clock_;
    sim::SimBus bus_;
    sim::SimTransport transport_;
    Link link_;
    KeyTexts texts_;
    SilentMessages messages_;
    TaskRequests requests_;
    std::mt19937 random_;
    Counts& counts_;
    bool tcp_;
    bool doublePhase_ = false;
    Fault applied_ = Fault::None;  // the fault on the reply to the last frame sent
    QByteArray sentCommand_;              // the text of the last frame sent
    bool heard_ = false;                  // the sensors have heard it
    std::optional<QByteArray> answer_;    // and a sensor's answer to it, before the fault
    QSet<QByteArray> answers_;            // every answer given so far
    std::optional<QByteArray> accepted_;  // the frame the program accepted for it, not yet judged
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const qint64 target = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;
    const quint32 seed = argc > 2 ? QByteArray(argv[2]).toUInt() : 1;
    Counts counts;
    QElapsedTimer real;
    real.start();
    {
        Soak serial(Transport::Kind::Serial, seed, counts);
        while (counts.exchanges < target / 2)
            serial.round();
    }
    {
        Soak tcp(Transport::Kind::Tcp, seed + 1, counts);
        while (counts.exchanges < target)
            tcp.round();
    }
    Counts doubles;
    {
        Soak serial(Transport::Kind::Serial, seed + 2, doubles);
        serial.setDoubleFaultPhase(true);
        while (doubles.exchanges < qMax<qint64>(target / 100, 200))
            serial.round();
    }

    QTextStream out(stdout);
    out << "Fault soak, seed " << seed << ", " << real.elapsed() / 1000.0 << " s\n";
    out << "  exchanges                          " << counts.exchanges << " in " << counts.rounds << " rounds\n";
    for (const auto& [fault, n] : counts.injected)
        out << "  injected: " << qSetFieldWidth(25) << Qt::left << faultName(fault) << qSetFieldWidth(0) << n << "\n";
    out << "  wrong values accepted (one fault)  " << counts.wrongSingle + counts.stale << "\n";
    out << "    from a frame the fault changed   " << counts.wrongSingle << "\n";
    out << "    an earlier command's answer      " << counts.stale << "\n";
    out << "  other masters' frames accepted     " << counts.foreign << "\n";
    out << "  unintended writes                  " << counts.unintendedWrites << "\n";
    out << "  hangs                              " << counts.hangs << "\n";
    out << "  crashes                            0\n";
    out << "Beyond the checksum: two bits flipped in " << doubles.doubleExchanges << " exchanges, "
        << doubles.wrongDouble << " wrong values accepted, " << doubles.unintendedWrites << " unintended writes\n";
    const bool met = counts.wrongSingle == 0 && counts.stale == 0 && counts.unintendedWrites == 0 && counts.hangs == 0;
    out << (met ? "Targets met\n" : "TARGETS MISSED\n");
    return met ? 0 : 1;
}
