// The Diagnostics and Advanced pages: status flags and their colours, the amplitude column of
// one-channel sensors, the averaging of the reference samples, a foreign measurement mode,
// the automatic calibration's end, the coefficient write with a bad box, and the buttons the
// page entry disables. The task timer's serving order is the main window's and tested there.

#include "PagesFixture.h"
#include "shell/pages/core/DiagnosticsProcedures.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

constexpr int Red = 0;
constexpr int Black = 5;

QString rawReply(const char* frequency, const char* amplitude)
{
    return QStringLiteral("1 2 3 4 5 6 %1 %2").arg(QLatin1String(frequency), QLatin1String(amplitude));
}

struct DiagnosticsFixture : PagesFixture {
    explicit DiagnosticsFixture(int type, double version = 1.2)
    {
        core.applyTexts();
        select(type, version, QStringLiteral("QX00%1 v1.20").arg(type));
        core.adaptToSensorType();
    }
};

}  // namespace

class TstDiagnosticsPage : public QObject {
    Q_OBJECT
private slots:
    void statusFlags_data();
    void statusFlags();
    void emptyStatusReplyShowsEveryFlagClear();
    void oneChannelSensorShows99AndReadsNoAmplitudes();
    void twoChannelSensorReadsAmplitudes();
    void firstSampleTakenAsItStands();
    void secondSampleAveragesIn();
    void foreignMeasurementModeKeepsTheListLocked_data();
    void foreignMeasurementModeKeepsTheListLocked();
    void armTypeOnlyWritableWhenTheSensorNamedOne_data();
    void armTypeOnlyWritableWhenTheSensorNamedOne();
    void autoCalibrationFailureEndsAboutASecondAfterThePoll();
    void closingEndsTheAutoCalibrationAtOnce();
    void autoCalibrationRefused();
    void autoCalibrationCompleteStaysShownAfterTheRefresh();
    void coefficientWriteSkipsABadBox();
    void enteringFromAnotherPageDisablesTheWriteButtons();
    void advancedPageWrites_data();
    void advancedPageWrites();
};

void TstDiagnosticsPage::statusFlags_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("caption0");
    QTest::addColumn<QList<int>>("colours");  // LblStatus 0, 3, 4, 5, 6
    QTest::newRow("first and seventh") << "1000001" << "LangStatus0b" << QList<int>{Red, Red, Black, Black, Black};
    QTest::newRow("eighth, ninth, eleventh") << "00000001101" << "LangStatus0a"
                                            << QList<int>{Black, Black, Red, Red, Red};
    QTest::newRow("tenth is not shown") << "0000000001" << "LangStatus0a"
                                       << QList<int>{Black, Black, Black, Black, Black};
    QTest::newRow("short reply") << "1" << "LangStatus0b" << QList<int>{Red, Black, Black, Black, Black};
}

void TstDiagnosticsPage::statusFlags()
{
    QFETCH(QString, reply);
    QFETCH(QString, caption0);
    QFETCH(QList<int>, colours);
    DiagnosticsFixture f(45);
    f.sensor.parameters[69] = reply;
    RefreshDiagnostics(f.ctx(), 0);
    QCOMPARE(f.model().text(QStringLiteral("LblStatus_0")), caption0);
    const QStringList labels = {"LblStatus_0", "LblStatus_3", "LblStatus_4", "LblStatus_5", "LblStatus_6"};
    for (int i = 0; i < labels.size(); ++i)
        QCOMPARE(f.model().colour(labels.at(i)), colours.at(i));
}

// The receiver accepts a reply frame without text; the flags must then read as clear, not from
// past the reply's end (a build with Qt's assertions on aborts there).
void TstDiagnosticsPage::emptyStatusReplyShowsEveryFlagClear()
{
    DiagnosticsFixture f(45);
    // STX, address 1 + 96, frame code 1, no text, ETX, checksum 0x61 ^ 0x40 ^ 0x41 = 0x60.
    const QByteArray emptyReply("\x02\x61\x40\x41\x03\x46\x40", 7);
    f.sensor.transport.setResponder([&](const QByteArray&) { return emptyReply; });
    RefreshDiagnostics(f.ctx(), 0);
    QCOMPARE(f.model().text(QStringLiteral("LblStatus_0")), QStringLiteral("LangStatus0a"));
    for (const char* label : {"LblStatus_0", "LblStatus_3", "LblStatus_4", "LblStatus_5", "LblStatus_6"})
        QCOMPARE(f.model().colour(QString::fromLatin1(label)), Black);
}

