#pragma once
// What the adapter tests stand on instead of a real network: the PC's addresses and the hosts
// a broadcast reaches are loopback addresses of the test's choosing, adapters are simulated
// (or scripted) on 127.0.19.x, messages are recorded instead of shown.

#include "link/LocalAddresses.h"
#include "link/Messages.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QStringList>
#include <QUdpSocket>

namespace dunmere::test {

class LoopbackNetwork final : public LocalAddressSource {
public:
    LoopbackNetwork(QStringList locals, QStringList targets) : locals_(std::move(locals)), targets_(std::move(targets))
    {
        SetLocalAddressSource(this);
    }
    ~LoopbackNetwork() override { SetLocalAddressSource(nullptr); }
    LoopbackNetwork(const LoopbackNetwork&) = delete;
    LoopbackNetwork& operator=(const LoopbackNetwork&) = delete;
    QStringList addresses() const override { return locals_; }
    QStringList broadcastTargets() const override { return targets_; }

private:
    QStringList locals_;
    QStringList targets_;
};

// Answers every datagram with the replies it was given, in order; keeps what it received.
class ScriptedAdapter final : public QObject {
public:
    explicit ScriptedAdapter(const QString& address, QList<QByteArray> replies = {}) : replies_(std::move(replies))
    {
        bound_ = socket_.bind(QHostAddress(address), 30718);
        connect(&socket_, &QUdpSocket::readyRead, this, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram d = socket_.receiveDatagram();
                received << d.data();
                for (const QByteArray& reply : replies_)
                    socket_.writeDatagram(reply, d.senderAddress(), quint16(d.senderPort()));
            }
        });
    }
    [[nodiscard]] bool bound() const { return bound_; }
    QList<QByteArray> received;

private:
    QUdpSocket socket_;
    QList<QByteArray> replies_;
    bool bound_ = false;
};

class RecordedMessages final : public Messages {
public:
    bool show(const QString& text, MessageButtons buttons) override
    {
        shown << text;
        return buttons != MessageButtons::YesNo || answerYes;
    }
    QStringList shown;
    bool answerYes = true;
};

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

// A datagram of n bytes, all 0 but the type byte.
inline QByteArray typed(quint8 type, int n)
{
    QByteArray bytes(n, '\0');
    if (n > 3)
        bytes[3] = char(type);
    return bytes;
}

}  // namespace dunmere::test
