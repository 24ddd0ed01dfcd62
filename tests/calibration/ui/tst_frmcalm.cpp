// The moisture calibration window as a user drives it, on the virtual clock: offline on a new
// store (the first calibration, points typed in, the fit and its residuals once a second, the
// record saved, refused entries, duplicates, paging, deleting down to the first-calibration
// state), and with a scripted sensor (live values, the calibration read, remote averaging and
// the sensor list, averaging by the digital input, the write with its read-back check, a write
// refused for a missing value, the calibration lock, and a close deferred to the next tick).
// Not covered: the graph's pixels (its geometry is tested in the core) and the report dialog.

#include "CalibrationFixture.h"
#include "PagesFixture.h"
#include "calibration/MoistureGraph.h"
#include "calibration/ui/FrmCalM.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct Bench {
    explicit Bench(bool withSensor, bool lock = false)
    {
        link.setTransport(&sensor.transport);
        link.setMessages(&messages);
        link.setTexts(&texts);
        sensor.parameters = {{2, "0.2"}, {3, "-3"}, {4, "0"}, {9, "0"}, {64, "41.5"}, {65, "40.25"}, {69, "0000000"}};
        FrmCalM::Setup setup;
        if (withSensor)
            setup.sensors = {{QStringLiteral("Mixer"), 1}, {QStringLiteral("Bin"), 1}};
        setup.noSensor = !withSensor;
        setup.calibrationLock = lock;
        setup.storePath = dir.filePath(QStringLiteral("calibdb.mdb"));
        setup.programText = QStringLiteral("QX0068 v1.80");
        window = std::make_unique<FrmCalM>(link, texts, messages, setup);
    }

    template <class T>
    T* get(const QString& name) const
    {
        T* w = window->findChild<T*>(name);
        if (!w)
            qWarning("no widget %s", qPrintable(name));
        return w;
    }
    QLineEdit* box(const char* name, int row) const { return get<QLineEdit>(QString::fromLatin1(name) + u'_' + QString::number(row)); }
    QCheckBox* tick(int row) const { return get<QCheckBox>(QStringLiteral("CalCheck_") + QString::number(row)); }
    QString label(const char* name) const { return get<QLabel>(QString::fromLatin1(name))->text(); }
    void click(const char* name) const { QTest::mouseClick(get<QPushButton>(QString::fromLatin1(name)), Qt::LeftButton); }

    void typePoint(int row, const QString& unscaled, const QString& lab)
    {
        box("TextCalUS", row)->setFocus();
        QTest::keyClicks(box("TextCalUS", row), unscaled);
        QTest::keyClicks(box("TextCalM", row), lab);
        QTest::mouseClick(tick(row), Qt::LeftButton, {}, QPoint(4, tick(row)->height() / 2));
    }
    void createCalibration(const QString& name)
    {
        QTest::keyClicks(get<QLineEdit>(QStringLiteral("TextNew")), name);
        click("CmdNewOK");
    }
    void tickOnce() { clock.clock.advance(1000); }

    VirtualClockScope clock;
    QTemporaryDir dir;
    FakeSensor sensor;
    Link link;
    KeyTexts texts;
    RecordingMessages messages;
    std::unique_ptr<FrmCalM> window;
};

}  // namespace

class TestFrmCalM : public QObject {
    Q_OBJECT

private slots:
    void offlineFirstCalibrationFitsTypedPoints();
    void refusedEntriesDuplicatesPagingAndDelete();
    void sensorValuesAndCalibrationArePolled();
    void averagingStartsAndStopsAtTheNextTick();
    void digitalAveragingFollowsTheStatusWord_data();
    void digitalAveragingFollowsTheStatusWord();
    void writeSendsTheFitAndChecksTheReadBack_data();
    void writeSendsTheFitAndChecksTheReadBack();
    void writeWithAnInvalidSsdSendsNothing();
    void calibrationLockKeepsFilledRowsReadOnly();
    void closeIsServedByTheNextTick();
    void storeThatIsNotAStoreKeepsTheWindowShut();
};

