// The reply receiver as the link runs it: arbitrary bytes arriving in arbitrary pieces at
// arbitrary times over a serial line or a TCP connection, read as a text or a binary reply.
// Whatever arrives, the receive ends by its deadline with a decoded frame or the failure value
// and leaves the link ready for the next exchange.
// Links: dunmere_link dunmere_testsupport
//
// Input: one byte of choices (serial or TCP, text or binary, decimal comma), then pieces, each
// a delay byte, a length byte and that many bytes.

#include "FuzzInput.h"
#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Link.h"
#include "link/NumberRules.h"

#include <cstdlib>

using namespace dunmere;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureCoreApplication();
    fuzz::FuzzInput in(data, size);
    const quint8 choices = in.byte();
    const bool tcp = choices & 1;
    const bool binary = choices & 2;
    SetDecimalComma(choices & 4);

    test::VirtualClockScope clock;
    test::ScriptedTransport transport(tcp ? Transport::Kind::Tcp : Transport::Kind::Serial);
    Link link;
    link.setTransport(&transport);
    // Every piece goes on the line after the command went out.
    transport.setResponder([](const QByteArray&) { return QByteArray(); });
    constexpr int timeoutMs = 1500;
    qint64 at = 0;
    while (!in.atEnd()) {
        at += in.byte() * 4;
        transport.inject(in.take(in.byte()), at);
    }

    const qint64 start = clock.clock.nowMs();
    int address = 0, frameCode = 0;
    if (binary) {
        link.Net_SendBytes(1, 2, QByteArray("\x01\x02", 2));
        QByteArray bytes;
        link.Net_ReceiveBytes(timeoutMs, address, frameCode, bytes);
    } else {
        link.Net_Send(1, 1, QStringLiteral("R50"));
        QString text;
        link.Net_Receive(timeoutMs, address, frameCode, text);
    }
    // No hang: the wait ended by its deadline; and nothing left busy.
    if (clock.clock.nowMs() - start > timeoutMs + 1 || link.exchangeInProgress())
        std::abort();
    return 0;
}
