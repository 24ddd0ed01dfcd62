// The firmware container reader: which image it picks for a part number, what it refuses
// (no signature, a broken index, an image number the file does not hold, a file cut short),
// and the block command and reply rules. The transfer itself is tested on the simulated bus.

#include "FirmwareFiles.h"
#include "firmware/FirmwareContainer.h"

#include <QBuffer>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

Q_DECLARE_METATYPE(FirmwareImage::Outcome)

class TstFirmwareContainer : public QObject {
    Q_OBJECT
private slots:
    void locatesTheImageForThePartNumber_data();
    void locatesTheImageForThePartNumber();
    void partNumberFollowsTheBrixEditionRule_data();
    void partNumberFollowsTheBrixEditionRule();
    void blockCommandIsTheDocumentedBytes();
    void leadingNumberOfABlockReply_data();
    void leadingNumberOfABlockReply();
};

void TstFirmwareContainer::locatesTheImageForThePartNumber_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("part");
    QTest::addColumn<FirmwareImage::Outcome>("outcome");
    QTest::addColumn<int>("number");

    using O = FirmwareImage::Outcome;
    const QByteArray three = firmwareContainer(ThreeImageIndex, threeImages());
    const qint64 image2 = 2 + ThreeImageIndex.size() + 2 + 65538;
    QTest::newRow("image 2 of three") << three << "QX0089" << O::Found << 2;
    QTest::newRow("first image") << three << "QX0077" << O::Found << 1;
    QTest::newRow("last image") << three << "QX0070" << O::Found << 3;
    QTest::newRow("last image without its separator") << three.left(three.size() - 2) << "QX0070" << O::Found << 3;
    QTest::newRow("no signature") << ("QY" + three.mid(2)) << "QX0089" << O::NotAContainer << 0;
    QTest::newRow("empty file") << QByteArray() << "QX0089" << O::NotAContainer << 0;
    QTest::newRow("part not in the index") << three << "QX0045" << O::NoImage << 0;
    QTest::newRow("no part number") << three << "" << O::NoImage << 0;
    QTest::newRow("index without @") << QByteArray("QX=QX0089 rev B#01") + QByteArray(70000, 'x') << "QX0089"
                                     << O::NoImage << 0;
    QTest::newRow("image number 00") << firmwareContainer("=QX0089#00@", threeImages()) << "QX0089" << O::NoImage << 0;
    QTest::newRow("image number not a number")
        << firmwareContainer("=QX0089#0A@", threeImages()) << "QX0089" << O::NoImage << 0;
    QTest::newRow("no # after the entry") << firmwareContainer("=QX0089 rev B@", threeImages()) << "QX0089"
                                          << O::NoImage << 0;
    QTest::newRow("image number beyond the file")
        << firmwareContainer("=QX0089#04@", threeImages()) << "QX0089" << O::NoImage << 4;
    QTest::newRow("cut short in image 2") << three.left(image2 + 1000) << "QX0089" << O::Incomplete << 2;
    QTest::newRow("cut one byte short of image 2") << three.left(image2 + 65535) << "QX0089" << O::Incomplete << 2;
}

void TstFirmwareContainer::locatesTheImageForThePartNumber()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, part);
    QFETCH(FirmwareImage::Outcome, outcome);
    QFETCH(int, number);

    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const FirmwareImage image = LocateFirmwareImage(buffer, part);
    QCOMPARE(image.outcome, outcome);
    if (outcome == FirmwareImage::Outcome::NotAContainer)
        return;
    QCOMPARE(image.number, number);
    if (outcome != FirmwareImage::Outcome::Found)
        return;
    // The device stands on the image's first byte.
    QCOMPARE(buffer.read(128), threeImages().at(number - 1).left(128));
}

void TstFirmwareContainer::partNumberFollowsTheBrixEditionRule_data()
{
    QTest::addColumn<QString>("firmwareText");
    QTest::addColumn<int>("edition");
    QTest::addColumn<QString>("part");
    QTest::newRow("standard") << "QX0089 v1.12" << 0 << "QX0089";
    QTest::newRow("QX0063 in the Brix edition") << "QX0063 v1.00" << 1 << "QX0070";
    QTest::newRow("QX0063 in the standard edition") << "QX0063 v1.00" << 0 << "QX0063";
    QTest::newRow("other part in the Brix edition") << "QX0077 v2.10" << 1 << "QX0077";
    QTest::newRow("no firmware text") << "-99" << 0 << "";
}

void TstFirmwareContainer::partNumberFollowsTheBrixEditionRule()
{
    QFETCH(QString, firmwareText);
    QFETCH(int, edition);
    QFETCH(QString, part);
    QCOMPARE(FirmwarePartNumber(firmwareText, edition), part);
}

void TstFirmwareContainer::blockCommandIsTheDocumentedBytes()
{
    QByteArray data(128, '\0');
    for (int i = 0; i < 128; ++i)
        data[i] = char(255 - i);
    const QByteArray first = FirmwareBlockCommand(0, data);
    QCOMPARE(first.size(), 136);
    QCOMPARE(first.left(8), QByteArray("\x50\x12\x30\x30\x30\x30\x30\x2c", 8));
    QCOMPARE(first.mid(8), data);
    QCOMPARE(FirmwareBlockCommand(511, data).left(8), QByteArray("\x50\x12\x30\x30\x35\x31\x31\x2c", 8));
}

void TstFirmwareContainer::leadingNumberOfABlockReply_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("hasNumber");
    QTest::addColumn<double>("value");
    QTest::newRow("accepted") << "0" << true << 0.0;
    QTest::newRow("verify error") << "10" << true << 10.0;
    QTest::newRow("leading blank") << " 11" << true << 11.0;
    QTest::newRow("number and text") << "0 ok" << true << 0.0;
    QTest::newRow("time-out") << "-99" << true << -99.0;
    QTest::newRow("not recognised") << "?" << false << 0.0;
    QTest::newRow("done") << "!" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
}

void TstFirmwareContainer::leadingNumberOfABlockReply()
{
    QFETCH(QString, reply);
    QFETCH(bool, hasNumber);
    QFETCH(double, value);
    const auto number = LeadingNumber(reply);
    QCOMPARE(number.has_value(), hasNumber);
    if (hasNumber)
        QCOMPARE(*number, value);
}

QTEST_GUILESS_MAIN(TstFirmwareContainer)
#include "tst_firmwarecontainer.moc"
