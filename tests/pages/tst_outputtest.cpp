// The analogue output test: quick settings and the step each tick sends, the mA labels at the
// ends of the range, a one-output sensor, and cmdResonator after closing at the operator
// level. What the sensor does with the raw values is the sensor's.

#include "PagesFixture.h"
#include "shell/pages/core/DiagnosticsProcedures.h"
#include "shell/pages/core/OutputTest.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct OutputFixture : PagesFixture {
    explicit OutputFixture(int type)
    {
        core.applyTexts();
        select(type, 2.1);
        core.adaptToSensorType();
        model().setEnabled(QStringLiteral("CmdOutputTest"), true);  // as the full refresh leaves it
        core.buttonClicked(QStringLiteral("CmdOutputTest"));
        sensor.received.clear();
    }
};

}  // namespace

class TstOutputTest : public QObject {
    Q_OBJECT
private slots:
    void quickTwentyMilliampsIsSentOnTheNextStep();
    void currentLabel_data();
    void currentLabel();
    void oneOutputSendsNoSecondValue();
    void twoOutputsSendBoth();
    void closingAtTheOperatorLevelLeavesTheResonatorHidden();
};

void TstOutputTest::quickTwentyMilliampsIsSentOnTheNextStep()
{
    OutputFixture f(45);
    QVERIFY(f.requests.OutputTestRequest);
    QCOMPARE(f.model().text(QStringLiteral("CmdOutputTest")), QStringLiteral("LangExit"));
    f.core.buttonClicked(QStringLiteral("CmdmA_2"));
    QCOMPARE(f.model().value(QStringLiteral("SlidermA_0")), 2560);
    QVERIFY(f.sensor.received.isEmpty());  // nothing is sent by the button itself

    f.core.runDiagnosticsTick();
    QCOMPARE(f.model().text(QStringLiteral("LblCurrent_0")), QStringLiteral("20.00"));
    QCOMPARE(f.sensor.received, (QStringList{PCommand(0x10), QStringLiteral("W31 2560")}));
}

void TstOutputTest::currentLabel_data()
{
    QTest::addColumn<int>("raw");
    QTest::addColumn<QString>("current");
    QTest::newRow("zero") << 0 << "0.00";
    QTest::newRow("4 mA") << 512 << "4.00";
    QTest::newRow("end of the slider") << 4095 << "31.99";
}

void TstOutputTest::currentLabel()
{
    QFETCH(int, raw);
    QFETCH(QString, current);
    OutputFixture f(45);
    f.core.sliderMoved(QStringLiteral("SlidermA_0"), raw);
    f.core.runDiagnosticsTick();
    QCOMPARE(f.model().text(QStringLiteral("LblCurrent_0")), current);
    QCOMPARE(f.sensor.sentWith(QStringLiteral("W31 ")), QStringList{QStringLiteral("W31 %1").arg(raw)});
}

void TstOutputTest::oneOutputSendsNoSecondValue()
{
    OutputFixture f(45);
    for (const char* name : {"SlidermA_1", "LblCurrent_1", "CmdmA_3", "CmdmA_4", "CmdmA_5", "FrameIntCurrent_1"})
        QVERIFY2(!f.model().visible(QString::fromLatin1(name)), name);
    f.core.runDiagnosticsTick();
    QVERIFY(f.sensor.sentWith(QStringLiteral("W37 ")).isEmpty());
}

void TstOutputTest::twoOutputsSendBoth()
{
    OutputFixture f(63);
    QVERIFY(f.model().visible(QStringLiteral("SlidermA_1")));
    f.core.buttonClicked(QStringLiteral("CmdmA_4"));
    f.core.runDiagnosticsTick();
    QCOMPARE(f.sensor.received, (QStringList{PCommand(0x10), QStringLiteral("W31 0"), QStringLiteral("W37 512")}));
    QCOMPARE(f.model().text(QStringLiteral("LblCurrent_1")), QStringLiteral("4.00"));
}

void TstOutputTest::closingAtTheOperatorLevelLeavesTheResonatorHidden()
{
    OutputFixture f(45);
    f.core.buttonClicked(QStringLiteral("CmdOutputTest"));
    QVERIFY(!f.requests.OutputTestRequest);
    QVERIFY(!f.model().visible(QStringLiteral("FrameInterface")));
    QVERIFY(!f.model().visible(QStringLiteral("cmdResonator")));
    QCOMPARE(f.model().text(QStringLiteral("CmdOutputTest")), QStringLiteral("LangAnalogue LangOutput LangTest"));
    f.core.runDiagnosticsTick();
    QVERIFY(f.sensor.sentWith(QStringLiteral("W31")).isEmpty());
}

QTEST_GUILESS_MAIN(TstOutputTest)
#include "tst_outputtest.moc"
