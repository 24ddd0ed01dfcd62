// The data log file: the header's rows and title row, the UTF-16LE bytes with FF FE at the
// start of every flush, the fifth-tick flush, stopping, and a flush that fails (the lines
// kept and written once, when the file can be written again). The sample lines' contents
// are the acquisition test's.

#include "DatalogFixture.h"

#include "datalog/DataLog.h"
#include "link/NumberRules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

QByteArray utf16(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

const QByteArray Mark("\xFF\xFE", 2);

SensorHeaderFacts facts(int address, const char* name, bool mode)
{
    SensorHeaderFacts f;
    f.address = address;
    f.name = QString::fromLatin1(name);
    f.firmware = QStringLiteral("QX0089 v1.12");
    f.identity = QStringLiteral("AB12CD34");
    f.smoothTime = QStringLiteral("2.5");
    f.slewUp = QStringLiteral("None");
    f.slewDown = QStringLiteral("Heavy");
    f.hasMode = mode;
    f.mode = mode ? QStringLiteral("ModeA") : QString();
    return f;
}

LogHeaderSetup twoSensors()
{
    LogHeaderSetup setup;
    setup.sensors = {facts(3, "Mixer", true), facts(7, "Bin", false)};
    setup.ticked[0] = true;
    setup.ticked[3] = true;
    setup.readingNames = ReadingNames(PlainTexts(), false, false);
    setup.intervalSeconds = 2;
    setup.identification = QStringLiteral("QX0068 v1.80");
    setup.start = QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7));
    return setup;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestDataLog : public QObject {
    Q_OBJECT
private slots:
    void init() { SetDecimalComma(false); }
    void headerOfTwoSensorsWithReadingsZeroAndThree();
    void rawLogSaysPointZeroFour();
    void fileIsUtf16WithAMarkAtEveryFlush();
    void stoppingAfterTwoMinutesWritesTheBufferOnce();
    void failedFlushKeepsTheLinesUntilTheFileCanBeWritten();
    void missingFileGetsAFreshHeader();
    void headerFailures_data();
    void headerFailures();
    void smoothTime_data();
    void smoothTime();
    void normalGroupAndRawLine();
    void elapsedText();
};

void TestDataLog::headerOfTwoSensorsWithReadingsZeroAndThree()
{
    const QString expected = QStringLiteral(
        "#====================================================#\r\n"
        "       Dunmere: QX0068 v1.80\r\n"
        "#====================================================#\r\n"
        "Logging Start: 2026-03-04  09:05:07\r\n"
        "Logging Every 2 Seconds\r\n"
        "\r\n"
        "Address: \t3\t\t\t\tAddress: \t7\t\t\t\t\r\n"
        "Sensor: \tMixer\t\t\t\tSensor: \tBin\t\t\t\t\r\n"
        "Firmware: \tQX0089 v1.12\t\t\t\tFirmware: \tQX0089 v1.12\t\t\t\t\r\n"
        "ID: \tAB12CD34\t\t\t\tID: \tAB12CD34\t\t\t\t\r\n"
        "SmoothTime: \t2.5\t\t\t\tSmoothTime: \t2.5\t\t\t\t\r\n"
        "Slew +: \tNone\t\t\t\tSlew +: \tNone\t\t\t\t\r\n"
        "Slew -: \tHeavy\t\t\t\tSlew -: \tHeavy\t\t\t\t\r\n"
        "Unscaled MeasurementMode:\tModeA\t\t\t\t\t\t\t\t\t\r\n"
        "\t\t\t\t\t\t\t\t\t\t\r\n"
        "\r\n"
        "Time\tTime (Seconds)\tFiltered Unscaled\tFiltered Moisture %\t\tTime\tTime (Seconds)\tFiltered Unscaled\tFiltered Moisture %\t\t\r\n");
    QCOMPARE(LogHeaderText(twoSensors(), PlainTexts()), expected);
}

void TestDataLog::rawLogSaysPointZeroFour()
{
    LogHeaderSetup setup = twoSensors();
    setup.ticked = {};
    setup.ticked[RawReading1] = true;
    const QStringList lines = LogHeaderText(setup, PlainTexts()).split(QStringLiteral("\r\n"));
    QCOMPARE(lines[4], QStringLiteral("Logging Every 0.04 Seconds"));
    QCOMPARE(lines[16], QStringLiteral("Time\tTime (Seconds)\tRaw Unscaled\t\tTime\tTime (Seconds)\tRaw Unscaled\t\t"));
}

