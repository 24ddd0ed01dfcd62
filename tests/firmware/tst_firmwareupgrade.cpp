// A firmware upgrade against the simulated bus on the virtual clock, through the program's
// Link: the image chosen for the sensor is the one sent, the block replies and their retries,
// cancel, the restart and read-back, refusals that send nothing, and the configuration
// compared across the upgrade. The container layout itself is tested on its own.

#include "FirmwareFiles.h"
#include "SimBench.h"
#include "firmware/FirmwareUpgrade.h"
#include "sensor/SensorRecord.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;
using BA = sim::FirmwareReceiver::BlockAnswer;

namespace {

class KeyTexts final : public TextSource {
public:
    QString text(const QString& key) const override { return key; }
};

class RecordingReport final : public UpgradeReport {
public:
    explicit RecordingReport(FirmwareUpgrade*& upgrade) : upgrade_(upgrade) {}
    void status(const QString& text) override
    {
        statuses << text;
        if (cancelBeforeBlock >= 0 && done == cancelBeforeBlock && upgrade_)
            upgrade_->cancel();
    }
    void progress(int blocksDone) override { done = blocksDone; }
    void sending(bool on) override { sendingStates << on; }
    bool askRestore(const QList<ConfigurationChange>& changes) override
    {
        asked = changes;
        return restore;
    }

    QStringList statuses;
    int done = 0;
    QList<bool> sendingStates;
    int cancelBeforeBlock = -1;  // cancels while this block is in flight
    bool restore = false;
    QList<ConfigurationChange> asked;

private:
    FirmwareUpgrade*& upgrade_;
};

struct Upgrade {
    SimBench bench{Transport::Kind::Serial};
    QTemporaryDir dir;
    KeyTexts texts;
    FirmwareUpgrade* running = nullptr;
    RecordingReport report{running};
    FirmwareUpgrade upgrade{bench.link, texts, report};
    SensorRecord record;
    int address = 1;

    Upgrade() { running = &upgrade; }

    sim::VirtualSensor& sensor() { return *bench.bus.sensorAt(address); }

    UpgradeResult run(const QByteArray& file, int edition = 0)
    {
        record.FirmwareText = QString::fromLatin1(sensor().firmwareText());
        ParseFirmwareText(record);
        return upgrade.SelectFirmwareImage(writeFile(dir, QStringLiteral("upgrade.bin"), file), record, address, edition);
    }

    // The block commands the sensor heard, in order.
    QList<sim::ReceivedFrame> blocks() const
    {
        QList<sim::ReceivedFrame> out;
        for (const auto& f : bench.bus.received())
            if (f.payload.startsWith("P\x12"))
                out << f;
        return out;
    }
    [[nodiscard]] int restartsSent() const
    {
        int n = 0;
        for (const auto& f : bench.bus.received())
            n += f.payload == QByteArray("P\x13" "HANG ON EVERYBODY");
        return n;
    }
};

QString progressText(const char* percent) { return QStringLiteral("LangUpgrade LangProgress: ") + QLatin1String(percent); }

}  // namespace

class TstFirmwareUpgrade : public QObject {
    Q_OBJECT
private slots:
    void sendsImageTwoAndReadsTheNewFirmwareBack();
    void brixEditionSendsTheQX0070ImageToAQX0063Sensor();
    void refusalsSendNothing_data();
    void refusalsSendNothing();
    void blockErrorsEndAtOnce_data();
    void blockErrorsEndAtOnce();
    void unansweredBlockIsSentSixTimesOneSecondApart();
    void notRecognisedIsRetriedNeverAccepted();
    void cancelDuringBlock100StopsBefore101();
    void sensorThatAnswersTheRestartIsReportedFailed();
    void configurationComparisonListsWhatTheRestartChanged();
};

