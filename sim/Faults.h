#pragma once
// The bus faults that can be switched on for one sensor or for the whole line, and how they
// change a reply on its way to the program.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace dunmere::sim {

struct FaultSet {
    bool silence = false;          // no reply at all
    qint64 latencyMs = 0;          // added before the reply's first byte
    bool noiseBeforeStx = false;   // line noise ahead of the reply's STX
    bool wrongChecksum = false;
    bool bitFlip = false;          // one bit of the payload changed on the way
    // The same bit changed in the payload's first two bytes: the XOR checksum cannot see it.
    bool doubleBitFlip = false;
    bool droppedByte = false;      // one byte in the middle of the reply is lost
    bool secondStx = false;        // an STX inside the reply
    bool lateReply = false;        // the reply comes after the program's time-out
    bool secondMaster = false;     // another master on the line (bus-wide only)
    bool closeMidReply = false;    // TCP: the adapter drops the connection inside a reply

    [[nodiscard]] bool any() const;
    // Both sets at once: flags of either, latencies added.
    [[nodiscard]] FaultSet combinedWith(const FaultSet& other) const;

    static constexpr qint64 LateReplyMs = 2000;  // past the 1500 ms reply time-out
};

// One reply on the wire after the faults: its bytes, the wait before the first byte, and
// where a TCP connection breaks off (-1: it does not).
struct WireReply {
    QByteArray bytes;
    qint64 delayMs = 0;
    qsizetype closeAfter = -1;
};

[[nodiscard]] std::optional<WireReply> applyFaults(const FaultSet& faults, const QByteArray& frame, qint64 latencyMs);

// Reads a fault by its command-line name: silence, latency=MS, noise, checksum, flip, flip2, drop, stx,
// late, master, close; "none" clears. Adds it to `faults`; false with a message when unknown.
[[nodiscard]] bool parseFault(const QString& name, FaultSet& faults, QString& error);
[[nodiscard]] QString faultNames();

}  // namespace dunmere::sim