void TestFrmCalM::offlineFirstCalibrationFitsTypedPoints()
{
    Bench b(false);
    QVERIFY(b.window->open());
    QVERIFY(QTest::qWaitForWindowExposed(b.window.get()));
    // The first-calibration state.
    QVERIFY(b.get<QGroupBox>("FrameNew")->isVisible());
    QVERIFY(!b.get<QPushButton>("CmdNewCancel")->isEnabled());
    QVERIFY(!b.get<QGroupBox>("FrameSensor")->isEnabled());
    QVERIFY(!b.get<QPushButton>("CmdWrite")->isEnabled());
    QVERIFY(!b.get<QGroupBox>("FrameCal_0")->isVisible());

    b.createCalibration(QStringLiteral("Sand"));
    QCOMPARE(b.get<QComboBox>("ListCal")->count(), 1);
    QCOMPARE(b.get<QComboBox>("ListCal")->currentText(), QStringLiteral("Sand"));
    QVERIFY(!b.get<QGroupBox>("FrameNew")->isVisible());
    QVERIFY(b.get<QGroupBox>("FrameCal_0")->isVisible());
    QVERIFY(b.get<QCheckBox>("CheckRules")->isChecked());

    b.typePoint(0, QStringLiteral("40"), QStringLiteral("5"));
    QVERIFY(b.tick(0)->isChecked());
    b.tickOnce();
    QCOMPARE(b.label("LblCalB"), QStringLiteral("0.2186"));
    QCOMPARE(b.label("LblCalC"), QStringLiteral("-3.744"));
    QCOMPARE(b.label("LblMatStatus"), QStringLiteral("LangWarningAvg"));
    QCOMPARE(b.label("LblResidual_0"), QStringLiteral("0.00"));
    QVERIFY(!b.get<QPushButton>("CmdWrite")->isEnabled());  // no sensor: never
    QVERIFY(b.sensor.received.isEmpty());

    // The record holds what the window shows.
    const auto stored = b.window->store().record(QStringLiteral("Sand"));
    QVERIFY(stored);
    QCOMPARE(stored->bValue, QStringLiteral("0.2186"));
    QCOMPARE(stored->rows[0], (CalibrationRow{true, QString(), QStringLiteral("40"), QStringLiteral("5")}));

    // Rules off: one point gives no line.
    QTest::mouseClick(b.get<QCheckBox>("CheckRules"), Qt::LeftButton, {}, QPoint(4, 8));
    QVERIFY(!b.get<QLabel>("LblDefCal")->isVisible());
    b.tickOnce();
    QCOMPARE(b.label("LblCalB"), QString());
    QCOMPARE(b.label("LblMatStatus"), QString());
}

