#pragma once
// One sensor on a scripted line for the configuration file tests: reads answer from a table
// of replies written by hand ("?" for a number the sensor lacks), writes in either form ("W5 1"
// and "W 5 1") are recorded and answered "!" (or "?" where a test says so), and the
// identification and block commands answer from fixed texts. Language texts read back as
// their key names; the message window records what it was asked.

#include "ScriptedTransport.h"
#include "VirtualClockFixture.h"
#include "link/Frame.h"
#include "link/Link.h"
#include "link/Messages.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace dunmere::test {

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

class RecordingMessages final : public Messages {
public:
    bool show(const QString& text, MessageButtons buttons) override
    {
        shown << text;
        asked << buttons;
        return answer;
    }
    QStringList shown;
    QList<MessageButtons> asked;
    bool answer = true;
};

class ScriptedSensor {
public:
    explicit ScriptedSensor(int address = 1) : address_(address)
    {
        transport.setResponder([this](const QByteArray& frame) { return respond(frame); });
    }

    QString answer(const QString& command)
    {
        received << command;
        if (command == QStringLiteral("P\x01"))
            return identification;
        if (command.startsWith(QLatin1Char('P')))
            return blocks.value(command.mid(1, 1), QStringLiteral("!"));
        if (command.startsWith(QLatin1Char('R')))
            return parameters.value(command.mid(1).trimmed().toInt(), QStringLiteral("?"));
        if (command.startsWith(QLatin1Char('W'))) {
            const QStringList parts = command.mid(1).trimmed().split(QLatin1Char(' '));
            const int number = parts.value(0).toInt();
            writes << qMakePair(number, parts.value(1));
            if (refused.contains(number))
                return QStringLiteral("?");
            parameters[number] = parts.value(1);
            return QStringLiteral("!");
        }
        return QStringLiteral("!");
    }

    // The parameters written, in order.
    [[nodiscard]] QList<int> writtenParameters() const
    {
        QList<int> out;
        for (const auto& w : writes)
            out << w.first;
        return out;
    }
    [[nodiscard]] QString written(int number) const
    {
        for (const auto& w : writes) {
            if (w.first == number)
                return w.second;
        }
        return {};
    }

    ScriptedTransport transport;
    QString identification;               // reply to "P" + 1
    QMap<int, QString> parameters;        // reply to "R" + n
    QMap<QString, QString> blocks;        // reply to "P" + code character
    QSet<int> refused;                    // writes answered "?"
    QStringList received;
    QList<QPair<int, QString>> writes;

private:
    QByteArray respond(const QByteArray& frame)
    {
        frame::FrameReceiver rx(frame::FrameReceiver::Mode::Text);
        for (char byte : frame)
            rx.feed(byte);
        return frame::encodeReply(address_, 2, answer(QString::fromLatin1(rx.payload())).toLatin1());
    }

    int address_;
};

// The bytes of text in UTF-16LE, for fixtures written out line by line.
inline QByteArray Utf16le(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

// A file as the program writes it: FF FE, each line and CR LF, the end mark line.
inline QByteArray FileBytes(const QStringList& lines)
{
    QByteArray out("\xFF\xFE", 2);
    for (const QString& line : lines)
        out += Utf16le(line) + QByteArray("\r\0\n\0", 4);
    return out + QByteArray("\x03\0\r\0\n\0", 6);
}

}  // namespace dunmere::test
