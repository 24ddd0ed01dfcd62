#pragma once
// A fixture for the data log tests: sensors on a scripted serial line on the virtual clock,
// each command answered from a table per address (no entry: silence), texts that read as
// their key without "Lang", and a message window that records what it was asked.

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/Messages.h"

#include <QMap>
#include <QStringList>

namespace dunmere::test {

class PlainTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key.startsWith(QLatin1String("Lang")) ? key.mid(4) : key; }
};

class RecordingMessages final : public Messages {
public:
    bool show(const QString& text, MessageButtons buttons) override
    {
        shown << text;
        lastButtons = buttons;
        return answer;
    }
    QStringList shown;
    MessageButtons lastButtons = MessageButtons::Ok;
    bool answer = true;
};

struct DatalogFixture {
    DatalogFixture()
    {
        transport.setResponder([this](const QByteArray& frame) {
            frame::FrameReceiver rx(frame::FrameReceiver::Mode::Text);
            for (char b : frame)
                rx.feed(b);
            const int address = quint8(frame.at(frame.indexOf(frame::STX) + 1)) - 64;
            const QByteArray command = rx.payload();
            received << QPair<int, QByteArray>(address, command);
            const auto& table = replies[address];
            if (!table.contains(command))
                return QByteArray();
            return frame::encodeReply(address, 2, table.value(command));
        });
        link.setTransport(&transport);
        link.setMessages(&messages);
        link.setTexts(&texts);
    }

    // A P + 0x0C reply of eight 10-character fields.
    static QByteArray trendBlock(const QList<QByteArray>& fields)
    {
        QByteArray block;
        for (const QByteArray& f : fields)
            block += f.leftJustified(10, ' ');
        return block;
    }

    [[nodiscard]] int count(int address, const QByteArray& command) const
    {
        int n = 0;
        for (const auto& r : received)
            n += r.first == address && r.second == command ? 1 : 0;
        return n;
    }

    VirtualClockScope clock;
    ScriptedTransport transport;
    Link link;
    PlainTexts texts;
    RecordingMessages messages;
    QMap<int, QMap<QByteArray, QByteArray>> replies;
    QList<QPair<int, QByteArray>> received;
};

}  // namespace dunmere::test
