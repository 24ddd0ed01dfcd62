// Access levels: the two codes and a wrong one, the level table's visibilities and MainTab's
// tab layout, log-out, the configuration lock stored in config.ini and when it bites, and the
// factory-reset question and its service. Captions of the keypad are the widgets' business.

#include "PagesFixture.h"
#include "link/Settings.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

// The key that enters a digit: Key(i) is i + 1, Key(9) is 0.
void type(PagesCore& core, const QString& code)
{
    for (const QChar c : code) {
        const int digit = c.digitValue();
        core.buttonClicked(QStringLiteral("Key_%1").arg(digit == 0 ? 9 : digit - 1));
    }
}

struct AccessFixture {
    AccessFixture() { page.select(89, 1.2); }
    bool visible(const char* name) { return page.model().visible(QString::fromLatin1(name)); }
    AccessLevels& access() { return page.core.accessLevels(); }

    PagesFixture page;
};

}  // namespace

class TstAccessLevels : public QObject {
    Q_OBJECT
private slots:
    void upgradeCodeThenFullCode();
    void wrongCodeAtTheUpgradeLevel();
    void digitsAreEvaluatedInFours();
    void resonatorStaysHiddenInDemonstration();
    void logOutReturnsToTheOperatorLevel();
    void configurationLockBitesAfterLogOut();
    void factoryResetAnsweredNo();
    void factoryResetAnsweredYesIsServedForType89();
    void factoryResetWithoutTheSensorsAcknowledgement();
};

void TstAccessLevels::upgradeCodeThenFullCode()
{
    AccessFixture f;
    QSignalSpy layout(&f.access(), &AccessLevels::layoutChanged);
    type(f.page.core, QStringLiteral("6049"));
    QVERIFY(f.visible("CmdUpgrade"));
    QVERIFY(f.visible("CmdLogOut_0"));
    QVERIFY(f.visible("FramePW"));
    QVERIFY(!f.visible("chkDisableConfig"));
    QVERIFY(!f.access().advancedTabVisible());
    QCOMPARE(f.access().tabsPerRow(), 3);
    QVERIFY(f.page.model().text(QStringLiteral("LblPW")).isEmpty());

    f.page.model().setText(QStringLiteral("TextWaterFreq"), QStringLiteral("123"));
    type(f.page.core, QStringLiteral("8251"));
    QVERIFY(!f.visible("FramePW"));
    QVERIFY(f.visible("chkDisableConfig"));
    QVERIFY(f.visible("cmdEASettings"));
    QVERIFY(f.visible("cmdResonator"));
    QVERIFY(f.access().advancedTabVisible());
    QCOMPARE(f.access().tabsPerRow(), 4);
    QVERIFY(f.page.model().text(QStringLiteral("TextWaterFreq")).isEmpty());
    QCOMPARE(layout.count(), 2);
}

void TstAccessLevels::wrongCodeAtTheUpgradeLevel()
{
    AccessFixture f;
    type(f.page.core, QStringLiteral("6049"));
    type(f.page.core, QStringLiteral("1234"));
    QVERIFY(!f.visible("CmdUpgrade"));
    QVERIFY(f.visible("CmdLogOut_0"));
    QVERIFY(f.visible("FramePW"));
    QCOMPARE(f.page.model().text(QStringLiteral("LblPW")), QStringLiteral("LangPassword LangInvalid"));
    type(f.page.core, QStringLiteral("8"));
    QCOMPARE(f.page.model().text(QStringLiteral("LblPW")), QStringLiteral("*"));
}

void TstAccessLevels::digitsAreEvaluatedInFours()
{
    AccessFixture f;
    // "18251" is the group 1825 (wrong), then 1 of a new group.
    type(f.page.core, QStringLiteral("18251"));
    QVERIFY(f.visible("FramePW"));
    QCOMPARE(f.page.model().text(QStringLiteral("LblPW")), QStringLiteral("*"));
    type(f.page.core, QStringLiteral("825"));
    QVERIFY(f.visible("FramePW"));
    type(f.page.core, QStringLiteral("8251"));
    QVERIFY(!f.visible("FramePW"));
}

void TstAccessLevels::resonatorStaysHiddenInDemonstration()
{
    AccessFixture f;
    f.page.core.setDemonstration(true);
    type(f.page.core, QStringLiteral("8251"));
    QVERIFY(!f.visible("cmdResonator"));
    QVERIFY(f.access().advancedTabVisible());
}

