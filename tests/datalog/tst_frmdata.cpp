// The data window driven as a user drives it, on the simulated bus and the virtual clock:
// the rate list by rows in use, the raw graph question answered No, the time labels and the
// graph, pausing, a log started and stopped with CmdLog and read back, the CSV export and
// closing back to the main window.

#include "DatalogFixture.h"

#include "datalog/ui/FrmData.h"
#include "datalog/ui/TrendView.h"
#include "link/NumberRules.h"
#include "sensor/SensorBus.h"
#include "sensor/SensorModel.h"
#include "shell/core/ExchangeGuard.h"
#include "sim/SensorListSpec.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct WindowFixture {
    explicit WindowFixture(const QString& sensors)
    {
        [[maybe_unused]] const bool added = sim::populate(bus, sim::parseSensorList(sensors).sensors);
        link.setTransport(&transport);
        link.setMessages(&messages);
        link.setTexts(&texts);
        SensorBus search(link, model, &messages, &texts);
        [[maybe_unused]] const auto outcome = search.SensorSearch();
        mainWindow.resize(300, 200);
        mainWindow.show();
        window = new FrmData(DataWindowContext{link, texts, messages, guard, model, false, false, QStringLiteral("QX0068 v1.80")});
        window->setSaveDialog([this](QWidget*, const QString& folder, const QString& name, const QString& filter) {
            dialogs << QStringList{folder, name, filter};
            return name.endsWith(QLatin1String(".csv")) ? dir.filePath(QStringLiteral("trend.csv")) : logPath;
        });
        QObject::connect(window, &FrmData::exited, [this] {
            ++exits;
            mainWindow.show();
        });
        window->open(&mainWindow);
    }
    ~WindowFixture() { delete window.data(); }

    template <class W>
    W* find(const QString& name) const
    {
        return window->findChild<W*>(name);
    }
    void pass(qint64 ms) { clock.clock.advance(ms); }
    // The list entry chosen as a user does.
    static void choose(QComboBox* list, int index)
    {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    VirtualClockScope clock;
    QTemporaryDir dir;
    QString logPath = dir.filePath(QStringLiteral("run.txt"));
    sim::SimBus bus;
    sim::SimTransport transport{bus, Transport::Kind::Serial};
    Link link;
    PlainTexts texts;
    RecordingMessages messages;
    ExchangeGuard guard{link};
    SensorModel model;
    QWidget mainWindow;
    QPointer<FrmData> window;
    int exits = 0;
    QList<QStringList> dialogs;  // start folder, proposed name, filter
};

QStringList items(QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

}  // namespace

class TestFrmData : public QObject {
    Q_OBJECT
private slots:
    // The log dialog starts in the documents folder's Dunmere folder: this test's own.
    void initTestCase() { QVERIFY(home_.isValid() && qputenv("HOME", home_.path().toLocal8Bit())); }
    void init() { SetDecimalComma(false); }
    void rateListByRowsInUse_data();
    void rateListByRowsInUse();
    void openingShowsTheRowsAndHidesTheMainWindow();
    void rawGraphAnsweredNoKeepsTheStores();
    void rawGraphAnsweredYesTrendsRawSamples();
    void timeLabelsBeforeTheWindowIsFull();
    void pausedGraphKeepsItsPicture();
    void logStartedAndStoppedHasHeaderAndLinesForEveryRow();
    void failedFlushIsToldOnceAndLosesNothing();
    void exportCsvWritesTheTrend();
    void closingRestoresTheMainWindow();

private:
    QTemporaryDir home_;
};

void TestFrmData::rateListByRowsInUse_data()
{
    QTest::addColumn<QString>("sensors");
    QTest::addColumn<QStringList>("rates");
    QTest::newRow("one") << "1:89" << QStringList{"1", "2", "3", "5", "10", "60"};
    QTest::newRow("three") << "1:89,2:77,5:45" << QStringList{"2", "3", "5", "10", "60"};
    QTest::newRow("four") << "1:89,2:77,3:45,4:45" << QStringList{"3", "5", "10", "60"};
    QTest::newRow("five") << "1:89,2:77,3:45,4:45,6:45" << QStringList{"5", "10", "60"};
}

