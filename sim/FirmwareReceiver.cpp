#include "FirmwareReceiver.h"

#include <QRegularExpression>
#include <algorithm>

namespace dunmere::sim {

FirmwareReceiver::FirmwareReceiver() : image_(BlockCount * BlockSize, '\xFF'), received_(BlockCount) {}

std::optional<FirmwareReceiver::BlockAnswer> FirmwareReceiver::parseBlockAnswer(const QString& text)
{
    const QString a = text.toLower();
    if (a == u"0")
        return BlockAnswer::Accept;
    if (a == u"1")
        return BlockAnswer::WriteError;
    if (a == u"10")
        return BlockAnswer::VerifyError;
    if (a == u"11")
        return BlockAnswer::WriteVerifyError;
    if (a == u"silence")
        return BlockAnswer::Silence;
    if (a == u"?")
        return BlockAnswer::NotRecognised;
    return std::nullopt;
}

void FirmwareReceiver::setBlockAnswer(int block, BlockAnswer answer, int times)
{
    answers_.insert(block, Planned{answer, times});
}

std::optional<QByteArray> FirmwareReceiver::receiveBlock(const QByteArray& data)
{
    bool ok = false;
    const int block = data.left(5).toInt(&ok);
    const bool digits = std::all_of(data.begin(), data.begin() + qMin<qsizetype>(5, data.size()),
                                    [](char c) { return c >= '0' && c <= '9'; });
    if (data.size() != 6 + BlockSize || !ok || !digits || data.at(5) != ',' || block < 0 || block >= BlockCount)
        return QByteArray("?");
    auto planned = answers_.find(block);
    if (planned != answers_.end()) {
        const BlockAnswer answer = planned->answer;
        if (planned->times > 0 && --planned->times == 0)
            answers_.erase(planned);
        if (answer == BlockAnswer::Silence)
            return std::nullopt;
        if (answer == BlockAnswer::NotRecognised)
            return QByteArray("?");
        if (answer != BlockAnswer::Accept)
            return QByteArray::number(int(answer));
    }
    image_.replace(qsizetype(block) * BlockSize, BlockSize, data.mid(6));
    received_.setBit(block);
    return QByteArray("0");
}

QByteArray FirmwareReceiver::firmwareTextInImage() const
{
    static const QRegularExpression text(QStringLiteral("QX\\d{4} v\\d\\.\\d\\d"));
    const auto match = text.match(QString::fromLatin1(image_));
    return match.hasMatch() ? match.captured(0).toLatin1() : QByteArray();
}

void FirmwareReceiver::clear()
{
    image_.fill('\xFF');
    received_.fill(false);
}

}  // namespace dunmere::sim
