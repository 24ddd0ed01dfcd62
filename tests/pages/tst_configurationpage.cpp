// Reading and writing the Configuration page through the task-timer services: the output
// variable read table and its message, list indices on the wire, the smoothing-time rule, the
// type-89 confirmation, the communication checks on reading and writing, the filter write
// left out for sensors without the filter, and a variable code the list does not offer. The
// snapshot itself is the sensor model's and is tested there.

#include "PagesFixture.h"
#include "shell/pages/core/ConfigurationProcedures.h"
#include "link/NumberRules.h"

#include <QScopeGuard>

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

void typicalSensor(FakeSensor& s)
{
    s.parameters = {{1, "0.5"},  {2, "0.2857"}, {3, "-4"}, {4, "1.5"},  {5, "0"},  {6, "1"},   {29, "2"},
                    {7, "0"},    {8, "20"},     {9, "0"},  {24, "0"},   {20, "0"}, {21, "30"}, {22, "0"},
                    {23, "100"}, {14, "2"},     {13, "1"}, {77, "3"},   {16, "1"}, {17, "2"},  {50, "QX0089 v1.20"},
                    {51, "ab12"}};
}

// A fixture with a sensor of the type selected, adapted and read into the page.
struct FilledPage : PagesFixture {
    FilledPage(int type, double version)
    {
        typicalSensor(sensor);
        core.applyTexts();
        select(type, version);
        core.adaptToSensorType();
    }
    void fill()
    {
        core.configurationPageEntered();
        core.runConfigurationTick();
    }
    void write()
    {
        sensor.received.clear();
        messages.shown.clear();
        core.buttonClicked(QStringLiteral("CmdConfigWrite"));
        core.runConfigurationTick();
    }
};

}  // namespace

class TstConfigurationPage : public QObject {
    Q_OBJECT
private slots:
    void engineeringCodeShowsMessageAndIsWrittenAsShown();
    void outputTypeIndexOnTheWire_data();
    void outputTypeIndexOnTheWire();
    void freeSmoothingTime_data();
    void freeSmoothingTime();
    void type89ConfirmsWithSnapshotsInsteadOfStoring();
    void otherTypesStoreWithActionOne();
    void unansweredReadKeepsWriteDisabled();
    void writeWaitsForAFillOfThisSensor();
    void decimalCommaShownButPointsOnTheWire();
    void missingParameterIsNoCommsError();
    void unansweredWriteIsNotReportedAsWritten_data();
    void unansweredWriteIsNotReportedAsWritten();
    void filterWrittenOnlyWhenShown();
    void codeTheListDoesNotOfferClearsTheSelection();
    void compatibilityModeHidesTheOutputFields();
    void secondOutputIsReadAfterCompatibilityMode();
};

void TstConfigurationPage::engineeringCodeShowsMessageAndIsWrittenAsShown()
{
    FilledPage f(45, 1.6);
    f.sensor.parameters[6] = QStringLiteral("8");
    f.fill();
    QVERIFY(f.messages.shown.contains(QStringLiteral("LangEngData8\rLangEngData2\rLangEngData6\rLangEngData4")));
    QCOMPARE(f.model().text(QStringLiteral("ListOPVar1")), QStringLiteral("LangFiltered LangUnscaled"));
    QVERIFY(f.model().enabled(QStringLiteral("CmdConfigWrite")));

    f.write();
    QVERIFY(f.sensor.received.contains(QStringLiteral("W6 4")));
}

void TstConfigurationPage::outputTypeIndexOnTheWire_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("command");
    QTest::newRow("0-20 mA") << 1 << "W5 1";
    QTest::newRow("compatibility") << 2 << "W5 2";
    QTest::newRow("nothing selected") << -1 << "W5 -1";
}

void TstConfigurationPage::outputTypeIndexOnTheWire()
{
    QFETCH(int, index);
    QFETCH(QString, command);
    FilledPage f(45, 1.6);
    f.fill();
    f.core.listPicked(QStringLiteral("ListOPType"), index);
    f.write();
    QCOMPARE(f.sensor.sentWith(QStringLiteral("W5 ")), QStringList{command});
}

void TstConfigurationPage::freeSmoothingTime_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("command");
    QTest::newRow("7 is below the range") << "7" << QString();
    QTest::newRow("7.5 is the lowest") << "7.5" << "W14 7.50";
    QTest::newRow("100 is the highest") << "100" << "W14 100.00";
    QTest::newRow("above 100") << "100.5" << QString();
    QTest::newRow("not a number") << "abc" << QString();
}