void TestFrmData::rateListByRowsInUse()
{
    QFETCH(QString, sensors);
    QFETCH(QStringList, rates);
    WindowFixture f(sensors);
    QStringList expected;
    for (const QString& r : rates)
        expected << QStringLiteral("Every %1 Seconds").arg(r);
    QCOMPARE(items(f.find<QComboBox>(QStringLiteral("ListLogRate"))), expected);
    QCOMPARE(f.window->acquisition().IntervalSeconds, rates.first().toInt());
}

void TestFrmData::openingShowsTheRowsAndHidesTheMainWindow()
{
    WindowFixture f(QStringLiteral("1:89:AAAA0001:Mixer,4:45"));
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.mainWindow.isVisible());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Trend Graph & Logging"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblSensor_0"))->text(), QStringLiteral("1  Mixer"));
    QVERIFY(f.find<QLabel>(QStringLiteral("LblSensor_1"))->isVisible());
    QVERIFY(!f.find<QLabel>(QStringLiteral("LblSensor_2"))->isVisible());
    // Brix and the second raw channel are not offered here.
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_8"))->isVisible());
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_10"))->isVisible());
    QCOMPARE(f.find<QComboBox>(QStringLiteral("ListGraph"))->count(), 9);
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_9"))->isEnabled());
    f.pass(1500);
    QVERIFY(f.find<QLabel>(QStringLiteral("LblSensorValue_0"))->isVisible());
    QVERIFY(!f.find<QLabel>(QStringLiteral("LblSensorValue_0"))->text().isEmpty());
}

void TestFrmData::rawGraphAnsweredNoKeepsTheStores()
{
    WindowFixture f(QStringLiteral("1:89,2:77"));
    f.pass(3500);
    const int position = f.window->acquisition().trend().writePosition();
    QVERIFY(position >= 3);
    const QString cell = f.window->acquisition().trend().cell(0, 0, 1);
    auto* graph = f.find<QComboBox>(QStringLiteral("ListGraph"));
    auto* rate = f.find<QComboBox>(QStringLiteral("ListLogRate"));
    WindowFixture::choose(graph, 3);
    f.messages.answer = false;
    WindowFixture::choose(graph, 8);  // Raw Unscaled
    QCOMPARE(f.messages.shown.last(), QStringLiteral("ClearTrend"));
    QCOMPARE(f.messages.lastButtons, MessageButtons::YesNo);
    QCOMPARE(graph->currentIndex(), 3);
    QVERIFY(rate->isEnabled());
    f.pass(10);
    QVERIFY(!f.window->acquisition().rawMode());
    QCOMPARE(f.window->acquisition().trend().cell(0, 0, 1), cell);
    QVERIFY(f.window->acquisition().trend().writePosition() >= position);
    QCOMPARE(f.window->acquisition().graphedReading, 3);
}

void TestFrmData::rawGraphAnsweredYesTrendsRawSamples()
{
    WindowFixture f(QStringLiteral("1:89,2:77"));
    f.pass(1500);
    WindowFixture::choose(f.find<QComboBox>(QStringLiteral("ListGraph")), 8);
    QVERIFY(f.window->acquisition().rawMode());
    QVERIFY(!f.find<QComboBox>(QStringLiteral("ListLogRate"))->isEnabled());
    QVERIFY(f.find<QCheckBox>(QStringLiteral("CheckReading_9"))->isChecked());
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_0"))->isChecked());
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_3"))->isEnabled());
    f.pass(3000);
    QVERIFY(f.window->acquisition().RawLatest(1));
    QVERIFY(!f.find<QLabel>(QStringLiteral("LblSensor_1"))->isVisible());
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblTime2"))->text().toInt() - f.find<QLabel>(QStringLiteral("LblTime1"))->text().toInt(), 20);
    // Back to a normal reading: the rate list returns, reading 0 is ticked again.
    WindowFixture::choose(f.find<QComboBox>(QStringLiteral("ListGraph")), 0);
    QVERIFY(f.find<QComboBox>(QStringLiteral("ListLogRate"))->isEnabled());
    QVERIFY(f.find<QCheckBox>(QStringLiteral("CheckReading_0"))->isChecked());
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_9"))->isChecked());
}

