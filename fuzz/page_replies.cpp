// Every reply text the pages and the Sensor page decode, as a sensor (or noise that passed the
// checksum) may send it: the Configuration page fill, the Diagnostics refresh with its status
// flags, temperature and frequency columns and extremes, the raw frequency and amplitude
// fields, and the live values of the Sensor page's rows. The texts arrive in valid frames;
// framing is fuzzed on its own (link_receive).
// Links: dunmere_pagecore dunmere_sensor dunmere_testsupport
//
// Input: one byte choosing the sensor type, then the reply texts one per line, handed out in
// turn to the commands as they come (the last one repeating).

#include "FuzzInput.h"
#include "pages/PagesFixture.h"
#include "sensor/LiveReadings.h"
#include "shell/pages/core/ConfigurationProcedures.h"
#include "shell/pages/core/DiagnosticsProcedures.h"

#include <cstdlib>

using namespace dunmere;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::EnsureCoreApplication();
    fuzz::FuzzInput in(data, size);
    static const int types[] = {45, 77, 89, 50};
    const int type = types[in.choice(4)];
    const QList<QByteArray> replies = in.pieces();
    qsizetype next = 0;

    test::PagesFixture f;
    f.core.applyTexts();
    f.select(type, 1.2, QStringLiteral("QX00%1 v1.20").arg(type));
    f.sensor.transport.setResponder([&](const QByteArray&) {
        const QByteArray& text = replies.at(qMin(next++, replies.size() - 1));
        return frame::encodeReply(1, 2, text);
    });
    f.core.adaptToSensorType();
    (void)FillConfigurationPage(f.ctx());
    RefreshDiagnostics(f.ctx(), 2);
    (void)ReadRawFrequencyAmplitude(f.ctx());
    for (const QByteArray& reply : replies) {
        for (int index = 0; index < 10; ++index) {
            if (const auto value = LiveValueFor(index, index % 2))
                (void)LiveValueText(*value, QString::fromLatin1(reply));
        }
    }
    // A page filled from whatever arrived writes nothing by itself: reads, "P" queries and
    // the automatic calibration's status poll only.
    for (const QByteArray& sent : f.sensor.transport.sent) {
        frame::FrameReceiver command;
        for (char b : sent)
            command.feed(b);
        const QByteArray text = command.payload();
        if (!text.startsWith('R') && !text.startsWith('P') && text != "A 4")
            std::abort();
    }
    return 0;
}