void TestFrmCalM::refusedEntriesDuplicatesPagingAndDelete()
{
    Bench b(false);
    QVERIFY(b.window->open());
    b.createCalibration(QStringLiteral("Sand"));
    b.typePoint(0, QStringLiteral("101"), QStringLiteral("5"));
    b.typePoint(1, QStringLiteral("100"), QStringLiteral("7"));
    b.tickOnce();
    QVERIFY(!b.tick(0)->isChecked());
    QCOMPARE(b.box("TextCalUS", 0)->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(b.box("TextCalUS", 0)->toolTip(), QStringLiteral("LangInvalid"));
    QVERIFY(b.tick(1)->isChecked());

    // A name that differs only in case is the same name.
    b.click("CmdNew");
    QVERIFY(b.get<QPushButton>("CmdNewCancel")->isEnabled());
    b.createCalibration(QStringLiteral("SAND"));
    QCOMPARE(b.messages.shown.last(), QStringLiteral("LangCalGotID - SAND"));
    QCOMPARE(b.get<QComboBox>("ListCal")->count(), 1);
    b.click("CmdNewCancel");

    b.click("CmdNP");
    QVERIFY(b.get<QGroupBox>("FrameCal_1")->isVisible());
    QVERIFY(!b.get<QGroupBox>("FrameCal_0")->isVisible());
    QCOMPARE(b.get<QPushButton>("CmdNP")->text(), QStringLiteral("<<"));
    b.click("CmdNP");
    QVERIFY(b.get<QGroupBox>("FrameCal_0")->isVisible());

    b.messages.answer = false;
    b.click("CmdDeleteCal");
    QCOMPARE(b.messages.shown.last(), QStringLiteral("LangDelete LangCalibration?"));
    QCOMPARE(b.get<QComboBox>("ListCal")->count(), 1);
    b.messages.answer = true;
    b.click("CmdDeleteCal");
    QCOMPARE(b.get<QComboBox>("ListCal")->count(), 0);
    QVERIFY(b.get<QGroupBox>("FrameNew")->isVisible());
    QVERIFY(!b.get<QPushButton>("CmdNewCancel")->isEnabled());
    QVERIFY(!b.get<QPushButton>("CmdDeleteCal")->isEnabled());
}

void TestFrmCalM::sensorValuesAndCalibrationArePolled()
{
    Bench b(true);
    QVERIFY(b.window->open());
    QVERIFY(b.get<QGroupBox>("FrameSensor")->isEnabled());
    QCOMPARE(b.label("LblAddress"), QStringLiteral("1"));
    QVERIFY(b.sensor.wasRead(9));
    b.createCalibration(QStringLiteral("Sand"));
    b.tickOnce();
    QCOMPARE(b.get<QLineEdit>("TextFiltUS")->text(), QStringLiteral("41.50"));
    QCOMPARE(b.get<QLineEdit>("TextAvgUS")->text(), QStringLiteral("40.25"));
    QCOMPARE(b.label("LblCurrentB"), QStringLiteral("0.20"));
    QCOMPARE(b.label("LblCurrentC"), QStringLiteral("-3.00"));
    // The calibration is read once, not every second.
    b.sensor.received.clear();
    b.tickOnce();
    QVERIFY(b.sensor.wasRead(64));
    QVERIFY(!b.sensor.wasRead(2));
    // A silent sensor leaves empty texts and the polling goes on.
    b.sensor.silent = true;
    b.clock.clock.advance(1000 + 3 * 2 * 1500);
    QCOMPARE(b.get<QLineEdit>("TextFiltUS")->text(), QString());
    QVERIFY(b.window->updateTimer().isActive());
}

void TestFrmCalM::averagingStartsAndStopsAtTheNextTick()
{
    Bench b(true);
    QVERIFY(b.window->open());
    b.createCalibration(QStringLiteral("Sand"));
    auto* list = b.get<QComboBox>("ListSensor");
    QVERIFY(b.get<QPushButton>("CmdAvg")->isVisible());
    b.click("CmdAvg");
    QCOMPARE(b.get<QPushButton>("CmdAvg")->text(), QStringLiteral("LangStop LangRemoteAvg"));
    QVERIFY(!list->isEnabled());
    QVERIFY(!b.sensor.received.contains(QStringLiteral("A3")));
    b.tickOnce();
    QVERIFY(b.sensor.received.contains(QStringLiteral("A3")));
    QCOMPARE(b.label("LblAvgHold"), QStringLiteral("LangAveraging"));
    QVERIFY(!list->isEnabled());
    b.tickOnce();
    QVERIFY(!list->isEnabled());
    b.click("CmdAvg");
    b.tickOnce();
    QVERIFY(b.sensor.received.contains(QStringLiteral("A2")));
    QCOMPARE(b.label("LblAvgHold"), QStringLiteral("LangHold"));
    QVERIFY(list->isEnabled());
}

void TestFrmCalM::digitalAveragingFollowsTheStatusWord_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shown");
    QTest::newRow("single digit 1, padded: hold") << "1" << "LangHold";
    QTest::newRow("7th digit 1: averaging") << "0000001" << "LangAvg";
    QTest::newRow("no reply: hold") << "?" << "LangHold";
}

void TestFrmCalM::digitalAveragingFollowsTheStatusWord()
{
    QFETCH(QString, status);
    QFETCH(QString, shown);
    Bench b(true);
    b.sensor.parameters[9] = QStringLiteral("2");
    b.sensor.parameters[69] = status;
    QVERIFY(b.window->open());
    QVERIFY(!b.get<QPushButton>("CmdAvg")->isVisible());
    b.createCalibration(QStringLiteral("Sand"));
    b.tickOnce();
    QCOMPARE(b.label("LblAvgHold"), shown);
}

void TestFrmCalM::writeSendsTheFitAndChecksTheReadBack_data()
{
    QTest::addColumn<QString>("ssd");
    QTest::addColumn<QString>("readBackB");  // empty: the sensor's own (what was written)
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("message");
    QTest::newRow("no SSD: no W4") << "" << "" << QStringList{"W1 0.0000", "W2 0.2186", "W3 -3.744", "A1"}
                                   << "LangSensor LangConfiguration LangWritten";
    QTest::newRow("with SSD") << "1.5" << "" << QStringList{"W1 0.0000", "W2 0.2186", "W3 -3.744", "W4 1.50", "A1"}
                              << "LangSensor LangConfiguration LangWritten";
    QTest::newRow("read-back differs") << "" << "0.2" << QStringList{"W1 0.0000", "W2 0.2186", "W3 -3.744", "A1"} << "LangCommsError";
    QTest::newRow("read-back missing") << "" << "?" << QStringList{"W1 0.0000", "W2 0.2186", "W3 -3.744", "A1"} << "LangCommsError";
}

