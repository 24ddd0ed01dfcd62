#include "Faults.h"

#include "link/Frame.h"

namespace dunmere::sim {

namespace {

// Bytes a noisy line produces; none of them is a control byte of the frame layout.
const QByteArray LineNoise("\x55\xAA\x7E\x00\xC3", 5);

}  // namespace

bool FaultSet::any() const
{
    return silence || latencyMs != 0 || noiseBeforeStx || wrongChecksum || bitFlip || doubleBitFlip || droppedByte || secondStx || lateReply
        || secondMaster || closeMidReply;
}

FaultSet FaultSet::combinedWith(const FaultSet& o) const
{
    FaultSet f;
    f.silence = silence || o.silence;
    f.latencyMs = latencyMs + o.latencyMs;
    f.noiseBeforeStx = noiseBeforeStx || o.noiseBeforeStx;
    f.wrongChecksum = wrongChecksum || o.wrongChecksum;
    f.bitFlip = bitFlip || o.bitFlip;
    f.doubleBitFlip = doubleBitFlip || o.doubleBitFlip;
    f.droppedByte = droppedByte || o.droppedByte;
    f.secondStx = secondStx || o.secondStx;
    f.lateReply = lateReply || o.lateReply;
    f.secondMaster = secondMaster || o.secondMaster;
    f.closeMidReply = closeMidReply || o.closeMidReply;
    return f;
}

std::optional<WireReply> applyFaults(const FaultSet& faults, const QByteArray& frame, qint64 latencyMs)
{
    if (faults.silence)
        return std::nullopt;
    WireReply reply{frame, latencyMs + faults.latencyMs, -1};
    QByteArray& bytes = reply.bytes;
    // The frame ends ETX, checksum high, checksum low; its middle lies inside the payload.
    const qsizetype middle = qMax<qsizetype>(1, (bytes.size() - 3) / 2);
    if (faults.wrongChecksum)
        bytes[bytes.size() - 1] = char(0x40 + ((bytes.back() - 0x40 + 1) & 0x0F));
    if (faults.bitFlip && bytes.size() > 7)
        bytes[4] = char(bytes[4] ^ 0x01);  // the lowest bit of the payload's first byte
    if (faults.doubleBitFlip && bytes.size() > 8) {
        bytes[4] = char(bytes[4] ^ 0x01);
        bytes[5] = char(bytes[5] ^ 0x01);
    }
    if (faults.droppedByte)
        bytes.remove(middle, 1);
    if (faults.secondStx)
        bytes.insert(middle, frame::STX);
    if (faults.noiseBeforeStx)
        bytes.prepend(LineNoise);
    if (faults.lateReply)
        reply.delayMs += FaultSet::LateReplyMs;
    if (faults.closeMidReply)
        reply.closeAfter = bytes.size() / 2;
    return reply;
}

bool parseFault(const QString& name, FaultSet& f, QString& error)
{
    const QString n = name.trimmed().toLower();
    if (n == u"none") {
        f = FaultSet{};
    } else if (n == u"silence") {
        f.silence = true;
    } else if (n.startsWith(u"latency=")) {
        bool ok = false;
        const qint64 ms = n.mid(8).toLongLong(&ok);
        if (!ok || ms < 0 || ms > 60'000) {
            error = QStringLiteral("latency needs a number of milliseconds from 0 to 60000: %1").arg(name);
            return false;
        }
        f.latencyMs = ms;
    } else if (n == u"noise") {
        f.noiseBeforeStx = true;
    } else if (n == u"checksum") {
        f.wrongChecksum = true;
    } else if (n == u"flip") {
        f.bitFlip = true;
    } else if (n == u"flip2") {
        f.doubleBitFlip = true;
    } else if (n == u"drop") {
        f.droppedByte = true;
    } else if (n == u"stx") {
        f.secondStx = true;
    } else if (n == u"late") {
        f.lateReply = true;
    } else if (n == u"master") {
        f.secondMaster = true;
    } else if (n == u"close") {
        f.closeMidReply = true;
    } else {
        error = QStringLiteral("unknown fault \"%1\"; known: %2").arg(name, faultNames());
        return false;
    }
    return true;
}

QString faultNames()
{
    return QStringLiteral("none, silence, latency=MS, noise, checksum, flip, flip2, drop, stx, late, master, close");
}

}  // namespace dunmere::sim
