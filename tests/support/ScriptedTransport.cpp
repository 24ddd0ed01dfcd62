#include "ScriptedTransport.h"

#include "link/Clock.h"

namespace dunmere::test {

ScriptedTransport::ScriptedTransport(Kind kind, QObject* parent) : Transport(parent), kind_(kind) {}

bool ScriptedTransport::sendTextFrame(const QByteArray& frame) { return send(frame); }

bool ScriptedTransport::sendBinaryFrame(const QByteArray& array) { return send(array); }

bool ScriptedTransport::send(const QByteArray& frame)
{
    if (!failReason_.isEmpty()) {
        errorText_ = failReason_;
        failReason_.clear();
        if (kind_ == Kind::Tcp)
            open_ = false;
        return false;
    }
    if (!open_)
        return false;
    sent.append(frame);
    if (kind_ == Kind::Serial)
        input_.clear();  // the serial sender discards its buffers first
    QByteArray reply;
    qint64 delay = responderDelay_;
    if (!replies_.isEmpty()) {
        auto next = replies_.takeFirst();
        reply = next.first;
        delay = next.second;
    } else if (responder_) {
        reply = responder_(frame);
    }
    if (!reply.isEmpty())
        inject(reply, delay);
    return true;
}

void ScriptedTransport::queueReply(const QByteArray& bytes, qint64 delayMs) { replies_.append({bytes, delayMs}); }

void ScriptedTransport::setResponder(std::function<QByteArray(const QByteArray&)> responder, qint64 delayMs)
{
    responder_ = std::move(responder);
    responderDelay_ = delayMs;
}

void ScriptedTransport::inject(const QByteArray& bytes, qint64 delayMs)
{
    auto& clock = Clock::current();
    clock.schedule(clock.nowMs() + delayMs, [this, bytes] { deliver(bytes); }, Clock::Runs::AlsoDuringSleep);
}

void ScriptedTransport::deliver(const QByteArray& bytes)
{
    if (!open_)
        return;
    input_ += bytes;
    emit readyRead();
}

QByteArray ScriptedTransport::read(qint64 maxBytes)
{
    const QByteArray out = input_.left(maxBytes);
    input_.remove(0, out.size());
    return out;
}

void ScriptedTransport::failNextSend(const QString& reason) { failReason_ = reason; }

void ScriptedTransport::dropAfter(qint64 delayMs)
{
    auto& clock = Clock::current();
    clock.schedule(clock.nowMs() + delayMs, [this] {
        open_ = false;
        errorText_ = QStringLiteral("The remote host closed the connection");
        emit failed();
    }, Clock::Runs::AlsoDuringSleep);
}

}  // namespace dunmere::test