void TstDiagnosticsPage::oneChannelSensorShows99AndReadsNoAmplitudes()
{
    DiagnosticsFixture f(45);
    f.sensor.parameters[12] = QStringLiteral("0.5");
    RefreshDiagnostics(f.ctx(), 2);
    for (const char* label : {"LblElecAmpCoeff", "LblResAmpCoeff", "LblMatAmpCoeff", "lblAdvElecAmpCoeff",
                              "lblAdvResAmpCoeff", "lblAdvMatAmpCoeff"})
        QCOMPARE(f.model().text(QString::fromLatin1(label)), QStringLiteral("99"));
    for (int number : {39, 40, 57, 58, 59})
        QVERIFY2(!f.sensor.wasRead(number), qPrintable(QString::number(number)));
    QCOMPARE(f.model().text(QStringLiteral("LblElecFreqCoeff")), QStringLiteral("0.50"));
    QCOMPARE(f.model().text(QStringLiteral("lblAdvElecFreqCoeff")), QStringLiteral("0.50"));
}

void TstDiagnosticsPage::twoChannelSensorReadsAmplitudes()
{
    DiagnosticsFixture f(77);
    f.sensor.parameters[57] = QStringLiteral("1.25");
    f.sensor.parameters[39] = QStringLiteral("2100");
    RefreshDiagnostics(f.ctx(), 2);
    QCOMPARE(f.model().text(QStringLiteral("LblElecAmpCoeff")), QStringLiteral("1.25"));
    QCOMPARE(f.model().text(QStringLiteral("LblDiagLowAmp")), QStringLiteral("2100.00"));
    for (int number : {39, 40, 57, 58, 59})
        QVERIFY(f.sensor.wasRead(number));
}

void TstDiagnosticsPage::firstSampleTakenAsItStands()
{
    DiagnosticsFixture f(77);
    f.sensor.replies[PCommand(11)] = {rawReply("12345.6", "2000"), rawReply("0", "0")};
    MeasureReference(f.ctx(), Reference::Water);
    QCOMPARE(f.model().text(QStringLiteral("TextWaterFreq")), QStringLiteral("12345.6"));
    QCOMPARE(f.model().text(QStringLiteral("TextWaterAmp")), QStringLiteral("2000"));
    QCOMPARE(f.sensor.received.count(PCommand(11)), 50);
    QCOMPARE(f.model().value(QStringLiteral("PbWaterProgress")), 50);
    QVERIFY(!f.model().visible(QStringLiteral("PbWaterProgress")));
}

void TstDiagnosticsPage::secondSampleAveragesIn()
{
    DiagnosticsFixture f(77);
    f.sensor.replies[PCommand(11)] = {rawReply("12345.6", "2000"), rawReply("12370.6", "2100"), QStringLiteral("!")};
    MeasureReference(f.ctx(), Reference::Air);
    // (24 x first + second) / 25; zero samples and "!" change nothing.
    QCOMPARE(f.model().text(QStringLiteral("TextAirFreq")), QStringLiteral("12346.60"));
    QCOMPARE(f.model().text(QStringLiteral("TextAirAmp")), QStringLiteral("2004.00"));
    QVERIFY(f.model().text(QStringLiteral("TextWaterFreq")).isEmpty());
}

void TstDiagnosticsPage::foreignMeasurementModeKeepsTheListLocked_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("warning");
    QTest::newRow("standard") << "0" << 0 << true << "LangMeasurementWarning";
    QTest::newRow("mode V") << "2" << 1 << true << "LangMeasurementWarning";
    QTest::newRow("mode E") << "3" << 2 << true << "LangMeasurementWarning";
    QTest::newRow("foreign 1") << "1" << -1 << false << "LangMeasurementPellory";
    QTest::newRow("foreign 4") << "4" << -1 << false << "LangMeasurementPellory";
}

void TstDiagnosticsPage::foreignMeasurementModeKeepsTheListLocked()
{
    QFETCH(QString, code);
    QFETCH(int, item);
    QFETCH(bool, writable);
    QFETCH(QString, warning);
    DiagnosticsFixture f(89);
    f.sensor.parameters[38] = code;
    f.sensor.parameters[47] = QStringLiteral("0");
    RefreshDiagnostics(f.ctx(), 2);
    if (item >= 0)
        QCOMPARE(f.model().index(QStringLiteral("cbAdvMeasurementMode")), item);
    QCOMPARE(f.model().enabled(QStringLiteral("cbAdvMeasurementMode")), writable);
    QCOMPARE(f.model().enabled(QStringLiteral("cmdMeasurementModeWrite")), writable);
    QCOMPARE(f.model().text(QStringLiteral("lblMeasurementWarning")), warning);
    QVERIFY(f.model().enabled(QStringLiteral("cbAdvMeasurementMode2")));
}

