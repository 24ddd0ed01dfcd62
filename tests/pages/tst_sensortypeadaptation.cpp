// Laying the pages out for a sensor type: the "Any" smoothing item by type and firmware
// version, the valid-range fields, the output-variable items with a second channel and Brix,
// the two-step reading of the hardware kind, and the filter list coming back after a sensor
// that hides it. The frames shown after "A 4" and "R 79" are covered by the diagnostics tests.

#include "PagesFixture.h"
#include "shell/pages/core/SensorTypeAdaptation.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

class TstSensorTypeAdaptation : public QObject {
    Q_OBJECT
private slots:
    void smoothingItemsAndValidRange_data();
    void smoothingItemsAndValidRange();
    void brixWithSecondChannelIsItemFive();
    void silentBrixReadOffersNoBrix();
    void sensorKind_data();
    void sensorKind();
    void filterListComesBackAfterAHidingType();
};

void TstSensorTypeAdaptation::smoothingItemsAndValidRange_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("version");
    QTest::addColumn<bool>("any");
    QTest::addColumn<bool>("moistureRange");
    QTest::addColumn<bool>("unscaledRange");
    QTest::newRow("45 at 1.55") << 45 << 1.55 << false << false << false;
    QTest::newRow("45 above 1.55") << 45 << 1.56 << true << false << false;
    QTest::newRow("46 at 1.26") << 46 << 1.26 << false << true << true;
    QTest::newRow("47 above 1.26") << 47 << 1.27 << true << true << true;
    QTest::newRow("63 at 2") << 63 << 2.0 << false << true << true;
    QTest::newRow("70 above 2") << 70 << 2.01 << true << true << true;
    QTest::newRow("77 any version") << 77 << 0.5 << true << true << true;
    QTest::newRow("29 hides the unscaled column") << 29 << 9.0 << false << true << false;
}

void TstSensorTypeAdaptation::smoothingItemsAndValidRange()
{
    QFETCH(int, type);
    QFETCH(double, version);
    QFETCH(bool, any);
    QFETCH(bool, moistureRange);
    QFETCH(bool, unscaledRange);
    PagesFixture f;
    f.core.applyTexts();
    f.select(type, version);
    f.core.adaptToSensorType();

    const ControlState& smoothing = f.model().state(QStringLiteral("ListSmoothTime"));
    QCOMPARE(smoothing.items.size(), any ? 7 : 6);
    QCOMPARE(smoothing.items.last() == QStringLiteral("Any"), any);
    for (const char* name : {"LblHighLimit", "LblLowLimit", "LblValidMoisture", "TextHighPercent", "TextLowPercent"})
        QCOMPARE(f.model().visible(QString::fromLatin1(name)), moistureRange);
    for (const char* name : {"LblValidUS", "TextHighUS", "TextLowUS"})
        QCOMPARE(f.model().visible(QString::fromLatin1(name)), unscaledRange);
}

void TstSensorTypeAdaptation::brixWithSecondChannelIsItemFive()
{
    PagesFixture f;
    f.core.applyTexts();
    f.sensor.parameters[25] = QStringLiteral("101.5");
    f.select(77, 2.1);
    f.core.adaptToSensorType();

    QVERIFY(f.core.typeState().SecondChannel);
    QVERIFY(f.core.typeState().BrixAvailable);
    const QStringList items = f.model().state(QStringLiteral("ListOPVar1")).items;
    QCOMPARE(items.value(4), QStringLiteral("LangFiltered LangUnscaled 2"));
    QCOMPARE(items.value(5), QStringLiteral("Brix"));
    QCOMPARE(items.value(6), QStringLiteral("LangMaterial LangTemperature"));
    QCOMPARE(f.model().state(QStringLiteral("ListOPVar2")).items, items);
}

void TstSensorTypeAdaptation::silentBrixReadOffersNoBrix()
{
    PagesFixture f;
    f.core.applyTexts();
    f.sensor.silentFor << QStringLiteral("R25");
    f.select(89, 1.2);
    f.core.adaptToSensorType();

    QVERIFY(!f.core.typeState().BrixAvailable);
    QVERIFY(!f.model().state(QStringLiteral("ListOPVar1")).items.contains(QStringLiteral("Brix")));
}

void TstSensorTypeAdaptation::sensorKind_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("edition");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("brixSelected");
    QTest::newRow("none") << "0" << 0 << "None" << false;
    QTest::newRow("corrane, low bits ignored") << "19" << 0 << "Ostrem Corrane" << false;
    QTest::newRow("SE in the standard edition") << "32" << 0 << "Ostrem SE" << false;
    QTest::newRow("Fayline in the Brix edition") << "32" << 1 << "Fayline" << true;
    QTest::newRow("dentho") << "64" << 0 << "Dentho" << false;
    QTest::newRow("grelmo only in the wide reading") << "128" << 0 << "Grelmo" << false;
    QTest::newRow("ostrem only in the wide reading") << "256" << 0 << "Ostrem" << false;
    QTest::newRow("no kind in the wide reading keeps the byte reading") << "288" << 0 << "None" << false;
}

void TstSensorTypeAdaptation::sensorKind()
{
    QFETCH(QString, reply);
    QFETCH(int, edition);
    QFETCH(QString, kind);
    QFETCH(bool, brixSelected);
    PagesFixture f;
    f.core.setEditionType(edition);
    f.core.applyTexts();
    f.sensor.parameters[78] = reply;
    f.select(89, 1.2);
    f.core.adaptToSensorType();

    QCOMPARE(f.model().text(QStringLiteral("lblSensorType")), kind);
    QCOMPARE(f.core.typeState().BrixSelected, brixSelected);
    QCOMPARE(f.sensor.received.count(QStringLiteral("R78")), 2);
}

void TstSensorTypeAdaptation::filterListComesBackAfterAHidingType()
{
    PagesFixture f;
    f.core.applyTexts();
    f.select(45, 1.6);
    f.core.adaptToSensorType();
    QVERIFY(!f.model().visible(QStringLiteral("ListDSP")));
    QCOMPARE(f.model().itemCount(QStringLiteral("ListDSP")), 0);
    QVERIFY(!f.model().visible(QStringLiteral("FrameMeasurementMode")));

    f.select(77, 2.0);
    f.core.adaptToSensorType();
    QVERIFY(f.model().visible(QStringLiteral("ListDSP")));
    QCOMPARE(f.model().itemCount(QStringLiteral("ListDSP")), 6);
    QVERIFY(f.model().visible(QStringLiteral("FrameMeasurementMode")));
    QVERIFY(f.model().visible(QStringLiteral("TextWaterAmp")));
}

QTEST_GUILESS_MAIN(TstSensorTypeAdaptation)
#include "tst_sensortypeadaptation.moc"