void TstAccessLevels::logOutReturnsToTheOperatorLevel()
{
    AccessFixture f;
    type(f.page.core, QStringLiteral("8251"));
    f.page.core.buttonClicked(QStringLiteral("CmdLogOut_1"));
    QVERIFY(f.visible("FramePW"));
    for (const char* name : {"CmdLogOut_0", "CmdUpgrade", "chkDisableConfig", "cmdEASettings", "cmdResonator"})
        QVERIFY2(!f.visible(name), name);
    QVERIFY(!f.access().advancedTabVisible());
    QCOMPARE(f.access().tabsPerRow(), 3);
}

void TstAccessLevels::configurationLockBitesAfterLogOut()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("config.ini"));
    PagesFixture f;
    PagesCore core(f.link, f.texts, &f.messages, f.requests, ini);
    QSignalSpy rerun(&core.accessLevels(), &AccessLevels::pageEntryRerun);
    type(core, QStringLiteral("8251"));
    core.checkClicked(QStringLiteral("chkDisableConfig"), true);
    QCOMPARE(rerun.count(), 1);
    QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("DisableConfig"), ini), QStringLiteral("1"));

    core.configurationPageEntered();
    QVERIFY(core.model().visible(QStringLiteral("CmdConfigWrite")));
    QVERIFY(core.model().enabled(QStringLiteral("FrameOutput")));

    core.buttonClicked(QStringLiteral("CmdLogOut_1"));
    core.configurationPageEntered();
    QVERIFY(!core.model().visible(QStringLiteral("CmdConfigWrite")));
    QVERIFY(!core.model().enabled(QStringLiteral("FrameOutput")));
    QVERIFY(!core.model().enabled(QStringLiteral("TextMB")));

    type(core, QStringLiteral("8251"));
    core.checkClicked(QStringLiteral("chkDisableConfig"), false);
    QCOMPARE(ReadSetting(QStringLiteral("Settings"), QStringLiteral("DisableConfig"), ini), QStringLiteral("0"));
}

void TstAccessLevels::factoryResetAnsweredNo()
{
    AccessFixture f;
    f.page.model().setEnabled(QStringLiteral("BtnFactoryReset"), true);
    f.page.messages.answer = false;
    f.page.core.buttonClicked(QStringLiteral("BtnFactoryReset"));
    QCOMPARE(f.page.messages.shown, QStringList{QStringLiteral("LangFactoryReset. LangConfirmation")});
    QCOMPARE(f.page.messages.lastButtons, MessageButtons::YesNo);
    QVERIFY(!f.page.requests.FactoryResetRequest);
    QVERIFY(f.page.model().enabled(QStringLiteral("BtnFactoryReset")));
}

void TstAccessLevels::factoryResetAnsweredYesIsServedForType89()
{
    AccessFixture f;
    f.page.sensor.parameters[50] = QStringLiteral("QX0089 v1.20");
    f.page.model().setEnabled(QStringLiteral("BtnFactoryReset"), true);
    f.page.core.buttonClicked(QStringLiteral("BtnFactoryReset"));
    QVERIFY(f.page.requests.FactoryResetRequest);
    QVERIFY(!f.page.model().enabled(QStringLiteral("BtnFactoryReset")));

    f.page.messages.shown.clear();
    f.page.core.runDiagnosticsTick();
    QVERIFY(!f.page.requests.FactoryResetRequest);
    QCOMPARE(f.page.sensor.received.first(), QStringLiteral("P") + QChar(0x16) + QStringLiteral("ID000001"));
    QCOMPARE(f.page.sensor.received.last(), QStringLiteral("A14"));
    QCOMPARE(f.page.messages.shown, QStringList{QStringLiteral("LangSensor LangConfiguration LangWritten")});
    QVERIFY(f.page.model().enabled(QStringLiteral("BtnFactoryReset")));
}

void TstAccessLevels::factoryResetWithoutTheSensorsAcknowledgement()
{
    AccessFixture f;
    f.page.sensor.replies[QStringLiteral("P") + QChar(0x16) + QStringLiteral("ID000001")] = {QStringLiteral("?")};
    f.page.requests.FactoryResetRequest = true;
    f.page.core.runDiagnosticsTick();
    QCOMPARE(f.page.messages.shown, QStringList{QStringLiteral("LangCommsError")});
    QVERIFY(!f.page.sensor.received.contains(QStringLiteral("A1")));
}

QTEST_GUILESS_MAIN(TstAccessLevels)
#include "tst_accesslevels.moc"