void TestFrmData::timeLabelsBeforeTheWindowIsFull()
{
    WindowFixture f(QStringLiteral("1:89"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblTime1"))->text(), QStringLiteral("0"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblTime2"))->text(), QStringLiteral("100"));
    f.pass(30000);
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblTime1"))->text(), QStringLiteral("0"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblTime2"))->text(), QStringLiteral("100"));
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblInterval"))->text(), QStringLiteral("10"));
    f.pass(90000);
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblTime2"))->text().toInt() - f.find<QLabel>(QStringLiteral("LblTime1"))->text().toInt(), 100);
    QVERIFY(f.find<QLabel>(QStringLiteral("LblTime1"))->text().toInt() > 0);
}

void TestFrmData::pausedGraphKeepsItsPicture()
{
    WindowFixture f(QStringLiteral("1:89"));
    f.pass(5500);
    auto* pause = f.find<QPushButton>(QStringLiteral("CmdPause"));
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(f.window->paused());
    const auto curve = f.window->picture().curves.value(0).second;
    QVERIFY(!curve.isEmpty());
    f.pass(5000);
    QCOMPARE(f.window->picture().curves.value(0).second, curve);
    // Acquisition went on meanwhile.
    QVERIFY(f.window->acquisition().trend().writePosition() >= 10);
    auto* view = f.find<TrendView>(QStringLiteral("TrendBox"));
    QTest::mouseMove(view, QPoint(view->width() / 2, view->height() / 2));
    QTRY_VERIFY(!f.find<QLabel>(QStringLiteral("LblPointer"))->text().isEmpty());
    QVERIFY(f.find<QLabel>(QStringLiteral("LblPointer"))->text().contains(QLatin1String("50 Seconds")));
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(f.window->picture().curves.value(0).second != curve);
}

void TestFrmData::logStartedAndStoppedHasHeaderAndLinesForEveryRow()
{
    WindowFixture f(QStringLiteral("1:89:AAAA0001:Mixer,2:77:BBBB0002:Belt"));
    f.pass(1500);
    QTest::mouseClick(f.find<QCheckBox>(QStringLiteral("CheckReading_7")), Qt::LeftButton);
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("CmdLog")), Qt::LeftButton);
    QCOMPARE(f.find<QPushButton>(QStringLiteral("CmdLog"))->text(), QStringLiteral("Stop"));
    QCOMPARE(f.dialogs.value(0).value(1), QStringLiteral("Dunmere-Log"));
    QCOMPARE(f.dialogs.value(0).value(2), QStringLiteral("(*.txt)"));
    QVERIFY(f.dialogs.value(0).value(0).endsWith(QLatin1String("/Dunmere")));
    QVERIFY(QFileInfo(f.dialogs.value(0).value(0)).isDir());
    QCOMPARE(f.find<QLabel>(QStringLiteral("LblLog"))->text(), QStringLiteral("Logging Time:"));
    QVERIFY(!f.find<QComboBox>(QStringLiteral("ListGraph"))->isEnabled());
    QVERIFY(!f.find<QCheckBox>(QStringLiteral("CheckReading_3"))->isEnabled());
    f.pass(120000);
    QVERIFY(f.find<QLabel>(QStringLiteral("LblLogTime"))->text().startsWith(QLatin1String("0 h 1 m")));
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("CmdLog")), Qt::LeftButton);
    QCOMPARE(f.find<QPushButton>(QStringLiteral("CmdLog"))->text(), QStringLiteral("Start"));
    QVERIFY(f.find<QLabel>(QStringLiteral("LblLogTime"))->text().isEmpty());
    QVERIFY(f.find<QComboBox>(QStringLiteral("ListGraph"))->isEnabled());

    QFile file(f.logPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count(QByteArray("\xFF\xFE", 2)), 2);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(ushort(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    text.remove(QChar(0xFEFF));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines[6], QStringLiteral("Address: \t1\t\t\t\tAddress: \t2\t\t\t\t"));
    QCOMPARE(lines[7], QStringLiteral("Sensor: \tMixer\t\t\t\tSensor: \tBelt\t\t\t\t"));
    QCOMPARE(lines[16], QStringLiteral("Time\tTime (Seconds)\tFiltered Unscaled\tMaterial Temperature °C\t\t"
                                       "Time\tTime (Seconds)\tFiltered Unscaled\tMaterial Temperature °C\t\t"));
    const QStringList samples = lines.mid(17, lines.size() - 18);
    QVERIFY2(samples.size() >= 119 && samples.size() <= 121, qPrintable(QString::number(samples.size())));
    for (const QString& line : samples)
        QCOMPARE(line.split(u'\t').size(), 11);
    QCOMPARE(samples.first().split(u'\t').at(1), QStringLiteral("0.000"));
}