void TestDataLog::fileIsUtf16WithAMarkAtEveryFlush()
{
    QTemporaryDir dir;
    PlainTexts texts;
    DataLog log(texts, nullptr);
    log.setPath(dir.filePath(QStringLiteral("log.txt")));
    QCOMPARE(log.WriteLogHeader(twoSensors()), DataLog::HeaderOutcome::Written);
    QVERIFY(log.LogStartPending);
    QVERIFY(!log.LogStart);
    log.appendLine(QStringLiteral("10:00:00\t0.000\t1.5°"));
    QCOMPARE(log.flush(), DataLog::FlushOutcome::Written);
    QVERIFY(log.buffer().isEmpty());
    const QByteArray expected = Mark + utf16(LogHeaderText(twoSensors(), texts)) + Mark
        + QByteArray("1\x00" "0\x00:\x00" "0\x00" "0\x00:\x00" "0\x00" "0\x00\t\x00" "0\x00.\x00" "0\x00" "0\x00" "0\x00\t\x00"
                     "1\x00.\x00" "5\x00\xB0\x00\r\x00\n\x00",
                     42);
    QCOMPARE(readFile(log.path()), expected);
}

void TestDataLog::stoppingAfterTwoMinutesWritesTheBufferOnce()
{
    QTemporaryDir dir;
    PlainTexts texts;
    DataLog log(texts, nullptr);
    log.setPath(dir.filePath(QStringLiteral("log.txt")));
    QCOMPARE(log.WriteLogHeader(twoSensors()), DataLog::HeaderOutcome::Written);
    const qint64 headerSize = readFile(log.path()).size();
    QString lines;
    for (int minute = 0; minute < 2; ++minute) {
        for (int s = 0; s < 30; ++s) {
            const QString line = QStringLiteral("line %1").arg(minute * 30 + s);
            log.appendLine(line);
            lines += line + QStringLiteral("\r\n");
        }
        QCOMPARE(log.LogTimerTick(), DataLog::FlushOutcome::Nothing);
    }
    QCOMPARE(readFile(log.path()).size(), headerSize);
    QCOMPARE(log.CloseLogFile(), DataLog::FlushOutcome::Written);
    QVERIFY(!log.Logging && !log.active());
    QCOMPARE(readFile(log.path()).mid(headerSize), Mark + utf16(lines));
}

void TestDataLog::failedFlushKeepsTheLinesUntilTheFileCanBeWritten()
{
    QTemporaryDir dir;
    PlainTexts texts;
    DataLog log(texts, nullptr);
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    log.setPath(path);
    QCOMPARE(log.WriteLogHeader(twoSensors()), DataLog::HeaderOutcome::Written);
    log.appendLine(QStringLiteral("first"));
    for (int tick = 0; tick < 4; ++tick)
        QCOMPARE(log.LogTimerTick(), DataLog::FlushOutcome::Nothing);
    QCOMPARE(log.LogTimerTick(), DataLog::FlushOutcome::Written);

    // The file gives way to a folder of its name: nothing can be written there.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));
    log.appendLine(QStringLiteral("second"));
    QCOMPARE(log.flush(), DataLog::FlushOutcome::Failed);
    QVERIFY(log.failing());
    log.appendLine(QStringLiteral("third"));
    QCOMPARE(log.flush(), DataLog::FlushOutcome::FailedAgain);
    QCOMPARE(log.buffer(), QStringLiteral("second\r\nthird\r\n"));

    QVERIFY(QDir(path).removeRecursively());
    log.appendLine(QStringLiteral("fourth"));
    QCOMPARE(log.flush(), DataLog::FlushOutcome::Recovered);
    QVERIFY(!log.failing());
    QVERIFY(log.buffer().isEmpty());
    // A fresh header, then every kept line once.
    const QByteArray bytes = readFile(path);
    QVERIFY(bytes.startsWith(Mark + utf16(QString::fromLatin1(LogRuleLine))));
    QVERIFY(bytes.endsWith(Mark + utf16(QStringLiteral("second\r\nthird\r\nfourth\r\n"))));
    QCOMPARE(bytes.count(utf16(QStringLiteral("second"))), 1);
    QVERIFY(!bytes.contains(utf16(QStringLiteral("first"))));
    // Times count from zero again under the fresh header.
    QVERIFY(log.LogStartPending);
}