void TstDiagnosticsPage::armTypeOnlyWritableWhenTheSensorNamedOne_data()
{
    QTest::addColumn<QString>("reply");  // empty: no answer
    QTest::addColumn<int>("item");       // -1: locked
    QTest::newRow("KVTA2 700mm") << "33" << 3;
    QTest::newRow("unused") << "0" << 0;
    QTest::newRow("no answer") << "" << -1;
    QTest::newRow("an arm this list lacks") << "77" << -1;
}

void TstDiagnosticsPage::armTypeOnlyWritableWhenTheSensorNamedOne()
{
    QFETCH(QString, reply);
    QFETCH(int, item);
    DiagnosticsFixture f(89);
    // The sensor named an arm when the pages adapted to it, so the frame shows.
    f.sensor.parameters[79] = QStringLiteral("33");
    f.core.adaptToSensorType();
    if (reply.isEmpty())
        f.sensor.silentFor << QStringLiteral("R79");
    else
        f.sensor.parameters[79] = reply;
    RefreshDiagnostics(f.ctx(), 2);
    const bool writable = item >= 0;
    QCOMPARE(f.model().enabled(QStringLiteral("cbCorraneArmType")), writable);
    QCOMPARE(f.model().enabled(QStringLiteral("cmdWriteCorraneArmType")), writable);
    if (writable)
        QCOMPARE(f.model().index(QStringLiteral("cbCorraneArmType")), item);
}

void TstDiagnosticsPage::autoCalibrationFailureEndsAboutASecondAfterThePoll()
{
    DiagnosticsFixture f(45);
    f.sensor.replies[QStringLiteral("A 5")] = {QStringLiteral("!")};
    f.sensor.replies[QStringLiteral("A 4")] = {QStringLiteral("2")};
    f.sensor.received.clear();
    const qint64 start = f.clock.clock.nowMs();
    RunAutoCalibration(f.ctx());
    const qint64 elapsed = f.clock.clock.nowMs() - start;
    QCOMPARE(f.model().text(QStringLiteral("TextAutoCal")), QStringLiteral("LangAutoCal LangFailed 2"));
    QCOMPARE(f.sensor.received.count(QStringLiteral("A 4")), 1);
    QVERIFY2(elapsed >= 5000 && elapsed < 5100, qPrintable(QString::number(elapsed)));  // 4 s start, 1 s after
    QVERIFY(f.model().enabled(QStringLiteral("cmdAutoCal")));
}

void TstDiagnosticsPage::closingEndsTheAutoCalibrationAtOnce()
{
    DiagnosticsFixture f(45);
    f.sensor.replies[QStringLiteral("A 5")] = {QStringLiteral("!")};
    f.sensor.replies[QStringLiteral("A 4")] = {QStringLiteral("0")};  // never finishes
    const qint64 start = f.clock.clock.nowMs();
    f.clock.clock.schedule(start + 7000, [&] { f.link.blockForClosing(); });
    RunAutoCalibration(f.ctx());
    const qint64 elapsed = f.clock.clock.nowMs() - start;
    QVERIFY2(elapsed < 8500, qPrintable(QString::number(elapsed)));
}

void TstDiagnosticsPage::autoCalibrationRefused()
{
    DiagnosticsFixture f(45);
    f.sensor.replies[QStringLiteral("A 5")] = {QStringLiteral("?")};
    f.sensor.received.clear();
    RunAutoCalibration(f.ctx());
    QCOMPARE(f.model().text(QStringLiteral("TextAutoCal")), QStringLiteral("LangACUA"));
    QVERIFY(!f.sensor.received.contains(QStringLiteral("A 4")));
}

