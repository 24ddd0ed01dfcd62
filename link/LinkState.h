#pragma once
// The one record of the sensor link shared by the exchange operations and the transports.

#include <QByteArray>
#include <QtGlobal>

namespace dunmere {

struct LinkState {
    bool ComPortOpen = false;  // the serial port is the active transport
    bool IPMode = false;       // the TCP connection is the active transport
    bool SendBusy = false;
    bool ReceiveBusy = false;
    bool SendBlocked = false;     // set when the program starts closing: sends do nothing
    bool ReceiveBlocked = false;  // receivers return at once, outputs untouched
    // Result of the last receive: 0 good, 1 no complete frame in time, 2 wrong checksum or a
    // broken frame, 3 no transport.
    qint16 CommsErrorCode = 0;
    qint64 SendTime = 0;           // clock time just before the last frame went out
    QByteArray NetReceiveBuffer;   // TCP bytes received and not yet consumed
    qint64 ConnectTime = 0;        // ms the last TCP connect took; added to TCP time-outs
    qint64 LastRTT = 0;
    qint64 AverageRTT = 0;
    qint64 MaxRTT = 0;
    quint32 NetTimeouts = 0;       // TCP receives that got no data at all
    bool ReadErrorFlag = false;
    bool WriteErrorFlag = false;
    bool ProgramClosing = false;
};

}  // namespace dunmere
