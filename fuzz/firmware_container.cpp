// A firmware container as it arrives on a laptop: the head, the index and the positioning on
// one image. Beyond not crashing: an image reported found starts inside the file, a whole one
// of 65536 bytes fits in it, and the device then stands at its first byte.
// Links: dunmere_firmware dunmere_link dunmere_sensor
//
// Input: one byte choosing the part number asked for, then the container's bytes.

#include "FuzzInput.h"
#include "firmware/FirmwareContainer.h"

#include <QBuffer>
#include <cstdlib>

using namespace dunmere;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzInput in(data, size);
    static const char* const parts[] = {"QX0089", "QX0070", "QX0045", "QX0063", ""};
    const QString part = QString::fromLatin1(parts[in.choice(int(std::size(parts)))]);
    QByteArray bytes = in.rest();
    QBuffer device(&bytes);
    if (!device.open(QIODevice::ReadOnly))
        return 0;
    const FirmwareImage image = LocateFirmwareImage(device, part);
    if (image.outcome == FirmwareImage::Outcome::Found) {
        if (image.offset < 0 || image.offset + 65536 > bytes.size() || device.pos() != image.offset || image.number < 1)
            std::abort();
    }
    return 0;
}