void TstDiagnosticsPage::autoCalibrationCompleteStaysShownAfterTheRefresh()
{
    DiagnosticsFixture f(45);
    f.sensor.replies[QStringLiteral("A 5")] = {QStringLiteral("!")};
    f.sensor.replies[QStringLiteral("A 4")] = {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1")};
    f.sensor.parameters[10] = QStringLiteral("720.5");
    RunAutoCalibration(f.ctx());
    QCOMPARE(f.model().text(QStringLiteral("TextAutoCal")), QStringLiteral("LangACComplete"));
    QCOMPARE(f.model().text(QStringLiteral("lblAdvLowFreq")), QStringLiteral("720.50"));  // refreshed
    QVERIFY(f.model().enabled(QStringLiteral("cmdAutoCal")));
}

void TstDiagnosticsPage::coefficientWriteSkipsABadBox()
{
    DiagnosticsFixture f(45);
    f.model().setText(QStringLiteral("TextElecFreqCoeff"), QStringLiteral("abc"));
    f.model().setText(QStringLiteral("TextMatFreqCoeff"), QStringLiteral("-0.125"));
    f.sensor.received.clear();
    WriteCoefficients(f.ctx());
    QVERIFY(f.messages.shown.contains(QStringLiteral("LangInvalid Electronics Temperature Frequency Coeff")));
    QVERIFY(f.sensor.sentWith(QStringLiteral("W12")).isEmpty());
    const QStringList actions = f.sensor.writesAndActions();
    QCOMPARE(actions.mid(0, 2), (QStringList{QStringLiteral("W56 -0.125"), QStringLiteral("A1")}));
    QVERIFY(f.model().text(QStringLiteral("TextMatFreqCoeff")).isEmpty());
    QCOMPARE(f.messages.shown.last(), QStringLiteral("LangSensor LangTempComp LangWritten"));
}

void TstDiagnosticsPage::enteringFromAnotherPageDisablesTheWriteButtons()
{
    DiagnosticsFixture f(89, 1.2);
    RefreshDiagnostics(f.ctx(), 2);
    QVERIFY(f.model().enabled(QStringLiteral("cmdWater")));
    QVERIFY(f.model().enabled(QStringLiteral("BtnFactoryReset")));
    QVERIFY(f.model().enabled(QStringLiteral("CmdUpgrade")));

    f.core.diagnosticsPageEntered(3, {});
    QVERIFY(f.model().enabled(QStringLiteral("cmdWater")));
    f.core.diagnosticsPageEntered(1, {});
    QVERIFY(f.requests.FullRefreshRequest);
    for (const char* name : {"cmdWater", "cmdAir", "cmdFactoryUpdate", "CmdCoeffUpdate", "BtnFactoryReset",
                             "CmdOutputTest", "cbCorraneArmType", "CmdUpgrade"})
        QVERIFY2(!f.model().enabled(QString::fromLatin1(name)), name);
    QCOMPARE(f.model().text(QStringLiteral("lblIPAddressDiag")), QStringLiteral("xxx.xxx.xxx.xxx"));
    QVERIFY(!f.model().visible(QStringLiteral("FrameEthernetAdapter")));
}

void TstDiagnosticsPage::advancedPageWrites_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("command");  // empty: nothing written
    QTest::newRow("mode V") << "cbAdvMeasurementMode" << 1 << "cmdMeasurementModeWrite" << "W38 2";
    QTest::newRow("mode E on channel 2") << "cbAdvMeasurementMode2" << 2 << "cmdMeasurementModeWrite2" << "W47 3";
    QTest::newRow("no mode selected") << "cbAdvMeasurementMode" << -1 << "cmdMeasurementModeWrite" << "";
    QTest::newRow("arm KVTA2 700mm") << "cbCorraneArmType" << 3 << "cmdWriteCorraneArmType" << "W79 33";
    QTest::newRow("arm unused") << "cbCorraneArmType" << 0 << "cmdWriteCorraneArmType" << "W79 0";
    QTest::newRow("filtered averaging") << "CBAveragingMode" << 1 << "BtnWriteAveragingMode" << "W49 1";
}

void TstDiagnosticsPage::advancedPageWrites()
{
    QFETCH(QString, list);
    QFETCH(int, item);
    QFETCH(QString, button);
    QFETCH(QString, command);
    DiagnosticsFixture f(89);
    f.sensor.parameters[49] = QStringLiteral("0");
    f.sensor.parameters[50] = QStringLiteral("QX0089 v1.20");
    RefreshDiagnostics(f.ctx(), 2);
    f.model().setEnabled(list, true);
    f.model().setEnabled(button, true);
    f.core.listPicked(list, item);
    f.core.buttonClicked(button);
    QVERIFY(!f.model().enabled(button));
    f.sensor.received.clear();
    f.messages.shown.clear();
    f.core.runDiagnosticsTick();

    QCOMPARE(f.sensor.sentWith(QStringLiteral("W")), command.isEmpty() ? QStringList() : QStringList{command});
    // Type 89: confirmed by the snapshot check, then the pages are read again in full.
    QCOMPARE(f.sensor.received.count(QStringLiteral("A14")), 1);
    QVERIFY(f.sensor.received.mid(f.sensor.received.indexOf(QStringLiteral("A14"))).contains(QStringLiteral("R51")));
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangSensor LangConfiguration LangWritten")});
    QVERIFY(f.model().enabled(button));
}

QTEST_GUILESS_MAIN(TstDiagnosticsPage)
#include "tst_diagnosticspage.moc"
