// The bus search as replies of any text (and any address and frame code) come back to its
// probes: identification replies taken apart into identity and name, firmware texts into type
// code and version, the automatic calibration's status. Beyond not crashing: the table holds
// only bus addresses 1 to 16, at most six rows show, and a search sends nothing that changes
// a sensor.
// Links: dunmere_sensor dunmere_testsupport
//
// Input: replies one per line, each a byte for the reply's address (+ 96 on the wire, 0 for
// silence), a byte for its frame code, then its text; handed out in turn to the commands as
// they come (the last one repeating).

#include "FuzzInput.h"
#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"

#include <cstdlib>

using namespace dunmere;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureCoreApplication();
    fuzz::FuzzInput in(data, size);
    const QList<QByteArray> replies = in.pieces();
    qsizetype next = 0;

    test::VirtualClockScope clock;
    test::ScriptedTransport transport;
    Link link;
    link.setTransport(&transport);
    transport.setResponder([&](const QByteArray&) {
        const QByteArray& reply = replies.at(qMin(next++, replies.size() - 1));
        if (reply.size() < 2 || reply.at(0) == 0)
            return QByteArray();
        return frame::encodeReply(quint8(reply.at(0)) % 32, quint8(reply.at(1)), reply.mid(2));
    });
    SensorModel model;
    SensorBus bus(link, model);
    bus.setProbeTimeout(400);
    (void)bus.SensorSearch();

    if (model.SensorRowCount() < 0 || model.SensorRowCount() > 6)
        std::abort();
    for (int r = 0; r < model.SensorRowCount(); ++r) {
        const int address = model.SensorRows(r);
        if (address < FirstBusAddress || address > LastBusAddress)
            std::abort();
    }
    for (const QByteArray& sent : transport.sent) {
        frame::FrameReceiver command;
        for (char b : sent)
            command.feed(b);
        const QByteArray text = command.payload();
        if (text.startsWith('W') || text.startsWith(QByteArray("P\x11")) || (text.startsWith('A') && text != "A 4"))
            std::abort();
    }
    return 0;
}
