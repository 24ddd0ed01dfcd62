#pragma once
// A transport for tests: records every frame sent and plays the replies a test scripted,
// each after a delay on the installed clock.

#include "link/Transport.h"

#include <QList>
#include <functional>

namespace dunmere::test {

class ScriptedTransport final : public Transport {
    Q_OBJECT
public:
    explicit ScriptedTransport(Kind kind = Kind::Serial, QObject* parent = nullptr);

    Kind kind() const override { return kind_; }
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    bool sendTextFrame(const QByteArray& frame) override;
    bool sendBinaryFrame(const QByteArray& array) override;
    qint64 bytesAvailable() const override { return input_.size(); }
    QByteArray read(qint64 maxBytes) override;
    void discardInput() override { input_.clear(); }
    QString errorText() const override { return errorText_; }
    QString hostAddress() const override { return QStringLiteral("127.0.0.1"); }

    // The reply bytes each following send gets, in order; an empty entry means silence.
    void queueReply(const QByteArray& bytes, qint64 delayMs = 5);
    // Or compute the reply from the frame that was sent.
    void setResponder(std::function<QByteArray(const QByteArray& frame)> responder, qint64 delayMs = 5);
    // Bytes that arrive unasked after delayMs.
    void inject(const QByteArray& bytes, qint64 delayMs = 0);
    // The next send fails as a device error would (or, for TCP, as a closed socket).
    void failNextSend(const QString& reason);
    // The connection drops after delayMs (TCP) / the device vanishes (serial).
    void dropAfter(qint64 delayMs);

    QList<QByteArray> sent;  // frames as the link handed them over

private:
    bool send(const QByteArray& frame);
    void deliver(const QByteArray& bytes);

    Kind kind_;
    bool open_ = true;
    QByteArray input_;
    QList<QPair<QByteArray, qint64>> replies_;
    std::function<QByteArray(const QByteArray&)> responder_;
    qint64 responderDelay_ = 5;
    QString failReason_;
    QString errorText_;
};

}  // namespace dunmere::test
