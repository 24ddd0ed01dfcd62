#pragma once
// The simulated bus as a Transport inside the program: for tests and for the demonstration
// mode. Behaves as the serial port (preamble and pad on the wire, input discarded before a
// send) or as the TCP connection to an adapter (the frame as it stands, a connection that can
// drop), as chosen; bytes arrive at their wire time on the installed clock.

#include "WireLine.h"
#include "link/Transport.h"

namespace dunmere::sim {

class SimBus;

class SimTransport final : public Transport {
    Q_OBJECT
public:
    SimTransport(SimBus& bus, Kind kind, QObject* parent = nullptr);

    Kind kind() const override { return kind_; }
    bool isOpen() const override { return open_; }
    void close() override;
    // Opens again after close() or a dropped connection.
    void open();

    bool sendTextFrame(const QByteArray& frame) override;
    bool sendBinaryFrame(const QByteArray& array) override;
    qint64 bytesAvailable() const override { return input_.size(); }
    QByteArray read(qint64 maxBytes) override;
    void discardInput() override { input_.clear(); }
    QString errorText() const override { return errorText_; }
    QString hostAddress() const override;

    WireLine& line() { return line_; }
    void setBaud(int baud) { line_.setBaud(baud); }
    // Added to the sensors' turnaround (SimBus::setReplyLatencyMs) for this transport only.
    void setReplyLatencyMs(qint64 ms) { line_.setExtraLatencyMs(ms); }

private:
    bool send(const QByteArray& wireBytes);
    void arrive(const QByteArray& bytes);
    void dropConnection();

    Kind kind_;
    WireLine line_;
    bool open_ = true;
    QByteArray input_;
    QString errorText_;
};

}  // namespace dunmere::sim
