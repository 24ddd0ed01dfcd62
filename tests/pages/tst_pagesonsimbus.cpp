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
    QString out, err;
    QTextStream o(&out), e(&err);
    CliPageEnvironment env{f.link, f.texts, f.messages, o, e};
    QCOMPARE(RunPageCommand(env, {QStringLiteral("config"), QString::number(Address)}), 0);
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.first().startsWith(QStringLiteral("LblNameConfig = LangAddress 3     ")));
    f.fill();
    for (const char* box : {"TextMB", "TextMC", "TextIOHigh", "ListOPType", "ListOPVar2"}) {
        const QString name = QString::fromLatin1(box);
        QVERIFY2(lines.contains(name + QStringLiteral(" = ") + f.core.model().text(name)), box);
    }
    QVERIFY(out.contains(QStringLiteral("ListDSP = ")));
    QVERIFY(!out.contains(QStringLiteral("TextSmooth = ")));  // hidden unless "Any" is chosen
}

void TstPagesOnSimBus::cliOutputTest()
{
    SimFixture f;
    QString out, err;
    QTextStream o(&out), e(&err);
    CliPageEnvironment env{f.link, f.texts, f.messages, o, e};
    QCOMPARE(RunPageCommand(env, {QStringLiteral("output-test"), QString::number(Address), QStringLiteral("2560"),
                                  QStringLiteral("512")}),
             0);
    QVERIFY(out.contains(QStringLiteral("LblCurrent_0 = 20.00")));
    QVERIFY(out.contains(QStringLiteral("LblCurrent_1 = 4.00")));
    QVERIFY(f.heard("W31 2560"));
    QVERIFY(f.heard("W37 512"));

    QCOMPARE(RunPageCommand(env, {QStringLiteral("output-test"), QString::number(Address), QStringLiteral("4096")}), 2);
    QCOMPARE(RunPageCommand(env, {QStringLiteral("measure"), QString::number(Address), QStringLiteral("oil")}), 2);
}

void TstPagesOnSimBus::cliMeasureAndFactoryReset()
{
    SimFixture f;
    QString out, err;
    QTextStream o(&out), e(&err);
    CliPageEnvironment env{f.link, f.texts, f.messages, o, e};
    QCOMPARE(RunPageCommand(env, {QStringLiteral("measure"), QString::number(Address), QStringLiteral("water")}), 0);
    QVERIFY(out.contains(QStringLiteral("TextWaterFreq = ")));
    QVERIFY(out.contains(QStringLiteral("TextWaterAmp = ")));  // a second-channel sensor

    QCOMPARE(RunPageCommand(env, {QStringLiteral("factory-reset"), QString::number(Address)}), 0);
    QVERIFY(f.heard(QByteArray("P\x16") + f.sensor->identity()));
    QVERIFY(f.heard("A14"));
    QCOMPARE(f.messages.shown.last(), QStringLiteral("LangSensor LangConfiguration LangWritten"));
}

void TstPagesOnSimBus::cliWithoutASensor()
{
    SimFixture f;
    QString out, err;
    QTextStream o(&out), e(&err);
    CliPageEnvironment env{f.link, f.texts, f.messages, o, e};
    QCOMPARE(RunPageCommand(env, {QStringLiteral("diag"), QStringLiteral("5")}), 1);
    QVERIFY(err.contains(QStringLiteral("no sensor answers at address 5")));
    QCOMPARE(RunPageCommand(env, {QStringLiteral("diag"), QStringLiteral("17")}), 2);
}

QTEST_GUILESS_MAIN(TstPagesOnSimBus)
#include "tst_pagesonsimbus.moc"
