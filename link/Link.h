#pragma once
// The command exchange with one sensor: frame, send over the active transport, wait for and
// check the reply, retry where the rules say. Every failure is a value: "-99" and
// CommsErrorCode, never an exception.

#include "Frame.h"
#include "LinkState.h"
#include "Messages.h"
#include "Transport.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

namespace dunmere {

inline const QString FailureText = QStringLiteral("-99");

class Link final : public QObject {
    Q_OBJECT
public:
    explicit Link(QObject* parent = nullptr);
    ~Link() override;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    LinkState& state() { return state_; }
    [[nodiscard]] const LinkState& state() const { return state_; }

    // Makes the transport active (ComPortOpen or IPMode by its kind); nullptr for none.
    // Not owned. TCP data is collected into NetReceiveBuffer as it arrives.
    void setTransport(Transport* transport);
    [[nodiscard]] Transport* transport() const { return transport_; }

    void setMessages(Messages* messages) { messages_ = messages; }
    void setTexts(const TextSource* texts) { texts_ = texts; }

    // An exchange is running; handlers and timers must not start another one.
    [[nodiscard]] bool exchangeInProgress() const { return state_.SendBusy || state_.ReceiveBusy; }

    // Closing: every wait ends early and nothing more is sent.
    void blockForClosing();

    void Net_Send(int address, int frameCode, const QString& text);
    void Net_SendBytes(int address, int frameCode, const QByteArray& payload);
    void Net_Receive(int timeoutMs, int& address, int& frameCode, QString& text);
    void Net_ReceiveBytes(int timeoutMs, int& address, int& frameCode, QByteArray& bytes);

    QString ReadParameter(int address, int number);
    QString SendCommand(int address, const QString& text);
    // Returns the reply (which callers may ignore), or "" when nothing was sent.
    QString WriteParameter(int address, const QString& prefix, const QString& value, const QString& message);
    QString SendAction(int address, const QString& code);

    // Clears IPMode after a lost TCP connection.
    void ClearIPMode();

signals:
    // Every frame as it went out or came in, for --trace and the debug log.
    void traffic(bool outgoing, const QByteArray& bytes);
    // The status label's text after the TCP connection was lost.
    void connectionLost(const QString& statusText);
    // The serial device failed and was closed; the transport's record of it must follow.
    void serialPortLost();
    // A TCP receive got its first data (or none): the diagnostics window refreshes.
    void roundTripMeasured(bool gotData);

private:
    bool useTcp() const;
    bool activeTransportOpen() const;
    bool sendFrame(bool binary, const QByteArray& frame);
    // The start of a receive shared by both forms: checks, time-out, busy flag, and over TCP
    // the wait for the first data with the round-trip statistics. Returns the deadline, or
    // -1 when the caller must return at once (outputs set as the rules say).
    qint64 beginReceive(int timeoutMs, bool& failed);
    void measureRoundTrip(qint64 deadline);
    // Feeds bytes into the receiver until the frame completes, the transport fails or the
    // deadline passes. False when the wait ended because the program is closing.
    bool collect(frame::FrameReceiver& rx, bool binary, qint64 deadline, QByteArray& raw);
    void endReceive();
    // Both receivers: false when the outputs must stay as they were (closing).
    bool receive(int timeoutMs, bool binary, int& address, int& frameCode, QByteArray& payload);
    void onTransportReadyRead();
    void onTransportFailed();
    void handleTransportFailure(bool duringSend);
    QString text(const char* key) const;

    LinkState state_;
    QPointer<Transport> transport_;
    Messages* messages_ = nullptr;
    const TextSource* texts_ = nullptr;
    bool transportFailed_ = false;
};

}  // namespace dunmere