void TestFrmCalM::writeSendsTheFitAndChecksTheReadBack()
{
    QFETCH(QString, ssd);
    QFETCH(QString, readBackB);
    QFETCH(QStringList, sent);
    QFETCH(QString, message);
    Bench b(true);
    QVERIFY(b.window->open());
    b.createCalibration(QStringLiteral("Sand"));
    b.typePoint(0, QStringLiteral("40"), QStringLiteral("5"));
    QTest::keyClicks(b.get<QLineEdit>("TextCurrentSSD"), ssd);
    b.tickOnce();
    QVERIFY(b.get<QPushButton>("CmdWrite")->isEnabled());
    if (!readBackB.isEmpty())
        b.sensor.replies[QStringLiteral("R2")] = {readBackB};
    b.sensor.received.clear();
    b.click("CmdWrite");
    QCOMPARE(b.messages.shown.last(), QStringLiteral("LangWrite LangSensor Mixer?"));
    QVERIFY(!b.get<QPushButton>("CmdWrite")->isEnabled());
    QVERIFY(b.sensor.writesAndActions().isEmpty());  // the next tick writes
    b.tickOnce();
    QCOMPARE(b.sensor.writesAndActions(), sent);
    QCOMPARE(b.messages.shown.last(), message);
    QVERIFY(b.get<QPushButton>("CmdWrite")->isEnabled());
}

void TestFrmCalM::writeWithAnInvalidSsdSendsNothing()
{
    Bench b(true);
    QVERIFY(b.window->open());
    b.createCalibration(QStringLiteral("Sand"));
    b.typePoint(0, QStringLiteral("40"), QStringLiteral("5"));
    QTest::keyClicks(b.get<QLineEdit>("TextCurrentSSD"), QStringLiteral("abc"));
    b.tickOnce();
    b.sensor.received.clear();
    b.click("CmdWrite");
    b.tickOnce();
    QVERIFY(b.sensor.writesAndActions().isEmpty());
    QCOMPARE(b.messages.shown.last(), QStringLiteral("LangInvalid SSD Value"));
}

void TestFrmCalM::calibrationLockKeepsFilledRowsReadOnly()
{
    {
        Bench first(false);
        QVERIFY(first.window->open());
        first.createCalibration(QStringLiteral("Sand"));
        for (int row = 0; row < 5; ++row)
            first.typePoint(row, QString::number(30 + row), QStringLiteral("5"));
        first.tickOnce();
        first.window->close();
        first.tickOnce();
        // The store of this bench goes with it; keep a copy for the second.
        QVERIFY(QFile::copy(first.dir.filePath("calibdb.mdb"), QDir::temp().filePath("tst_frmcalm_lock.mdb")));
    }
    Bench b(false, true);
    QVERIFY(QFile::rename(QDir::temp().filePath("tst_frmcalm_lock.mdb"), b.dir.filePath("calibdb.mdb")));
    QVERIFY(b.window->open());
    for (int row = 0; row < 5; ++row)
        QVERIFY(!b.box("TextCalUS", row)->isEnabled());
    QVERIFY(b.box("TextCalUS", 5)->isEnabled());
    QVERIFY(b.box("TextCalM", 19)->isEnabled());
}

void TestFrmCalM::closeIsServedByTheNextTick()
{
    Bench b(true);
    QVERIFY(b.window->open());
    b.createCalibration(QStringLiteral("Sand"));
    QSignalSpy hidden(b.window.get(), &FrmCalM::hiddenForClose);
    QSignalSpy left(b.window.get(), &FrmCalM::left);
    b.typePoint(0, QStringLiteral("40"), QStringLiteral("5"));
    b.tickOnce();
    b.click("CmdWrite");
    b.window->close();
    QCOMPARE(hidden.count(), 1);
    QCOMPARE(left.count(), 0);
    QVERIFY(!b.window->isVisible());
    b.tickOnce();
    // The write asked for before the close ran in that tick, then the window left.
    QVERIFY(b.sensor.received.contains(QStringLiteral("A1")));
    QCOMPARE(left.count(), 1);
    QCOMPARE(left.first().first().toBool(), true);
    QVERIFY(!b.window->updateTimer().isActive());
    b.sensor.received.clear();
    b.clock.clock.advance(5000);
    QVERIFY(b.sensor.received.isEmpty());
}

void TestFrmCalM::storeThatIsNotAStoreKeepsTheWindowShut()
{
    Bench b(false);
    QFile f(b.dir.filePath("calibdb.mdb"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a database at all, but somebody's file");
    f.close();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is not a calibration store")));
    QVERIFY(!b.window->open());
    QCOMPARE(b.messages.shown, QStringList{"LangCalib"});
    QVERIFY(!b.window->isVisible());
}

QTEST_MAIN(TestFrmCalM)
#include "tst_frmcalm.moc"
