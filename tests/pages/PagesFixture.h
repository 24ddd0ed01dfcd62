#pragma once
// A fixture for the page tests: one sensor on a scripted serial line that answers from a
// parameter table on the virtual clock, the link, language texts that read back as their key
// names, a message window that records what it was asked to show, and the pages' core.

#include "VirtualClockFixture.h"
#include "ScriptedTransport.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "shell/core/TaskRequests.h"
#include "shell/pages/core/PagesCore.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace dunmere::test {

// Each key reads back as its own name, so a test sees which text was used.
class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
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

// One sensor at `address`. Reads answer from `parameters` ("?" for a number it lacks), writes
// store their value and answer "!", other commands answer from `replies` (a queue per command
// text, the last entry repeating) or "!". Commands in `silentFor` get no reply at all.
class FakeSensor {
public:
    explicit FakeSensor(int address = 1) : address_(address)
    {
        transport.setResponder([this](const QByteArray& frame) { return respond(frame); });
    }

    QString answer(const QString& command)
    {
        received << command;
        if (silent || silentFor.contains(command))
            return {};
        if (auto it = replies.find(command); it != replies.end() && !it->isEmpty())
            return it->size() > 1 ? it->takeFirst() : it->first();
        if (command.startsWith(QLatin1Char('R')))
            return parameters.value(command.mid(1).trimmed().toInt(), QStringLiteral("?"));
        if (command.startsWith(QLatin1Char('W')) && command.contains(QLatin1Char(' '))) {
            const int blank = command.indexOf(QLatin1Char(' '));
            parameters[command.mid(1, blank - 1).toInt()] = command.mid(blank + 1);
            return QStringLiteral("!");
        }
        return QStringLiteral("!");
    }

    // Commands received, without the reads.
    [[nodiscard]] QStringList writesAndActions() const
    {
        QStringList out;
        for (const QString& c : received) {
            if (!c.startsWith(QLatin1Char('R')))
                out << c;
        }
        return out;
    }
    [[nodiscard]] bool wasRead(int number) const { return received.contains(QStringLiteral("R") + QString::number(number)); }
    [[nodiscard]] QStringList sentWith(const QString& prefix) const
    {
        QStringList out;
        for (const QString& c : received) {
            if (c.startsWith(prefix))
                out << c;
        }
        return out;
    }

    ScriptedTransport transport;
    QMap<int, QString> parameters;
    QMap<QString, QStringList> replies;
    QSet<QString> silentFor;
    bool silent = false;
    QStringList received;

private:
    QByteArray respond(const QByteArray& frame)
    {
        frame::FrameReceiver rx(frame::FrameReceiver::Mode::Text);
        for (char byte : frame)
            rx.feed(byte);
        // Commands carry address + 64; the receiver decodes replies (address + 96).
        const QString command = QString::fromLatin1(rx.payload());
        const QString reply = answer(command);
        if (reply.isNull())
            return {};
        return frame::encodeReply(address_, 2, reply.toLatin1());
    }

    int address_;
};

struct PagesFixture {
    PagesFixture()
    {
        link.setTransport(&sensor.transport);
        link.setMessages(&messages);
        link.setTexts(&texts);
    }

    // Selects a sensor of the given type and firmware version at address 1.
    void select(int typeCode, double version, const QString& firmwareText = {}, int address = 1)
    {
        PageSensor s;
        s.address = address;
        s.typeCode = typeCode;
        s.firmwareVersion = version;
        s.identity = QStringLiteral("ID000001");
        s.name = QStringLiteral("Mixer");
        s.firmwareText = firmwareText;
        s.autoCalSeen = false;
        core.setSelectedSensor(s);
    }
    ControlModel& model() { return core.model(); }
    PagesContext& ctx() { return core.context(); }

    VirtualClockScope clock;
    FakeSensor sensor;
    Link link;
    KeyTexts texts;
    RecordingMessages messages;
    TaskRequests requests;
    PagesCore core{link, texts, &messages, requests, QString()};
};

}  // namespace dunmere::test
