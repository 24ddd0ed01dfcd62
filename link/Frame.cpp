#include "Frame.h"

namespace dunmere::frame {

namespace {

bool isControl(char b) { return b == STX || b == ETX || b == DLE; }

// Escaped body and checksum over everything from the address character on.
QByteArray frameBody(char addressChar, int frameCode, const QByteArray& data)
{
    QByteArray body;
    body.reserve(data.size() * 2 + 8);
    body += STX;
    body += addressChar;
    body += nibbles(static_cast<quint8>(frameCode));
    for (char b : data) {
        if (isControl(b))
            body += DLE;
        body += b;
    }
    quint8 sum = 0;
    for (qsizetype i = 1; i < body.size(); ++i)
        sum ^= static_cast<quint8>(body[i]);
    body += ETX;
    body += nibbles(sum);
    return body;
}

}  // namespace

QByteArray nibbles(quint8 value)
{
    QByteArray out;
    out += char(0x40 + ((value >> 4) & 0x0F));
    out += char(0x40 + (value & 0x0F));
    return out;
}

QByteArray encodeText(int address, int frameCode, const QByteArray& text)
{
    return frameBody(char(address + 64), frameCode, text);
}

QByteArray encodeBinary(int address, int frameCode, const QByteArray& payload)
{
    return QByteArray(2, Preamble) + frameBody(char(address + 64), frameCode, payload);
}

QByteArray encodeReply(int address, int frameCode, const QByteArray& payload)
{
    return frameBody(char(address + 96), frameCode, payload);
}

FrameReceiver::FrameReceiver(Mode mode, bool decimalComma) : mode_(mode), decimalComma_(decimalComma) {}

void FrameReceiver::reset()
{
    state_ = Hunting;
    checksum_ = 0;
    received_ = 0;
    text_.clear();
}

void FrameReceiver::append(char byte)
{
    // A decimal point is delivered as a comma on decimal-comma systems, but only in text
    // replies: in binary payloads 0x2E is just a byte of a number.
    if (byte == '.' && decimalComma_ && mode_ == Mode::Text)
        text_ += ',';
    else
        text_ += byte;
}

bool FrameReceiver::feed(char byte)
{
    switch (state_) {
    case Hunting:
        if (byte == STX) {
            checksum_ = 0;
            text_.clear();
            state_ = InFrame;
        }
        break;
    case InFrame:
        if (byte == STX) {
            state_ = Hunting;  // abandoned; this STX does not open a new frame
        } else if (byte == ETX) {
            state_ = Checksum1;
        } else if (byte == DLE) {
            checksum_ ^= static_cast<quint8>(byte);
            state_ = AfterDle;
        } else {
            append(byte);
            checksum_ ^= static_cast<quint8>(byte);
        }
        break;
    case AfterDle:
        if (isControl(byte)) {
            text_ += byte;
            checksum_ ^= static_cast<quint8>(byte);
            state_ = InFrame;
        } else {
            state_ = Hunting;
        }
        break;
    case Checksum1:
        received_ = (static_cast<quint8>(byte) - 64) * 16;
        state_ = Checksum2;
        break;
    case Checksum2:
        received_ += static_cast<quint8>(byte) - 64;
        state_ = Complete;
        break;
    case Complete:
        break;
    }
    return state_ == Complete;
}

bool FrameReceiver::valid() const
{
    // Fewer than three characters cannot hold address and FrameCode: line noise, not a reply.
    return state_ == Complete && received_ == checksum_ && text_.size() >= 3;
}

int FrameReceiver::address() const
{
    return valid() ? static_cast<quint8>(text_[0]) - 96 : -1;
}

int FrameReceiver::frameCode() const
{
    if (!valid())
        return -1;
    return (static_cast<quint8>(text_[1]) - 64) * 16 + (static_cast<quint8>(text_[2]) - 64);
}

QByteArray FrameReceiver::payload() const
{
    return valid() ? text_.mid(3) : QByteArray();
}

}  // namespace dunmere::frame
