#include "FirmwareContainer.h"

#include <QIODevice>
#include <QRegularExpression>

namespace dunmere {

namespace {

constexpr int PartNumberLength = 6;
constexpr int SeparatorSize = 2;
constexpr qint64 ImageStride = FirmwareImageSize + SeparatorSize;
const QString BrixSensorPart = QStringLiteral("QX0063");
const QString BrixImagePart = QStringLiteral("QX0070");

// The index text up to and including "@"; nothing when the device ends first or the index
// runs past its limit.
std::optional<QByteArray> readIndex(QIODevice& device)
{
    QByteArray index;
    char c = 0;
    while (index.size() < FirmwareIndexLimit && device.getChar(&c)) {
        index += c;
        if (c == '@')
            return index;
    }
    return std::nullopt;
}

// The two digits after the first "#" that follows the entry at `entry`; 0 when they are not
// a number from 01 to 99.
int imageNumberAfter(const QByteArray& index, qsizetype entry)
{
    const qsizetype hash = index.indexOf('#', entry);
    if (hash < 0 || hash + 2 >= index.size())
        return 0;
    const char high = index.at(hash + 1);
    const char low = index.at(hash + 2);
    if (high < '0' || high > '9' || low < '0' || low > '9')
        return 0;
    return (high - '0') * 10 + (low - '0');
}

}  // namespace

QString FirmwarePartNumber(const QString& firmwareText, int editionType)
{
    if (firmwareText.size() < PartNumberLength)
        return {};
    const QString part = firmwareText.left(PartNumberLength);
    return editionType == 1 && part == BrixSensorPart ? BrixImagePart : part;
}

FirmwareImage LocateFirmwareImage(QIODevice& device, const QString& partNumber)
{
    FirmwareImage image;
    if (!device.seek(0) || device.read(2) != "QX")
        return image;
    image.outcome = FirmwareImage::Outcome::NoImage;
    const auto index = readIndex(device);
    if (!index || partNumber.size() != PartNumberLength)
        return image;
    const QByteArray key = '=' + partNumber.toLatin1();
    const qsizetype entry = index->indexOf(key);
    if (entry < 0)
        return image;
    image.number = imageNumberAfter(*index, entry + key.size());
    if (image.number == 0)
        return image;
    const qint64 firstImage = 2 + index->size() + SeparatorSize;
    image.offset = firstImage + (image.number - 1) * ImageStride;
    const qint64 size = device.size();
    if (image.offset >= size)
        return image;
    // A last image without its trailing separator is still whole.
    if (image.offset + FirmwareImageSize > size || !device.seek(image.offset)) {
        image.outcome = FirmwareImage::Outcome::Incomplete;
        return image;
    }
    image.outcome = FirmwareImage::Outcome::Found;
    return image;
}

QByteArray FirmwareBlockCommand(int block, const QByteArray& data)
{
    QByteArray command;
    command.reserve(8 + FirmwareBlockSize);
    command += 'P';
    command += char(18);
    command += QByteArray::number(block).rightJustified(5, '0');
    command += ',';
    command += data;
    return command;
}

std::optional<double> LeadingNumber(const QString& reply)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d+(\\.\\d*)?"));
    const auto match = number.match(reply);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = match.captured(0).trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

}  // namespace dunmere