void TestFrmData::failedFlushIsToldOnceAndLosesNothing()
{
    WindowFixture f(QStringLiteral("1:89"));
    f.pass(1500);
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("CmdLog")), Qt::LeftButton);
    // A folder takes the log's name: the five-minute flush cannot write.
    QVERIFY(QFile::remove(f.logPath));
    QVERIFY(QDir().mkpath(f.logPath));
    f.pass(5 * 60000 + 500);
    auto* lblLog = f.find<QLabel>(QStringLiteral("LblLog"));
    QCOMPARE(lblLog->text(), QStringLiteral("File Error - Logging"));
    QVERIFY(f.messages.shown.isEmpty());
    const int kept = int(f.window->log().buffer().count(QStringLiteral("\r\n")));
    QVERIFY(kept >= 300);
    QVERIFY(QDir(f.logPath).removeRecursively());
    f.pass(5 * 60000);
    QCOMPARE(lblLog->text(), QStringLiteral("File Written - Logging Time:"));
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("CmdLog")), Qt::LeftButton);
    QFile file(f.logPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // A fresh header, then every line since the failure: about one a second for ten minutes.
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(ushort(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    const QStringList lines = text.remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QVERIFY(lines.first().startsWith(QLatin1String("#====")));
    const qsizetype samples = lines.size() - 15;
    QVERIFY2(samples >= 599 && samples <= 602, qPrintable(QString::number(samples)));
}

void TestFrmData::exportCsvWritesTheTrend()
{
    WindowFixture f(QStringLiteral("3:89:AAAA0003:Mixer"));
    f.pass(4500);
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("CmdExportCsv")), Qt::LeftButton);
    QFile file(f.dir.filePath(QStringLiteral("trend.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QVERIFY(lines[0].contains(QLatin1String("3 Mixer - Filtered Unscaled")));
    QCOMPARE(lines.size(), 1 + f.window->acquisition().trend().writePosition());
    QCOMPARE(lines[1].split(u',').size(), 1 + 8);
}

void TestFrmData::closingRestoresTheMainWindow()
{
    WindowFixture f(QStringLiteral("1:89"));
    f.pass(1500);
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("CmdLog")), Qt::LeftButton);
    f.pass(2000);
    f.window->close();
    QVERIFY(!f.window->isVisible());
    f.pass(50);
    QCOMPARE(f.exits, 1);
    QVERIFY(f.mainWindow.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(f.window.isNull());
    // Closing stopped the log with a final flush.
    QFile file(f.logPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count(QByteArray("\xFF\xFE", 2)), 2);
}

QTEST_MAIN(TestFrmData)
#include "tst_frmdata.moc"
