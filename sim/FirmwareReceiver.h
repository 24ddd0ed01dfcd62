#pragma once
// A sensor's side of a firmware upgrade: the 512 blocks of 128 bytes, each answered with a
// result code, and the image they make up. Chosen blocks can be set to fail, for tests of the
// upgrade's error handling.

#include <QBitArray>
#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

namespace dunmere::sim {

class FirmwareReceiver {
public:
    static constexpr int BlockCount = 512;
    static constexpr int BlockSize = 128;

    // How a block is answered: 0 accepted, 1 write error, 10 verify error, 11 both, silence, or
    // "?" as to a command it does not take.
    enum class BlockAnswer {
        Accept = 0,
        WriteError = 1,
        VerifyError = 10,
        WriteVerifyError = 11,
        Silence = -1,
        NotRecognised = -2
    };

    FirmwareReceiver();

    // "0", "1", "10", "11", "silence" or "?", as a scenario or the console names an answer.
    [[nodiscard]] static std::optional<BlockAnswer> parseBlockAnswer(const QString& text);

    // Answers the given block this way for the next `times` sendings of it (-1: always).
    void setBlockAnswer(int block, BlockAnswer answer, int times = -1);
    void clearBlockAnswers() { answers_.clear(); }

    // One block command's data after its code byte: five digits, a comma, 128 bytes.
    // Returns the reply text, or nothing for silence.
    [[nodiscard]] std::optional<QByteArray> receiveBlock(const QByteArray& data);

    [[nodiscard]] bool complete() const { return received_.count(true) == BlockCount; }
    [[nodiscard]] int blocksReceived() const { return int(received_.count(true)); }
    // The firmware identification found in the image ("QX0089 v1.13"), empty when none.
    [[nodiscard]] QByteArray firmwareTextInImage() const;
    void clear();

private:
    struct Planned {
        BlockAnswer answer;
        int times;
    };
    QByteArray image_;
    QBitArray received_;
    QMap<int, Planned> answers_;
};

}  // namespace dunmere::sim