void TstConfigurationPage::freeSmoothingTime()
{
    QFETCH(QString, typed);
    QFETCH(QString, command);
    FilledPage f(77, 2.0);
    f.fill();
    f.core.listPicked(QStringLiteral("ListSmoothTime"), 6);
    QVERIFY(f.model().visible(QStringLiteral("TextSmooth")));
    f.core.textEdited(QStringLiteral("TextSmooth"), typed);
    f.write();

    const QStringList sent = f.sensor.sentWith(QStringLiteral("W14"));
    if (command.isEmpty()) {
        QVERIFY(sent.isEmpty());
        QVERIFY(f.messages.shown.contains(QStringLiteral("LangInvalid LangSmoothTime - LangValidRange 7 - 100 ")));
    } else {
        QCOMPARE(sent, QStringList{command});
    }
}

void TstConfigurationPage::type89ConfirmsWithSnapshotsInsteadOfStoring()
{
    FilledPage f(89, 1.2);
    f.fill();
    f.write();
    const QStringList& r = f.sensor.received;
    const int lastWrite = int(r.lastIndexOf(QStringLiteral("W17 2")));
    const int store = int(r.indexOf(QStringLiteral("A1")));
    QVERIFY(lastWrite >= 0);
    QCOMPARE(r.count(QStringLiteral("A1")), 1);
    // The snapshot is read between the page write and the store, and again after it.
    QVERIFY(r.mid(lastWrite, store - lastWrite).contains(QStringLiteral("R50")));
    QVERIFY(r.mid(store).contains(QStringLiteral("R50")));
    QCOMPARE(r.last(), QStringLiteral("A14"));
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangSensor LangConfiguration LangWritten")});
}

void TstConfigurationPage::otherTypesStoreWithActionOne()
{
    FilledPage f(63, 2.1);
    f.fill();
    f.write();
    const QStringList actions = f.sensor.writesAndActions();
    QCOMPARE(actions.last(), QStringLiteral("A1"));
    QVERIFY(!actions.contains(QStringLiteral("A14")));
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangSensor LangConfiguration LangWritten")});
}

void TstConfigurationPage::unansweredReadKeepsWriteDisabled()
{
    FilledPage f(45, 1.6);
    f.sensor.silentFor << QStringLiteral("R9");
    f.fill();
    QVERIFY(f.messages.shown.contains(QStringLiteral("LangCommsError")));
    QVERIFY(!f.model().enabled(QStringLiteral("CmdConfigWrite")));
    f.core.buttonClicked(QStringLiteral("CmdConfigWrite"));
    QVERIFY(!f.requests.WriteConfigRequest);

    f.sensor.silentFor.clear();
    f.messages.shown.clear();
    f.fill();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.model().enabled(QStringLiteral("CmdConfigWrite")));
}

void TstConfigurationPage::writeWaitsForAFillOfThisSensor()
{
    FilledPage f(45, 1.6);
    f.fill();
    QVERIFY(f.model().enabled(QStringLiteral("CmdConfigWrite")));
    // Entering again: until the new fill has run, the boxes are not this visit's.
    f.core.configurationPageEntered();
    QVERIFY(!f.model().enabled(QStringLiteral("CmdConfigWrite")));
    // Another sensor selected since the fill: a write request that got through sends nothing.
    f.core.runConfigurationTick();
    f.select(45, 1.6, QString(), 2);
    f.sensor.received.clear();
    f.requests.WriteConfigRequest = true;
    f.core.runConfigurationTick();
    QVERIFY(f.sensor.sentWith(QStringLiteral("W")).isEmpty());
    QVERIFY(!f.model().enabled(QStringLiteral("CmdConfigWrite")));
}

void TstConfigurationPage::decimalCommaShownButPointsOnTheWire()
{
    SetDecimalComma(true);
    const auto restore = qScopeGuard([] { SetDecimalComma(false); });
    FilledPage f(45, 1.6);
    f.sensor.parameters[8] = QStringLiteral("12.5");
    f.fill();
    QCOMPARE(f.model().text(QStringLiteral("TextMB")), QStringLiteral("0,2857"));
    QCOMPARE(f.model().text(QStringLiteral("TextIOHigh")), QStringLiteral("12,50"));
    f.core.textEdited(QStringLiteral("TextMSSD"), QStringLiteral("2,25"));
    f.write();
    const QStringList writes = f.sensor.sentWith(QStringLiteral("W"));
    QVERIFY(writes.contains(QStringLiteral("W2 0.2857")));
    QVERIFY(writes.contains(QStringLiteral("W8 12.50")));
    QVERIFY(writes.contains(QStringLiteral("W4 2.25")));
    for (const QString& write : writes)
        QVERIFY2(!write.contains(QLatin1Char(',')), qPrintable(write));
}

