// The moisture calibration window opened from the real main window on the simulated bus:
// CmdCalibrate raises the request that the next tick serves (the main window hides and its
// timer stops), a calibration is made from typed points and written, and after the window
// has left the Configuration page shows the coefficients read back from the sensor. In
// demonstration mode the button opens the window at once, offline. The window's own
// behaviour is tested in tests/calibration/ui. In the Brix edition the button stays disabled.

#include "MainWindowFixture.h"
#include "calibration/ui/FrmCalM.h"
#include "pagoline/core/Pagoline.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

template <class W>
W* in(QWidget* window, const QString& name)
{
    return window->findChild<W*>(name);
}

void typePoint(FrmCalM* w, int row, const QString& unscaled, const QString& lab)
{
    const QString n = QString::number(row);
    QTest::keyClicks(in<QLineEdit>(w, "TextCalUS_" + n), unscaled);
    QTest::keyClicks(in<QLineEdit>(w, "TextCalM_" + n), lab);
    auto* tick = in<QCheckBox>(w, "CalCheck_" + n);
    QTest::mouseClick(tick, Qt::LeftButton, {}, QPoint(4, tick->height() / 2));
}

}  // namespace

class TestCalibrationWindow : public QObject {
    Q_OBJECT
private slots:
    void calibrateFromTheConfigurationPage();
    void demonstrationModeOpensAtOnce();
    void brixEditionKeepsTheButtonDisabled();
};

void TestCalibrationWindow::calibrateFromTheConfigurationPage()
{
    MainWindowFixture f("NumLangs=1\r\nLanguage=0\r\n", QStringLiteral("1:89"));
    f.main.load();
    QVERIFY(!f.main.noSensorFound());
    f.main.mainTab().setTab(1);
    auto* calibrate = f.find<QPushButton>("CmdCalibrate");
    QVERIFY(f.clock.clock.runUntil([&] { return calibrate->isEnabled() && calibrate->isVisible(); }, 10000));
    QTest::mouseClick(calibrate, Qt::LeftButton);
    QVERIFY(f.clock.clock.runUntil([&] { return f.main.calibrationWindow() != nullptr; }, 2000));
    FrmCalM* w = f.main.calibrationWindow();
    QVERIFY(w->isVisible());
    QVERIFY(!f.main.isVisible());
    QVERIFY(!f.main.taskTimer().isActive());

    QTest::keyClicks(in<QLineEdit>(w, "TextNew"), QStringLiteral("Sand"));
    QTest::mouseClick(in<QPushButton>(w, "CmdNewOK"), Qt::LeftButton);
    typePoint(w, 0, "38", "5.2");
    typePoint(w, 1, "52", "9.1");
    typePoint(w, 2, "45", "7.9");
    f.clock.clock.advance(1000);
    QCOMPARE(in<QLabel>(w, "LblCalB")->text(), QStringLiteral("0.2786"));
    QCOMPARE(in<QLabel>(w, "LblCalC")->text(), QStringLiteral("-5.1357"));
    QTest::mouseClick(in<QPushButton>(w, "CmdWrite"), Qt::LeftButton);
    f.clock.clock.advance(1000);
    QCOMPARE(in<QLabel>(w, "LblCurrentB")->text(), QStringLiteral("0.2786"));
    QVERIFY(!f.main.taskTimer().isActive());

    w->close();
    QVERIFY(f.main.isVisible());
    QVERIFY(f.clock.clock.runUntil([&] { return f.main.calibrationWindow() == nullptr; }, 2000));
    QVERIFY(f.main.taskTimer().isActive());
    // The Configuration page is filled again and shows what the sensor now holds.
    QVERIFY(f.clock.clock.runUntil([&] { return f.find<QLineEdit>("TextMB")->text() == QStringLiteral("0.2786"); }, 10000));
    QCOMPARE(f.find<QLineEdit>("TextMC")->text(), QStringLiteral("-5.1357"));
}

void TestCalibrationWindow::demonstrationModeOpensAtOnce()
{
    MainWindowFixture f("NumLangs=1\r\nLanguage=0\r\n", QStringLiteral(""));
    f.main.load();
    QVERIFY(f.main.noSensorFound());
    f.main.mainTab().setTab(1);
    auto* calibrate = f.find<QPushButton>("CmdCalibrate");
    QVERIFY(calibrate->isEnabled());
    QTest::mouseClick(calibrate, Qt::LeftButton);
    FrmCalM* w = f.main.calibrationWindow();
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QVERIFY(!in<QPushButton>(w, "CmdWrite")->isEnabled());
    QVERIFY(!in<QWidget>(w, "FrameSensor")->isEnabled());
    w->close();
    f.clock.clock.advance(1000);
    QVERIFY(!f.main.calibrationWindow());
    QVERIFY(f.main.isVisible());
    QVERIFY(!f.main.taskTimer().isActive());
}

void TestCalibrationWindow::brixEditionKeepsTheButtonDisabled()
{
    // Its window is the Brix calibration window, which this program does not have yet.
    MainWindowFixture f("NumLangs=1\r\nLanguage=0\r\nType=1\r\n", QStringLiteral("1:89"));
    f.main.load();
    f.main.mainTab().setTab(1);
    f.clock.clock.advance(3000);
    QVERIFY(!f.find<QPushButton>("CmdCalibrate")->isEnabled());
    f.main.requests().CalibrationWindowRequest = true;
    f.clock.clock.advance(1000);
    QVERIFY(!f.main.calibrationWindow());
    QVERIFY(!f.main.requests().CalibrationWindowRequest);
    QVERIFY(f.main.taskTimer().isActive());
}

QTEST_MAIN(TestCalibrationWindow)
#include "tst_calibrationwindow.moc"
