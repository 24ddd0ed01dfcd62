// The page procedures against the in-process simulated bus on the virtual clock: a type-89
// sensor read into the Configuration page, changed and written with the before/after check;
// the same write to a sensor that went silent; a full diagnostics refresh; and the page
// commands of dunmere-cli. Fault details of the link are the link's tests.

#include "PagesFixture.h"
#include "shell/pages/core/CliPageCommands.h"
#include "sim/SimBus.h"
#include "sim/SimTransport.h"

#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

constexpr int Address = 3;

struct SimFixture {
    SimFixture()
    {
        sim::SensorSetup setup;
        setup.address = Address;
        setup.typeCode = 89;
        setup.firmwareText = "QX0089 v1.12";
        setup.name = "Mixer";
        sensor = bus.addSensor(setup);
        link.setTransport(&transport);
        link.setMessages(&messages);
        link.setTexts(&texts);
        PageSensor s;
        s.address = Address;
        s.typeCode = 89;
        s.firmwareVersion = 1.12;
        s.identity = QString::fromLatin1(sensor->identity());
        s.name = QStringLiteral("Mixer");
        s.firmwareText = QStringLiteral("QX0089 v1.12");
        core.applyTexts();
        core.setSelectedSensor(s);
        core.adaptToSensorType();
    }
    [[nodiscard]] bool heard(const QByteArray& payload) const
    {
        for (const sim::ReceivedFrame& f : bus.received()) {
            if (f.payload == payload)
                return true;
        }
        return false;
    }
    void fill()
    {
        core.configurationPageEntered();
        core.runConfigurationTick();
    }
    void write()
    {
        messages.shown.clear();
        bus.clearReceived();
        core.buttonClicked(QStringLiteral("CmdConfigWrite"));
        core.runConfigurationTick();
    }

    VirtualClockScope clock;
    sim::SimBus bus;
    sim::VirtualSensor* sensor = nullptr;
    sim::SimTransport transport{bus, Transport::Kind::Serial};
    Link link;
    KeyTexts texts;
    RecordingMessages messages;
    TaskRequests requests;
    PagesCore core{link, texts, &messages, requests, QString()};
};

// A page command run as the command line runs it, with what it read out and complained of.
struct CliRun {
    explicit CliRun(SimFixture& f) : err(&complaints), env{f.link, f.texts, f.messages, values, err} {}
    int operator()(const QStringList& args) { return RunPageCommand(env, args); }
    [[nodiscard]] const PageValue* value(const QString& name) const
    {
        for (const PageValue& v : values)
            if (v.name == name)
                return &v;
        return nullptr;
    }
    [[nodiscard]] QString text(const QString& name) const { return value(name) ? value(name)->text : QStringLiteral("(none)"); }

    QList<PageValue> values;
    QString complaints;
    QTextStream err;
    CliPageEnvironment env;
};

}  // namespace

class TstPagesOnSimBus : public QObject {
    Q_OBJECT
private slots:
    void readChangeAndWriteAType89Sensor();
    void silentSensorIsNotReportedAsWritten();
    void fullRefreshShowsTheFirmware();
    void cliConfigPrintsThePage();
    void cliOutputTest();
    void cliMeasureAndFactoryReset();
    void cliWithoutASensor();
    void cliValuesCarryThePagesCaptions_data();
    void cliValuesCarryThePagesCaptions();
    void cliDiagSaysWhichStatusFlagsAreSet();
};

void TstPagesOnSimBus::readChangeAndWriteAType89Sensor()
{
    SimFixture f;
    f.fill();
    QVERIFY2(f.messages.shown.isEmpty(), qPrintable(f.messages.shown.join(QLatin1Char('|'))));
    QVERIFY(f.core.model().enabled(QStringLiteral("CmdConfigWrite")));
    QVERIFY(!f.core.model().text(QStringLiteral("TextMB")).isEmpty());

    f.core.textEdited(QStringLiteral("TextIOHigh"), QStringLiteral("17.5"));
    f.write();
    QCOMPARE(f.messages.shown, QStringList{QStringLiteral("LangSensor LangConfiguration LangWritten")});
    QCOMPARE(f.sensor->parameters().number(8), 17.5);
    QVERIFY(f.heard("A1"));
    QVERIFY(f.heard("A14"));
}

void TstPagesOnSimBus::silentSensorIsNotReportedAsWritten()
{
    SimFixture f;
    f.fill();
    sim::FaultSet silence;
    silence.silence = true;
    QVERIFY(f.bus.setSensorFaults(Address, silence));
    f.write();
    QCOMPARE(f.messages.shown.last(), QStringLiteral("LangCommsError"));
    QVERIFY(!f.messages.shown.contains(QStringLiteral("LangSensor LangConfiguration LangWritten")));
    QVERIFY(!f.heard("A14"));
}

void TstPagesOnSimBus::fullRefreshShowsTheFirmware()
{
    SimFixture f;
    f.core.diagnosticsPageEntered(0, {});
    f.requests.DiagnosticsTick = 5;
    f.core.runDiagnosticsTick();  // the fifth tick after entry: full refresh
    QCOMPARE(f.core.model().text(QStringLiteral("LblVersionNumber")), QStringLiteral("QX0089 v1.12 "));
    QCOMPARE(f.core.model().text(QStringLiteral("LblChecksum")), QString::fromLatin1(f.sensor->checksumText()));
    QVERIFY(!f.core.model().text(QStringLiteral("LblElecTemp")).isEmpty());
    QVERIFY(f.core.model().enabled(QStringLiteral("cmdWater")));
    QVERIFY(f.core.model().enabled(QStringLiteral("BtnFactoryReset")));
}