void TstConfigurationPage::missingParameterIsNoCommsError()
{
    FilledPage f(63, 2.1);
    f.sensor.parameters.remove(24);  // answers "?"
    f.fill();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.model().enabled(QStringLiteral("CmdConfigWrite")));
}

void TstConfigurationPage::unansweredWriteIsNotReportedAsWritten_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("stored with action 1") << 45;
    QTest::newRow("confirmed by snapshots") << 89;
}

void TstConfigurationPage::unansweredWriteIsNotReportedAsWritten()
{
    QFETCH(int, type);
    FilledPage f(type, 1.6);
    f.fill();
    f.sensor.silentFor << QStringLiteral("W8 20.00");
    f.write();
    QVERIFY(f.sensor.received.contains(QStringLiteral("W8 20.00")));
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangCommsError")});
    QVERIFY(!f.sensor.received.contains(QStringLiteral("A14")));
    QVERIFY(f.model().enabled(QStringLiteral("CmdConfigWrite")));
}

void TstConfigurationPage::filterWrittenOnlyWhenShown()
{
    FilledPage hidden(45, 1.6);
    hidden.fill();
    hidden.write();
    QVERIFY(hidden.sensor.sentWith(QStringLiteral("W77")).isEmpty());

    FilledPage shown(77, 2.0);
    shown.fill();
    shown.write();
    QCOMPARE(shown.sensor.sentWith(QStringLiteral("W77")), QStringList{QStringLiteral("W77 3")});
}

void TstConfigurationPage::codeTheListDoesNotOfferClearsTheSelection()
{
    FilledPage f(45, 1.6);
    f.sensor.parameters[6] = QStringLiteral("2");
    f.fill();
    QCOMPARE(f.model().index(QStringLiteral("ListOPVar1")), 1);

    // The second-channel variable on a one-channel sensor: the previous choice must not stay.
    f.sensor.parameters[6] = QStringLiteral("11");
    f.fill();
    QCOMPARE(f.model().index(QStringLiteral("ListOPVar1")), -1);
    f.write();
    QVERIFY(f.sensor.sentWith(QStringLiteral("W6")).isEmpty());
    QVERIFY(f.messages.shown.contains(QStringLiteral("LangInvalid LangOPVar 1")));
}

void TstConfigurationPage::compatibilityModeHidesTheOutputFields()
{
    FilledPage f(63, 2.1);
    f.fill();
    QVERIFY(f.model().visible(QStringLiteral("TextIOHigh")));
    QVERIFY(f.model().visible(QStringLiteral("ListOPVar2")));
    f.core.listPicked(QStringLiteral("ListOPType"), 2);
    for (const char* name : {"LblOutHigh", "TextIOHigh", "TextIOLow", "ListOPVar1", "ListOPVar2", "LblOPVar2"})
        QVERIFY2(!f.model().visible(QString::fromLatin1(name)), name);
    f.core.listPicked(QStringLiteral("ListOPType"), 0);
    QVERIFY(f.model().visible(QStringLiteral("ListOPVar2")));
    QVERIFY(f.model().visible(QStringLiteral("TextIOHigh")));  // output 1 is a moisture variable
}

void TstConfigurationPage::secondOutputIsReadAfterCompatibilityMode()
{
    FilledPage f(63, 2.1);
    f.sensor.parameters[5] = QStringLiteral("2");
    f.fill();
    QVERIFY(!f.model().visible(QStringLiteral("ListOPVar2")));

    f.sensor.parameters[5] = QStringLiteral("0");
    f.sensor.parameters[29] = QStringLiteral("5");
    f.fill();
    QVERIFY(f.model().visible(QStringLiteral("ListOPVar2")));
    QCOMPARE(f.model().text(QStringLiteral("ListOPVar2")), QStringLiteral("LangAvg LangUnscaled"));
    f.write();
    QCOMPARE(f.sensor.sentWith(QStringLiteral("W29")), QStringList{QStringLiteral("W29 5")});
}

QTEST_GUILESS_MAIN(TstConfigurationPage)
#include "tst_configurationpage.moc"