void TstFirmwareUpgrade::sendsImageTwoAndReadsTheNewFirmwareBack()
{
    Upgrade u;
    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QVERIFY2(result.succeeded, qPrintable(result.resultText));

    const auto blocks = u.blocks();
    QCOMPARE(blocks.size(), 512);
    // Block 0 carries the first 128 bytes of image 2, after "P", 18, "00000,".
    QCOMPARE(blocks.first().payload, QByteArray("P\x12" "00000,") + firmwareImage(2, "QX0089 v1.13").left(128));
    QCOMPARE(blocks.last().payload.left(8), QByteArray("P\x12" "00511,"));
    QCOMPARE(u.restartsSent(), 1);

    QCOMPARE(u.record.FirmwareText, QStringLiteral("QX0089 v1.13"));
    QCOMPARE(u.record.TypeCode, 89);
    QCOMPARE(u.record.FirmwareVersion, 1.13);
    QCOMPARE(result.checksum, QString::fromLatin1(u.sensor().checksumText()));
    QCOMPARE(u.report.done, 512);
    QCOMPARE(u.report.sendingStates, (QList<bool>{true, false}));
    // The progress advanced block by block, the restart and read-back were shown, and the
    // status ends empty.
    QVERIFY(u.report.statuses.contains(progressText("0%")));
    QVERIFY(u.report.statuses.contains(progressText("50%")));
    const int wait = int(u.report.statuses.indexOf(QStringLiteral("LangUpgradeWait")));
    QVERIFY(wait > 0);
    QCOMPARE(u.report.statuses.indexOf(QStringLiteral("LangRequestFirmware")), wait + 1);
    QCOMPARE(u.report.statuses.indexOf(QStringLiteral("LangUpgrade LangWritten")), wait + 2);
    QCOMPARE(u.report.statuses.last(), QString());
}

void TstFirmwareUpgrade::brixEditionSendsTheQX0070ImageToAQX0063Sensor()
{
    Upgrade u;
    u.address = 3;
    sim::SensorSetup setup;
    setup.address = 3;
    setup.firmwareText = "QX0063 v1.00";
    QVERIFY(u.bench.bus.addSensor(setup));
    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()), 1);
    QVERIFY2(result.succeeded, qPrintable(result.resultText));
    QCOMPARE(u.blocks().first().payload.mid(8), firmwareImage(3, "QX0070 v1.02").left(128));
    QCOMPARE(u.record.FirmwareText, QStringLiteral("QX0070 v1.02"));
}

void TstFirmwareUpgrade::refusalsSendNothing_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("status");
    const QByteArray three = firmwareContainer(ThreeImageIndex, threeImages());
    const qsizetype image2 = 2 + ThreeImageIndex.size() + 2 + 65538;
    QTest::newRow("no image for the part number")
        << firmwareContainer("=QX0077#01@", {firmwareImage(1, "QX0077 v2.11")}) << "LangUpgradeError";
    QTest::newRow("index without @") << QByteArray("QX=QX0089#01") << "LangUpgradeError";
    QTest::newRow("image number 00") << firmwareContainer("=QX0089#00@", threeImages()) << "LangUpgradeError";
    QTest::newRow("image beyond the file") << firmwareContainer("=QX0089#07@", threeImages()) << "LangUpgradeError";
    QTest::newRow("cut short in image 2") << three.left(image2 + 30000) << "LangInvalid LangFile - ";
    QTest::newRow("no signature") << QByteArray("MZ") + three.mid(2) << "LangInvalid LangFile - ";
}

void TstFirmwareUpgrade::refusalsSendNothing()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, status);
    Upgrade u;
    u.bench.bus.clearReceived();
    const UpgradeResult result = u.run(file);
    QVERIFY(!result.succeeded);
    QVERIFY(!result.sentAnything);
    QVERIFY2(result.resultText.startsWith(status), qPrintable(result.resultText));
    QCOMPARE(u.report.statuses.last(), result.resultText);
    QVERIFY(u.bench.bus.received().isEmpty());
}

void TstFirmwareUpgrade::blockErrorsEndAtOnce_data()
{
    QTest::addColumn<BA>("answer");
    QTest::addColumn<QString>("status");
    QTest::newRow("1") << BA::WriteError << "LangWrite LangError - 1";
    QTest::newRow("10") << BA::VerifyError << "LangVerify LangError - 10";
    QTest::newRow("11") << BA::WriteVerifyError << "LangWrite/LangVerify LangError - 11";
}

void TstFirmwareUpgrade::blockErrorsEndAtOnce()
{
    QFETCH(BA, answer);
    QFETCH(QString, status);
    Upgrade u;
    u.sensor().firmware().setBlockAnswer(37, answer);
    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QCOMPARE(result.resultText, status);
    QCOMPARE(u.report.statuses.last(), status);
    QCOMPARE(u.blocks().size(), 38);
    QCOMPARE(u.restartsSent(), 0);
    QCOMPARE(u.record.FirmwareText, QStringLiteral("QX0089 v1.12"));
}