void TstPagesOnSimBus::cliConfigPrintsThePage()
{
    SimFixture f;
    CliRun run(f);
    QCOMPARE(run({QStringLiteral("config"), QString::number(Address)}), 0);
    QCOMPARE(run.values.first().name, QStringLiteral("LblNameConfig"));
    QVERIFY(run.values.first().text.startsWith(QStringLiteral("LangAddress 3     ")));
    f.fill();
    for (const char* box : {"TextMB", "TextMC", "TextIOHigh", "ListOPType", "ListOPVar2"}) {
        const QString name = QString::fromLatin1(box);
        QCOMPARE(run.text(name), f.core.model().text(name));
    }
    QVERIFY(run.value(QStringLiteral("ListDSP")));
    QVERIFY(!run.value(QStringLiteral("TextSmooth")));  // hidden unless "Any" is chosen
}

void TstPagesOnSimBus::cliOutputTest()
{
    SimFixture f;
    CliRun run(f);
    QCOMPARE(run({QStringLiteral("output-test"), QString::number(Address), QStringLiteral("2560"), QStringLiteral("512")}),
             0);
    QCOMPARE(run.text(QStringLiteral("LblCurrent_0")), QStringLiteral("20.00"));
    QCOMPARE(run.text(QStringLiteral("LblCurrent_1")), QStringLiteral("4.00"));
    QVERIFY(f.heard("W31 2560"));
    QVERIFY(f.heard("W37 512"));

    QCOMPARE(run({QStringLiteral("output-test"), QString::number(Address), QStringLiteral("4096")}), 2);
    QCOMPARE(run({QStringLiteral("measure"), QString::number(Address), QStringLiteral("oil")}), 2);
}

void TstPagesOnSimBus::cliMeasureAndFactoryReset()
{
    SimFixture f;
    CliRun run(f);
    QCOMPARE(run({QStringLiteral("measure"), QString::number(Address), QStringLiteral("water")}), 0);
    QVERIFY(run.value(QStringLiteral("TextWaterFreq")));
    QVERIFY(run.value(QStringLiteral("TextWaterAmp")));  // a second-channel sensor

    QCOMPARE(run({QStringLiteral("factory-reset"), QString::number(Address)}), 0);
    QVERIFY(f.heard(QByteArray("P\x16") + f.sensor->identity()));
    QVERIFY(f.heard("A14"));
    QCOMPARE(f.messages.shown.last(), QStringLiteral("LangSensor LangConfiguration LangWritten"));
}

void TstPagesOnSimBus::cliWithoutASensor()
{
    SimFixture f;
    CliRun run(f);
    QCOMPARE(run({QStringLiteral("diag"), QStringLiteral("5")}), 1);
    QVERIFY(run.complaints.contains(QStringLiteral("no sensor answers at address 5")));
    QCOMPARE(run({QStringLiteral("diag"), QStringLiteral("17")}), 2);
}

// Each value stands under the words beside it on the page: its row's caption, then its
// column's, and the caption of its frame.
void TstPagesOnSimBus::cliValuesCarryThePagesCaptions_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("group");
    QTest::newRow("list beside its label") << "config" << "ListOPType" << QStringList{"LblOPType"} << "FrameOutput";
    QTest::newRow("row and column") << "config" << "TextHighPercent" << QStringList{"LblHighLimit", "LblValidMoisture"}
                                    << "FrameValidRange";
    QTest::newRow("the column's shown alternative") << "config" << "TextMA" << QStringList{"LblM", "QuiLabel1"}
                                                    << "FrameMatCal";
    QTest::newRow("value label") << "diag" << "LblElecTemp" << QStringList{"LblTempElec"} << "FrameTemp";
    QTest::newRow("spanning value under no column") << "diag" << "lblSensorType" << QStringList{"lblSensorTypeLabel"}
                                                    << "FrameFactory";
    QTest::newRow("name line stands alone") << "diag" << "LblNameDiag" << QStringList{} << "";
}

void TstPagesOnSimBus::cliValuesCarryThePagesCaptions()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    QFETCH(QStringList, captions);
    QFETCH(QString, group);
    SimFixture f;
    CliRun run(f);
    QCOMPARE(run({command, QString::number(Address)}), 0);
    const PageValue* v = run.value(name);
    QVERIFY(v);
    QStringList expected;
    for (const QString& caption : captions)
        expected << f.core.model().text(caption);
    QCOMPARE(v->label, expected.join(QLatin1Char(' ')));
    QCOMPARE(v->group, group.isEmpty() ? QString() : f.core.model().text(group));
    QVERIFY(!v->set.has_value());
}

void TstPagesOnSimBus::cliDiagSaysWhichStatusFlagsAreSet()
{
    SimFixture f;
    // Position 9 of parameter 69: electronics too hot (LblStatus_4); the rest clear.
    f.sensor->setStatusFlags("0000000010");
    CliRun run(f);
    QCOMPARE(run({QStringLiteral("diag"), QString::number(Address)}), 0);
    QStringList set, clear;
    for (const PageValue& v : run.values)
        if (v.set.has_value())
            (*v.set ? set : clear) << v.name;
    QCOMPARE(set, QStringList{QStringLiteral("LblStatus_4")});
    QCOMPARE(clear.size(), 4);
}

QTEST_GUILESS_MAIN(TstPagesOnSimBus)
#include "tst_pagesonsimbus.moc"
