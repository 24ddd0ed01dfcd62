#include "Link.h"

#include "Clock.h"
#include "DebugLog.h"
#include "NumberRules.h"
#include "Transport.h"

#include <cmath>

namespace dunmere {

namespace {

constexpr int ExchangeTimeoutMs = 1500;
constexpr int Tries = 3;
// Far more than the longest reply; what another master sends between exchanges is cut to this.
constexpr qsizetype IdleReceiveLimit = 4096;

bool toleratedWhenMissing(int number)
{
    switch (number) {
    case 24: case 25: case 29: case 55: case 56: case 75:
        return true;
    default:
        return false;
    }
}

QString latin1(const QByteArray& bytes) { return QString::fromLatin1(bytes); }

// Another master's command on a shared bus is a whole frame too, but its address character is
// address + 64, not a reply's address + 96: it is passed over, and the wait goes on.
bool feed(frame::FrameReceiver& rx, char byte)
{
    if (!rx.feed(byte))
        return false;
    if (rx.valid() && (rx.address() < 0 || rx.address() > 16)) {
        rx.reset();
        return false;
    }
    return true;
}

}  // namespace

Link::Link(QObject* parent) : QObject(parent) {}

Link::~Link() = default;

void Link::setTransport(Transport* transport)
{
    if (transport_)
        disconnect(transport_, nullptr, this, nullptr);
    transport_ = transport;
    transportFailed_ = false;
    state_.ComPortOpen = transport && transport->kind() == Transport::Kind::Serial;
    state_.IPMode = transport && transport->kind() == Transport::Kind::Tcp;
    if (transport) {
        connect(transport, &Transport::readyRead, this, &Link::onTransportReadyRead);
        connect(transport, &Transport::failed, this, &Link::onTransportFailed);
    }
}

void Link::blockForClosing()
{
    state_.SendBlocked = true;
    state_.ReceiveBlocked = true;
    state_.ProgramClosing = true;
}

void Link::ClearIPMode() { state_.IPMode = false; }

QString Link::text(const char* key) const
{
    const QString k = QString::fromLatin1(key);
    return texts_ ? texts_->text(k) : k;
}

bool Link::useTcp() const
{
    return state_.IPMode && transport_ && transport_->kind() == Transport::Kind::Tcp;
}

bool Link::activeTransportOpen() const
{
    if (!transport_)
        return false;
    return transport_->kind() == Transport::Kind::Tcp ? state_.IPMode : state_.ComPortOpen;
}

// ---- sending

bool Link::sendFrame(bool binary, const QByteArray& frame)
{
    if (state_.SendBlocked)
        return false;
    if (!activeTransportOpen())
        return false;
    state_.SendBusy = true;
    state_.SendTime = Clock::current().nowMs();
    bool sent = false;
    if (useTcp()) {
        state_.NetReceiveBuffer.clear();
        DebugLog(QStringLiteral("IP Sending ") + latin1(frame), 20);
        sent = transport_->isOpen() && (binary ? transport_->sendBinaryFrame(frame) : transport_->sendTextFrame(frame));
    } else {
        DebugLog(QStringLiteral("COM Sending ") + latin1(frame), 20);
        sent = binary ? transport_->sendBinaryFrame(frame) : transport_->sendTextFrame(frame);
    }
    if (sent)
        emit traffic(true, frame);
    else
        handleTransportFailure(true);
    state_.SendBusy = false;
    return sent;
}

void Link::Net_Send(int address, int frameCode, const QString& text)
{
    sendFrame(false, frame::encodeText(address, frameCode, text.toLatin1()));
}

void Link::Net_SendBytes(int address, int frameCode, const QByteArray& payload)
{
    sendFrame(true, frame::encodeBinary(address, frameCode, payload));
}

// ---- receiving

qint64 Link::beginReceive(int timeoutMs, bool& failed)
{
    failed = false;
    qint64 timeout = timeoutMs;
    if (useTcp()) {
        timeout += state_.ConnectTime;
    } else if (!activeTransportOpen()) {
        state_.CommsErrorCode = 3;
        failed = true;
        return -1;
    }
    state_.ReceiveBusy = true;
    state_.CommsErrorCode = 0;
    const qint64 deadline = Clock::current().nowMs() + timeout;
    if (useTcp())
        measureRoundTrip(deadline);
    return deadline;
}

void Link::measureRoundTrip(qint64 deadline)
{
    auto& clock = Clock::current();
    clock.waitUntil([this] { return !state_.NetReceiveBuffer.isEmpty() || state_.ProgramClosing || transportFailed_; },
                    deadline);
    const qint64 rtt = clock.nowMs() - state_.SendTime;
    const bool gotData = !state_.NetReceiveBuffer.isEmpty();
    if (!gotData) {
        ++state_.NetTimeouts;
        DebugLog(QStringLiteral("Net_Receive timeout updating ethernet diagnostics"), 15);
        DebugLog(QStringLiteral("Net_Receive - Receive Timeout at ") + QStringLiteral(" / ")
                     + QString::number(deadline - state_.SendTime),
                 10);
    } else {
        state_.LastRTT = rtt;
        state_.AverageRTT = state_.AverageRTT == 0
            ? rtt
            : static_cast<qint64>(std::nearbyint((24.0 * double(state_.AverageRTT) + double(rtt)) / 25.0));
        state_.MaxRTT = qMax(state_.MaxRTT, rtt);
        DebugLog(QStringLiteral("Net_Receive OK updating ethernet diagnostics"), 15);
        DebugLog(QStringLiteral("Net_Receive - Data Received RTT = %1 ms").arg(rtt), 20);
    }
    if (!state_.ProgramClosing)
        emit roundTripMeasured(gotData);
}

bool Link::collect(frame::FrameReceiver& rx, bool binary, qint64 deadline, QByteArray& raw)
{
    qsizetype consumed = 0;
    bool complete = false;
    // Takes whatever has arrived into the receiver; text replies are read a byte at a time,
    // binary ones all waiting bytes per read.
    auto pump = [&] {
        if (useTcp()) {
            while (!complete && consumed < state_.NetReceiveBuffer.size()) {
                const char b = state_.NetReceiveBuffer.at(consumed++);
                raw += b;
                complete = feed(rx, b);
            }
            return;
        }
        while (!complete && transport_->bytesAvailable() > 0) {
            const QByteArray chunk = transport_->read(binary ? transport_->bytesAvailable() : 1);
            if (chunk.isEmpty())
                break;
            for (qsizetype i = 0; i < chunk.size() && !complete; ++i) {
                raw += chunk[i];
                complete = feed(rx, chunk[i]);
            }
        }
    };
    // One nested wait for the whole reply: the condition is re-checked after every batch of
    // events, so each arrival is taken in without a wait of its own.
    Clock::current().waitUntil(
        [&] {
            if (state_.ProgramClosing || transportFailed_ || !activeTransportOpen())
                return true;
            pump();
            return complete;
        },
        deadline);
    return !state_.ProgramClosing;
}

void Link::endReceive()
{
    state_.NetReceiveBuffer.clear();
    state_.ReceiveBusy = false;
    DebugLog(QStringLiteral("Net_Receive Finished Processing message"), 20);
}

bool Link::receive(int timeoutMs, bool binary, int& address, int& frameCode, QByteArray& payload)
{
    if (state_.ReceiveBlocked)
        return false;
    bool failed = false;
    const qint64 deadline = beginReceive(timeoutMs, failed);
    if (failed) {
        address = -1;
        frameCode = -1;
        payload = FailureText.toLatin1();
        return true;
    }
    // A reply may arrive in several pieces (TCP segments, a slow line): collect until the
    // frame is complete or the time-out passes.
    frame::FrameReceiver rx(binary ? frame::FrameReceiver::Mode::Binary : frame::FrameReceiver::Mode::Text,
                            DecimalComma());
    QByteArray raw;
    const bool finished = collect(rx, binary, deadline, raw);
    if (!raw.isEmpty())
        emit traffic(false, raw);
    if (!finished) {
        state_.ReceiveBusy = false;
        return false;
    }
    if (transportFailed_)
        handleTransportFailure(false);
    if (rx.valid()) {
        address = rx.address();
        frameCode = rx.frameCode();
        payload = rx.payload();
    } else {
        if (state_.CommsErrorCode == 0)
            state_.CommsErrorCode = rx.complete() ? 2 : 1;
        address = -1;
        frameCode = -1;
        payload = FailureText.toLatin1();
    }
    endReceive();
    return true;
}

void Link::Net_Receive(int timeoutMs, int& address, int& frameCode, QString& text)
{
    QByteArray payload;
    if (receive(timeoutMs, false, address, frameCode, payload))
        text = latin1(payload);
}

void Link::Net_ReceiveBytes(int timeoutMs, int& address, int& frameCode, QByteArray& bytes)
{
    receive(timeoutMs, true, address, frameCode, bytes);
}

// ---- transport events

void Link::onTransportReadyRead()
{
    if (!useTcp() || !transport_)
        return;
    state_.NetReceiveBuffer += transport_->readAll();
    // Between exchanges only another master talks, and the next send clears the buffer
    // anyway; a bus that never falls silent must not grow it without bound.
    if (!exchangeInProgress() && state_.NetReceiveBuffer.size() > IdleReceiveLimit)
        state_.NetReceiveBuffer = state_.NetReceiveBuffer.right(IdleReceiveLimit);
    if (DebugThreshold() >= 20)
        DebugLog(QStringLiteral("Received: ") + latin1(state_.NetReceiveBuffer) + QStringLiteral("Received Length: ")
                     + QString::number(state_.NetReceiveBuffer.size()),
                 20);
}

void Link::onTransportFailed()
{
    transportFailed_ = true;
}

void Link::handleTransportFailure(bool duringSend)
{
    if (!transport_)
        return;
    transportFailed_ = false;
    if (transport_->kind() == Transport::Kind::Tcp && !transport_->isOpen()) {
        const QString host = transport_->hostAddress();
        emit connectionLost(duringSend ? host + QStringLiteral(" - ") + text("LangConnectionLost")
                                       : QStringLiteral("Connection Lost to ") + host);
        ClearIPMode();
        state_.CommsErrorCode = 3;
        return;
    }
    // Any other device error: the port is closed and the user told, but the program goes on,
    // so an unsaved log, calibration or upgrade is not lost with it.
    const QString reason = transport_->errorText();
    transport_->close();
    state_.ComPortOpen = false;
    state_.IPMode = false;
    state_.CommsErrorCode = 3;
    DebugLog(QStringLiteral("Transport failure: ") + reason, 10);
    if (messages_ && !state_.ProgramClosing)
        messages_->show(text("LangFATALCOMMSERROR") + QStringLiteral(" ") + reason, MessageButtons::Ok);
    if (transport_->kind() == Transport::Kind::Serial)
        emit serialPortLost();
}

// ---- exchanges

QString Link::ReadParameter(int address, int number)
{
    // Parameters 50 and 51 hold texts; every other reply must be a number.
    const bool textParameter = number == 50 || number == 51;
    auto good = [&](const QString& reply) { return reply != FailureText && (textParameter || IsNumber(reply)); };
    QString reply = FailureText;
    for (int attempt = 0; attempt < Tries; ++attempt) {
        Net_Send(address, 1, QStringLiteral("R") + QString::number(number));
        int a = -1, fc = -1;
        Net_Receive(ExchangeTimeoutMs, a, fc, reply);
        if (good(reply) || state_.ProgramClosing)
            break;
    }
    if (!good(reply) && !toleratedWhenMissing(number))
        state_.ReadErrorFlag = true;
    return reply;
}

QString Link::SendCommand(int address, const QString& commandText)
{
    QString reply = FailureText;
    for (int attempt = 0; attempt < Tries; ++attempt) {
        Net_Send(address, 1, commandText);
        int a = -1, fc = -1;
        Net_Receive(ExchangeTimeoutMs, a, fc, reply);
        if (reply != FailureText || state_.ProgramClosing)
            break;
    }
    return reply;
}

QString Link::WriteParameter(int address, const QString& prefix, const QString& value, const QString& message)
{
    if (value.isEmpty()) {
        if (!message.isEmpty() && messages_ && !state_.ProgramClosing)
            messages_->show(text("LangInvalid") + QStringLiteral(" ") + message, MessageButtons::Ok);
        return {};
    }
    Net_Send(address, 1, prefix + QStringLiteral(" ") + WireValue(value));
    int a = -1, fc = -1;
    QString reply = FailureText;
    Net_Receive(ExchangeTimeoutMs, a, fc, reply);
    return reply;
}

QString Link::SendAction(int address, const QString& code)
{
    Net_Send(address, 1, QStringLiteral("A") + code);
    int a = -1, fc = -1;
    QString reply = FailureText;
    Net_Receive(ExchangeTimeoutMs, a, fc, reply);
    return reply;
}

}  // namespace dunmere
