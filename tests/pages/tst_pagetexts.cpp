// The language texts on the pages' controls, the edition's layout of the coefficient row, and
// the demonstration values. The texts' loading is the language module's and tested there.

#include "PagesFixture.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TstPageTexts : public QObject {
    Q_OBJECT
private slots:
    void composedCaptions_data();
    void composedCaptions();
    void outputRangeLabelsFollowTheEdition();
    void openOutputTestKeepsItsExitCaption();
    void brixEditionLayout();
    void demonstrationValues();
};

void TstPageTexts::composedCaptions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::newRow("frame with slash") << "FrameInput" << "LangDigital LangInput/LangOutput";
    QTest::newRow("label with suffix") << "LblSlewMinus" << "LangSlew -";
    QTest::newRow("fixed text") << "LblBrix" << "Brix";
    QTest::newRow("status label") << "LblStatus_6" << "LangStatus7";
    QTest::newRow("indexed button") << "CmdLogOut_1" << "LangLogOut";
    QTest::newRow("check box") << "chkDisableCalib" << "LangDisableCalibrationPage";
}

void TstPageTexts::composedCaptions()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    PagesFixture f;
    f.core.applyTexts();
    QCOMPARE(f.model().text(control), caption);
}

void TstPageTexts::outputRangeLabelsFollowTheEdition()
{
    PagesFixture f;
    f.core.applyTexts();
    QCOMPARE(f.model().text(QStringLiteral("LblOutHigh")), QStringLiteral("LangHigh %"));
    f.core.setEditionType(1);
    f.core.applyTexts();
    QCOMPARE(f.model().text(QStringLiteral("LblOutHigh")), QStringLiteral("LangHigh Brix"));
    QCOMPARE(f.model().text(QStringLiteral("LblOutLow")), QStringLiteral("LangLow Brix"));
}

void TstPageTexts::openOutputTestKeepsItsExitCaption()
{
    PagesFixture f;
    f.core.applyTexts();
    f.model().setEnabled(QStringLiteral("CmdOutputTest"), true);
    f.core.buttonClicked(QStringLiteral("CmdOutputTest"));
    f.core.applyTexts();
    QCOMPARE(f.model().text(QStringLiteral("CmdOutputTest")), QStringLiteral("LangExit"));
}

void TstPageTexts::brixEditionLayout()
{
    PagesFixture f;
    f.core.setEditionType(1);
    for (const char* name : {"TextMA", "TextMB", "TextMC", "TextMSSD", "LblM", "QuiLabel1"})
        QVERIFY2(!f.model().visible(QString::fromLatin1(name)), name);
    QVERIFY(f.model().visible(QStringLiteral("TextBrixA")));
    QCOMPARE(f.model().text(QStringLiteral("LblSSDCal")), QStringLiteral("D"));
    QCOMPARE(f.model().text(QStringLiteral("LblValidMoisture")), QStringLiteral("Brix"));
}

void TstPageTexts::demonstrationValues()
{
    PagesFixture f;
    f.core.applyTexts();
    f.core.showDemonstrationValues();
    QCOMPARE(f.model().text(QStringLiteral("TextMB")), QStringLiteral("0.2857"));
    QCOMPARE(f.model().text(QStringLiteral("TextMC")), QStringLiteral("-4.0"));
    QCOMPARE(f.model().text(QStringLiteral("TextBrixD")), QStringLiteral("-2.5000"));
    QCOMPARE(f.model().text(QStringLiteral("LblChecksum")), QStringLiteral("abc123"));
    QCOMPARE(f.model().index(QStringLiteral("ListOPVar1")), 0);
    QCOMPARE(f.model().itemCount(QStringLiteral("ListOPVar1")), 6);
    QVERIFY(!f.model().enabled(QStringLiteral("CmdConfigWrite")));
    QVERIFY(!f.model().enabled(QStringLiteral("CmdOutputTest")));
}

QTEST_GUILESS_MAIN(TstPageTexts)
#include "tst_pagetexts.moc"