void TstFirmwareUpgrade::unansweredBlockIsSentSixTimesOneSecondApart()
{
    Upgrade u;
    u.sensor().firmware().setBlockAnswer(5, BA::Silence);
    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QCOMPARE(result.resultText, QStringLiteral("LangError - -99"));
    const auto blocks = u.blocks();
    QCOMPARE(blocks.size(), 5 + 6);
    for (int i = 5; i < blocks.size(); ++i)
        QCOMPARE(blocks[i].payload.left(8), QByteArray("P\x12" "00005,"));
    // Each sending waits its 4000 ms for a reply, then one second passes before the next.
    for (int i = 6; i < blocks.size(); ++i) {
        const qint64 gap = blocks[i].atMs - blocks[i - 1].atMs;
        QVERIFY2(gap >= 5000 && gap < 5300, qPrintable(QString::number(gap)));
    }
}

void TstFirmwareUpgrade::notRecognisedIsRetriedNeverAccepted()
{
    Upgrade u;
    // "?" twice, then the sensor takes the block: the upgrade goes on.
    u.sensor().firmware().setBlockAnswer(9, BA::NotRecognised, 2);
    UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QVERIFY2(result.succeeded, qPrintable(result.resultText));
    QCOMPARE(u.blocks().size(), 514);

    // "?" every time: never accepted, six sendings, then the error with the reply.
    Upgrade always;
    always.sensor().firmware().setBlockAnswer(9, BA::NotRecognised);
    result = always.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QCOMPARE(result.resultText, QStringLiteral("LangError - ?"));
    QCOMPARE(always.blocks().size(), 9 + 6);
    QCOMPARE(always.sensor().firmware().blocksReceived(), 9);
}

void TstFirmwareUpgrade::cancelDuringBlock100StopsBefore101()
{
    Upgrade u;
    u.report.cancelBeforeBlock = 100;
    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QCOMPARE(result.resultText, QStringLiteral("LangUpgrade LangCancelled"));
    QCOMPARE(u.report.statuses.last(), result.resultText);
    const auto blocks = u.blocks();
    QCOMPARE(blocks.size(), 101);
    QCOMPARE(blocks.last().payload.left(8), QByteArray("P\x12" "00100,"));
    QCOMPARE(u.restartsSent(), 0);
    QCOMPARE(u.report.sendingStates, (QList<bool>{true, false}));
}

void TstFirmwareUpgrade::sensorThatAnswersTheRestartIsReportedFailed()
{
    Upgrade u;
    u.sensor().setRefusesRestart(true);
    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QCOMPARE(result.resultText, QStringLiteral("LangError LangUpgrade LangFailed"));
    QCOMPARE(u.restartsSent(), 1);
    QCOMPARE(u.record.FirmwareText, QStringLiteral("QX0089 v1.12"));
}

void TstFirmwareUpgrade::configurationComparisonListsWhatTheRestartChanged()
{
    Upgrade u;
    // The plant's settings, stored; the new firmware puts two of them back to factory values.
    auto& parameters = u.sensor().parameters();
    parameters.set(7, "3.25");
    parameters.set(14, "4");
    parameters.set(8, "18.00");
    parameters.store();
    u.sensor().setUpgradeResets({7, 14});
    u.report.restore = true;

    const UpgradeResult result = u.run(firmwareContainer(ThreeImageIndex, threeImages()));
    QVERIFY2(result.succeeded, qPrintable(result.resultText));
    QVERIFY(!result.configurationIncomplete);
    QCOMPARE(u.report.asked.size(), 2);
    QCOMPARE(u.report.asked[0].parameter, 7);
    QCOMPARE(u.report.asked[0].before, QStringLiteral("3.25"));
    QCOMPARE(u.report.asked[0].after, QStringLiteral("0.00"));
    QCOMPARE(u.report.asked[1].parameter, 14);
    QCOMPARE(u.report.asked[1].before, QStringLiteral("4"));
    QCOMPARE(u.report.asked[1].after, QStringLiteral("2"));
    QVERIFY(u.report.asked[0].restorable && u.report.asked[1].restorable);

    // The old values were written back and stored.
    QVERIFY(result.restored);
    QCOMPARE(parameters.value(7).toDouble(), 3.25);
    QCOMPARE(parameters.value(14), QByteArray("4"));
    parameters.reloadStored();
    QCOMPARE(parameters.value(14), QByteArray("4"));
}

QTEST_GUILESS_MAIN(TstFirmwareUpgrade)
#include "tst_firmwareupgrade.moc"
