#pragma once
// The firmware image container: "QX", an index text up to "@" naming one image per firmware
// part number, two separator bytes, then the images of 65536 bytes, each followed by two
// separator bytes. Finds the image meant for a sensor and checks that it lies whole in the
// file before anything is sent.

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

namespace dunmere {

inline constexpr int FirmwareImageSize = 65536;
inline constexpr int FirmwareBlockSize = 128;
inline constexpr int FirmwareBlockCount = FirmwareImageSize / FirmwareBlockSize;
// An index longer than this is not an index: the file is refused rather than read whole.
inline constexpr int FirmwareIndexLimit = 65536;

// The part number an upgrade looks for: the first six characters of the sensor's firmware
// text, with the Brix edition's (editionType 1) "QX0063" sensors taking the "QX0070" image.
// Empty when the text is too short to hold one.
[[nodiscard]] QString FirmwarePartNumber(const QString& firmwareText, int editionType);

struct FirmwareImage {
    enum class Outcome {
        Found,       // the device stands at the image's first byte
        NotAContainer,  // no "QX" signature
        NoImage,     // no entry for the part number, a broken index or an image the file lacks
        Incomplete,  // the image starts in the file but is cut short
    };
    Outcome outcome = Outcome::NotAContainer;
    int number = 0;     // the image number of the entry, 1-based
    qint64 offset = 0;  // where the image starts in the file
};

// Reads the container's head from the start of the device and positions it on the image for
// partNumber. The device must be open for reading and know its size (a file or a buffer).
[[nodiscard]] FirmwareImage LocateFirmwareImage(QIODevice& device, const QString& partNumber);

// The 136 bytes of one block command: "P", 18, the block number as five digits, ",", the
// block's 128 bytes.
[[nodiscard]] QByteArray FirmwareBlockCommand(int block, const QByteArray& data);

// The leading number of a block reply; nothing when the reply does not start with one.
[[nodiscard]] std::optional<double> LeadingNumber(const QString& reply);

}  // namespace dunmere
