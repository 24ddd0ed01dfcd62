#pragma once
// The sensor bus frame layouts: STX, address character, two nibble characters of FrameCode,
// the DLE-escaped payload, ETX and a two-nibble XOR checksum. Encoding here, decoding in
// FrameReceiver. Transports know nothing of this.

#include <QByteArray>

namespace dunmere::frame {

inline constexpr char STX = 0x02;
inline constexpr char ETX = 0x03;
inline constexpr char DLE = 0x10;
inline constexpr char Preamble = char(0xFF);

// 0x40 + high nibble, 0x40 + low nibble.
[[nodiscard]] QByteArray nibbles(quint8 value);

// STX, address + 64, FrameCode, escaped text, ETX, checksum. Over serial the transport adds
// the 0xFF 0xFF preamble and the 0x00 pad.
[[nodiscard]] QByteArray encodeText(int address, int frameCode, const QByteArray& text);

// 0xFF 0xFF, then the same layout with the payload bytes escaped; sent as one array.
[[nodiscard]] QByteArray encodeBinary(int address, int frameCode, const QByteArray& payload);

// Reply frames carry address + 96; the simulated sensors build them with this.
[[nodiscard]] QByteArray encodeReply(int address, int frameCode, const QByteArray& payload);

// Finds, checks and decodes one frame fed a byte at a time (bytes before the first STX are
// noise). The state numbers follow the receiver's documented states.
class FrameReceiver {
public:
    enum class Mode { Text, Binary };

    explicit FrameReceiver(Mode mode = Mode::Text, bool decimalComma = false);

    void reset();
    // Returns true once the frame is complete (both checksum characters seen).
    bool feed(char byte);

    [[nodiscard]] bool complete() const { return state_ == Complete; }
    // Complete, checksum matching, and long enough to hold address and FrameCode.
    [[nodiscard]] bool valid() const;
    [[nodiscard]] int address() const;       // address character - 96, -1 when not valid
    [[nodiscard]] int frameCode() const;     // -1 when not valid
    [[nodiscard]] QByteArray payload() const;  // text after the header, unescaped

private:
    enum State { Hunting = 0, InFrame = 1, AfterDle = 2, Checksum1 = 4, Checksum2 = 5, Complete = 6 };
    void append(char byte);

    Mode mode_;
    bool decimalComma_;
    State state_ = Hunting;
    quint8 checksum_ = 0;
    int received_ = 0;
    QByteArray text_;
};

}  // namespace dunmere::frame
