// Choosing and loading a language from config.ini: the NumLangs and Language rules and what
// is written back, the text table with its case-insensitive keys and derived texts, a
// missing file, texts in other scripts through a later write, SetLanguage and the help-file
// names. The profile reader's own rules are tested with it; menus and windows are not here.

#include "ConfigFixture.h"

#include "language/LanguageLoading.h"
#include "link/Settings.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace dunmere;

namespace {

// Settings plus sections Language0..highest whose Lang is "L<n>".
QStringList configWith(const QString& numLangs, const QString& language, int sections = 3)
{
    QStringList lines{QStringLiteral("[Settings]"), QStringLiteral("Type=0")};
    if (!numLangs.isNull())
        lines << QStringLiteral("NumLangs=") + numLangs;
    if (!language.isNull())
        lines << QStringLiteral("Language=") + language;
    for (int n = 0; n < sections; ++n)
        lines << QStringLiteral("[Language%1]").arg(n) << QStringLiteral("Lang=L%1").arg(n);
    return lines;
}

QString storedLanguage() { return ReadSetting(QStringLiteral("Settings"), QStringLiteral("Language"), ConfigFilePath()); }

}  // namespace

class TestLanguageLoading : public QObject {
    Q_OBJECT
private slots:
    void highestLanguageNumber_data();
    void highestLanguageNumber();
    void languageIsValidatedAndRewritten_data();
    void languageIsValidatedAndRewritten();
    void missingSettingsFileGivesEmptyTexts();
    void keysMatchWithoutCaseAndDerivedTextsAreBuilt();
    void otherScriptsSurviveAnUnrelatedWrite();
    void setLanguageStoresAndLoads();
    void helpFileName_data();
    void helpFileName();
};

void TestLanguageLoading::highestLanguageNumber_data()
{
    QTest::addColumn<QString>("numLangs");
    QTest::addColumn<int>("highest");
    QTest::newRow("missing allows only 0") << QString() << 0;
    QTest::newRow("2") << QStringLiteral("2") << 2;
    QTest::newRow("14 is the top") << QStringLiteral("14") << 14;
    QTest::newRow("15 too high") << QStringLiteral("15") << 1;
    QTest::newRow("0 too low") << QStringLiteral("0") << 1;
    QTest::newRow("negative") << QStringLiteral("-3") << 1;
    QTest::newRow("not a number") << QStringLiteral("x") << 1;
    QTest::newRow("beyond 16 bits") << QStringLiteral("65538") << 1;
    QTest::newRow("half rounds to even") << QStringLiteral("2.5") << 2;
}

void TestLanguageLoading::highestLanguageNumber()
{
    QFETCH(QString, numLangs);
    QFETCH(int, highest);
    ConfigFixture fixture;
    fixture.writeConfig(configWith(numLangs, QStringLiteral("0"), 15));
    QCOMPARE(HighestLanguageNumber(), highest);
    const QStringList names = LanguageNames();
    QCOMPARE(names.size(), highest + 1);
    QCOMPARE(names.last(), QStringLiteral("L%1").arg(highest));
}

void TestLanguageLoading::languageIsValidatedAndRewritten_data()
{
    QTest::addColumn<QString>("numLangs");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("stored");
    QTest::newRow("3 beyond NumLangs 2") << QStringLiteral("2") << QStringLiteral("3") << 0 << QStringLiteral("0");
    QTest::newRow("2 within NumLangs 2") << QStringLiteral("2") << QStringLiteral("2") << 2 << QStringLiteral("2");
    QTest::newRow("NumLangs 15 counts as 1") << QStringLiteral("15") << QStringLiteral("2") << 0 << QStringLiteral("0");
    QTest::newRow("NumLangs x counts as 1") << QStringLiteral("x") << QStringLiteral("1") << 1 << QStringLiteral("1");
    QTest::newRow("NumLangs missing") << QString() << QStringLiteral("1") << 0 << QStringLiteral("0");
    QTest::newRow("not a number") << QStringLiteral("2") << QStringLiteral("de") << 0 << QStringLiteral("0");
    QTest::newRow("negative") << QStringLiteral("2") << QStringLiteral("-1") << 0 << QStringLiteral("0");
    QTest::newRow("missing writes nothing") << QStringLiteral("2") << QString() << 0 << QString();
}

void TestLanguageLoading::languageIsValidatedAndRewritten()
{
    QFETCH(QString, numLangs);
    QFETCH(QString, language);
    QFETCH(int, selected);
    QFETCH(QString, stored);
    ConfigFixture fixture;
    fixture.writeConfig(configWith(numLangs, language));
    LanguageTexts texts;
    LoadLanguageSettings(texts);
    QCOMPARE(texts.language(), selected);
    QCOMPARE(texts.text(QStringLiteral("Lang")), QStringLiteral("L%1").arg(selected));
    QCOMPARE(storedLanguage(), stored);
}

void TestLanguageLoading::missingSettingsFileGivesEmptyTexts()
{
    ConfigFixture fixture;
    LanguageTexts texts;
    QSignalSpy loaded(&texts, &LanguageTexts::textsLoaded);
    LoadLanguageSettings(texts);
    QCOMPARE(loaded.count(), 1);
    for (int slot = 0; slot < LanguageSlotCount; ++slot)
        QVERIFY2(texts.slotText(slot).isEmpty(), LanguageKeySlots()[slot]);
    QCOMPARE(texts.language(), 0);
    QVERIFY(!texts.brixEdition());
    QVERIFY(!QFileInfo::exists(ConfigFilePath()));
}