void TestDataLog::missingFileGetsAFreshHeader()
{
    QTemporaryDir dir;
    PlainTexts texts;
    DataLog log(texts, nullptr);
    log.setPath(dir.filePath(QStringLiteral("log.txt")));
    QCOMPARE(log.WriteLogHeader(twoSensors()), DataLog::HeaderOutcome::Written);
    log.Logging = true;
    log.LogStartPending = false;
    log.LogStart = 5;
    QVERIFY(QFile::remove(log.path()));
    log.appendLine(QStringLiteral("kept"));
    QCOMPARE(log.flush(), DataLog::FlushOutcome::Written);
    const QByteArray bytes = readFile(log.path());
    QCOMPARE(bytes.count(Mark), 2);
    QVERIFY(bytes.endsWith(Mark + utf16(QStringLiteral("kept\r\n"))));
    QVERIFY(!log.LogStart);
    QVERIFY(log.LogStartPending);
}

void TestDataLog::headerFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QString() << int(DataLog::HeaderOutcome::EmptyName) << "Invalid Name - Logging Stop";
    QTest::newRow("a folder") << QStringLiteral(".") << int(DataLog::HeaderOutcome::OpenFailed) << "File Error - Logging Stop";
    QTest::newRow("missing folder") << QStringLiteral("no/such/log.txt") << int(DataLog::HeaderOutcome::OpenFailed)
                                    << "File Error - Logging Stop";
}

void TestDataLog::headerFailures()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    PlainTexts texts;
    RecordingMessages messages;
    DataLog log(texts, &messages);
    log.setPath(name.isEmpty() ? dir.path() + QLatin1Char('/') : dir.filePath(name));
    QTEST(int(log.WriteLogHeader(twoSensors())), "outcome");
    QTEST(messages.shown.value(0), "message");
    QVERIFY(!log.active());
}

void TestDataLog::smoothTime_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("code 0") << "0" << "0";
    QTest::newRow("code 2") << "2" << "2.5";
    QTest::newRow("code 5") << "5" << "10.0";
    QTest::newRow("a number") << "42" << "42";
    QTest::newRow("99") << "99" << "99";
    QTest::newRow("100") << "100" << "0";
    QTest::newRow("negative") << "-3" << "0";
    QTest::newRow("no reply") << "-99" << "0";
    QTest::newRow("not a number") << "?" << "0";
}

void TestDataLog::smoothTime()
{
    QFETCH(QString, reply);
    QTEST(SmoothTimeText(reply), "shown");
}

void TestDataLog::normalGroupAndRawLine()
{
    std::array<QString, ReadingCount> values;
    for (int k = 0; k < ReadingCount; ++k)
        values[k] = QString::number(k);
    ReadingFlags ticked{};
    ticked[0] = ticked[3] = ticked[7] = true;
    QCOMPARE(NormalLogGroup(QStringLiteral("T"), QStringLiteral("S"), values, ticked), QStringLiteral("T\tS\t0\t3\t7\t\t"));

    ReadingFlags raw{};
    raw[RawReading2] = true;
    // The second of three sensors is sampled; the groups of the others stay empty.
    QCOMPARE(RawLogLine(QStringLiteral("T"), 0.08, std::nullopt, 12.5, raw, 1, 3),
             QStringLiteral("\t\t\t\tT\t0.08\t12.50\t\t\t\t\t\t"));
}

void TestDataLog::elapsedText()
{
    PlainTexts texts;
    DataLog log(texts, nullptr);
    QCOMPARE(log.ElapsedText(0), QStringLiteral("0 h 0 m 0 s "));
    QCOMPARE(log.ElapsedText(3 * 3600000 + 25 * 60000 + 9999), QStringLiteral("3 h 25 m 9 s "));
}

QTEST_GUILESS_MAIN(TestDataLog)
#include "tst_datalog.moc"