void TestLanguageLoading::keysMatchWithoutCaseAndDerivedTextsAreBuilt()
{
    ConfigFixture fixture;
    const QString longText(200, QLatin1Char('x'));
    fixture.writeConfig({QStringLiteral("[settings]"), QStringLiteral("TYPE=1"), QStringLiteral("numlangs=1"),
                         QStringLiteral("language=1"), QStringLiteral("[LANGUAGE1]"), QStringLiteral("langno=No"),
                         QStringLiteral("LangSensor=sensor"), QStringLiteral("LangCalibration=calibration"),
                         QStringLiteral("LangWrite=Write"), QStringLiteral("LangFailed=failed"),
                         QStringLiteral("LangInvalid=Invalid"), QStringLiteral("LangDelete=Delete"),
                         QStringLiteral("LANGRESET=Reset"), QStringLiteral("LangHelp=") + longText});
    LanguageTexts texts;
    LoadLanguageSettings(texts);
    QVERIFY(texts.brixEdition());
    QCOMPARE(texts.text(QStringLiteral("Langreset")), QStringLiteral("Reset"));
    QCOMPARE(texts.text(QStringLiteral("LANGNO")), QStringLiteral("No"));
    QCOMPARE(texts.slotText(34), QStringLiteral("No"));
    QCOMPARE(texts.slotText(35), QStringLiteral("No"));
    QCOMPARE(texts.text(QStringLiteral("LangHelp")), longText.left(149));
    QCOMPARE(texts.text(QStringLiteral("LangNotAKey")), QString());
    QCOMPARE(texts.noSensorText(), QStringLiteral("No sensor"));
    QCOMPARE(texts.noCalibrationText(), QStringLiteral("No calibration"));
    QCOMPARE(texts.writeFailedText(), QStringLiteral("Write failed"));
    QCOMPARE(texts.invalidCalibrationText(), QStringLiteral("Invalid calibration"));
    QCOMPARE(texts.deleteCalibrationQuestion(), QStringLiteral("Delete calibration?"));
}

void TestLanguageLoading::otherScriptsSurviveAnUnrelatedWrite()
{
    ConfigFixture fixture;
    const QString russian = QStringLiteral(u"Русский: датчик не отвечает");
    const QString japanese = QStringLiteral(u"日本語 センサーが応答しません");
    fixture.writeConfig({QStringLiteral("[Settings]"), QStringLiteral("NumLangs=2"), QStringLiteral("Language=1"),
                         QStringLiteral("[Language1]"), QStringLiteral("Lang=") + russian,
                         QStringLiteral("[Language2]"), QStringLiteral("Lang=") + japanese});
    LanguageTexts texts;
    LoadLanguageSettings(texts);
    QCOMPARE(texts.text(QStringLiteral("Lang")), russian);
    WriteSetting(QStringLiteral("Settings"), QStringLiteral("SearchSpeed"), QStringLiteral("2000"), ConfigFilePath());
    LoadLanguageTexts(texts);
    QCOMPARE(texts.text(QStringLiteral("Lang")), russian);
    QCOMPARE(LanguageNames(), (QStringList{QString(), russian, japanese}));
}

void TestLanguageLoading::setLanguageStoresAndLoads()
{
    ConfigFixture fixture;
    fixture.writeConfig(configWith(QStringLiteral("2"), QStringLiteral("0")));
    LanguageTexts texts;
    LoadLanguageSettings(texts);
    QSignalSpy loaded(&texts, &LanguageTexts::textsLoaded);
    QVERIFY(SetLanguage(2, texts));
    QCOMPARE(texts.text(QStringLiteral("Lang")), QStringLiteral("L2"));
    QCOMPARE(storedLanguage(), QStringLiteral("2"));
    QVERIFY(!SetLanguage(3, texts));
    QVERIFY(!SetLanguage(-1, texts));
    QCOMPARE(texts.language(), 2);
    QCOMPARE(storedLanguage(), QStringLiteral("2"));
    QCOMPARE(loaded.count(), 1);
}

void TestLanguageLoading::helpFileName_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("ownName");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("0 by its own name") << 0 << QStringLiteral("English") << QStringLiteral("English.txt");
    QTest::newRow("7 by its own name") << 7 << QStringLiteral(u"Français") << QStringLiteral(u"Français.txt");
    QTest::newRow("8 fixed") << 8 << QStringLiteral(u"Русский") << QStringLiteral("Russian.txt");
    QTest::newRow("9 fixed") << 9 << QStringLiteral(u"日本語") << QStringLiteral("Japanese.txt");
    QTest::newRow("10 fixed") << 10 << QString() << QStringLiteral("Chinese.txt");
    QTest::newRow("11 fixed") << 11 << QString() << QStringLiteral("Vietnamese.txt");
    QTest::newRow("12 fixed") << 12 << QString() << QStringLiteral("Korean.txt");
    QTest::newRow("13 by its own name") << 13 << QStringLiteral("Polski") << QStringLiteral("Polski.txt");
    QTest::newRow("empty name has no file") << 1 << QString() << QString();
    QTest::newRow("no way out of the folder") << 1 << QStringLiteral("../../etc/passwd") << QString();
}

void TestLanguageLoading::helpFileName()
{
    QFETCH(int, language);
    QFETCH(QString, ownName);
    QFETCH(QString, fileName);
    ConfigFixture fixture;
    QCOMPARE(HelpFileName(language, ownName), fileName);
    QCOMPARE(HelpFilePath(language, ownName), fileName.isEmpty() ? QString() : DataFolder() + fileName);
}

QTEST_GUILESS_MAIN(TestLanguageLoading)
#include "tst_languageloading.moc"
