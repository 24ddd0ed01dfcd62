// The configuration file itself: a save from a scripted sensor against files written out by
// hand, the reader's rules (line feeds, the first "=", the language line, the coefficient
// section found by its shape, the later lines by their number), the files it refuses, and the
// conversion of value texts with the texts of the language the file was written in. The
// restore's writes are in tst_configurationrestore.

#include "ConfigFileExamples.h"
#include "ConfigFileFixture.h"
#include "configfile/ConfigurationFile.h"
#include "configfile/ConfigurationTransfer.h"
#include "language/LanguageSectionTexts.h"
#include "link/NumberRules.h"

#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct SensorCase {
    SavedSensor sensor;
    SensorLayout layout;
    int language = 0;
    QMap<int, QString> parameters;
    QMap<QString, QString> blocks;
};

SensorCase type45()
{
    SensorCase c;
    c.sensor = {1, QStringLiteral("AB12CD34"), QStringLiteral("Kiln dryer 3"), QStringLiteral("QX0045 v1.50"), 45};
    c.parameters = {{1, "1.5"},  {2, "0.2857"}, {3, "-4"},   {4, "0"},    {5, "1"},    {6, "2"},   {8, "20"},
                    {7, "0"},    {9, "1"},      {20, "0"},   {21, "25"},  {22, "0"},   {23, "100"}, {13, "2"},
                    {14, "3"},   {16, "1"},     {17, "0"},   {66, "21.5"}, {67, "22.4"}, {12, "0.015"}, {10, "720"},
                    {11, "880"}, {38, "0"}};
    c.blocks = {{QStringLiteral("\x0B"), QStringLiteral("123.45    0.5       1234      ")},
                {QStringLiteral("\x0E"), QStringLiteral("8.4       47.9     ")}};
    return c;
}

SensorCase type89Brix()
{
    SensorCase c;
    c.sensor = {3, QStringLiteral("EF56GH78"), QStringLiteral("Press line"), QStringLiteral("QX0089 v1.12"), 89};
    c.layout = {true, true};
    c.language = 2;
    c.parameters = {{25, "101"},  {26, "0.15"}, {27, "0.17"},  {28, "-2.5"},  {5, "0"},     {6, "1"},    {29, "7"},
                    {8, "20"},    {7, "0"},     {9, "0"},      {24, "3"},     {20, "1"},    {21, "30"},  {22, "5"},
                    {23, "95"},   {13, "5"},    {14, "12"},    {16, "3"},     {17, "2"},    {66, "30.1"}, {67, "29.9"},
                    {75, "55.5"}, {12, "0.015"}, {55, "0.012"}, {56, "0.008"}, {10, "720"},  {11, "880"}, {77, "2"},
                    {38, "2"},    {57, "0.5"},  {58, "0.4"},   {59, "0.3"},   {39, "1200"}, {40, "3200"}, {47, "3"},
                    {79, "16"}};
    c.blocks = {{QStringLiteral("\x0B"), QStringLiteral("456.78    0.5       2345      ")},
                {QStringLiteral("\x0E"), QStringLiteral("10.2      51.0     ")}};
    return c;
}

ReadOutcome read(const QStringList& lines) { return ReadConfigurationFile(FileBytes(lines)); }

// The value line of id in a file written out above, replaced.
QStringList withLine(QStringList lines, const QString& startsWith, const QString& replacement)
{
    for (QString& line : lines) {
        if (line.startsWith(startsWith)) {
            line = replacement;
            break;
        }
    }
    return lines;
}

}  // namespace

class TestConfigurationFile : public QObject {
    Q_OBJECT

private slots:
    void init() { SetDecimalComma(false); }

    void savedFileMatchesTheFileWrittenByHand_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("type 45") << 45 << Type45File();
        QTest::newRow("type 89, Brix row, arm type, language 2") << 89 << Type89BrixFile();
    }
    void savedFileMatchesTheFileWrittenByHand()
    {
        QFETCH(int, which);
        QFETCH(QStringList, expected);
        const SensorCase c = which == 45 ? type45() : type89Brix();
        VirtualClockScope clock;
        ScriptedSensor sensor(c.sensor.address);
        sensor.parameters = c.parameters;
        sensor.blocks = c.blocks;
        Link link;
        link.setTransport(&sensor.transport);
        KeyTexts texts;
        RecordingMessages messages;
        QTemporaryDir dir;
        const QString path = dir.filePath(c.sensor.identity + QStringLiteral(".txt"));
        TransferEnvironment env{link, texts, c.language, QString(), &messages, nullptr};
        const SaveOutcome outcome = SaveSensorConfiguration(env, c.sensor, path, [&] { return c.layout; },
                                                            QStringLiteral("11.12.26  17:00"));
        QCOMPARE(outcome, SaveOutcome::Saved);
        QVERIFY(messages.shown.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith(QByteArray("\xFF\xFE#\0=\0", 6)));
        QVERIFY(bytes.endsWith(QByteArray("\x03\0\r\0\n\0", 6)));
        QCOMPARE(bytes, FileBytes(expected));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{c.sensor.identity + QStringLiteral(".txt")});
    }

    void readerTakesTheValuesByTheirPosition()
    {
        const ReadOutcome r = read(Type89BrixFile());
        QVERIFY2(r.ok, qPrintable(r.problem));
        QCOMPARE(r.data.identity, QStringLiteral("EF56GH78"));
        QCOMPARE(r.data.language, 2);
        QCOMPARE(r.data.values.size(), 41);
        QCOMPARE(r.data.values.at(0), QStringLiteral("101.00"));
        QCOMPARE(r.data.values.at(10), QStringLiteral("LangData LangInvalid (LangOutput)"));
        QCOMPARE(r.data.values.at(16), QStringLiteral("12"));
        QCOMPARE(r.data.values.at(25), QStringLiteral("0.012"));
        QVERIFY(r.data.coefficientSection);
        QVERIFY(r.data.brixCoefficients);
        QCOMPARE(r.data.ids.mid(32), (QList<int>{DspValue, Mode1Value, AmpElectronicsValue, AmpResonatorValue,
                                                 AmpMaterialValue, AmpWaterValue, AmpAirValue, Mode2Value, ArmValue}));
        QCOMPARE(r.data.values.at(r.data.positionOf(AmpWaterValue)), QStringLiteral("1200.00"));

        const ReadOutcome small = read(Type45File());
        QVERIFY2(small.ok, qPrintable(small.problem));
        QCOMPARE(small.data.ids.mid(32), (QList<int>{Mode1Value, Mode2Value}));
        QVERIFY(!small.data.brixCoefficients);
        QCOMPARE(small.data.values.at(26), QString());  // "LangMaterial LangCoeff = " has no value
    }

    void readerRules_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("value");
        // The value is what follows the first "=", trimmed; the identity what follows ":".
        QTest::newRow("second equals sign kept") << QStringLiteral("LangHigh % = 2=0") << QStringLiteral("2=0");
        QTest::newRow("blanks trimmed") << QStringLiteral("LangHigh % =   20.00  ") << QStringLiteral("20.00");
        QTest::newRow("nothing after the equals sign") << QStringLiteral("LangHigh % =") << QString();
    }
    void readerRules()
    {
        QFETCH(QString, line);
        QFETCH(QString, value);
        const ReadOutcome r = read(withLine(Type45File(), QStringLiteral("LangHigh %"), line));
        QVERIFY2(r.ok, qPrintable(r.problem));
        QCOMPARE(r.data.values.at(7), value);
    }

    void lineFeedsBelongToTheNextLine()
    {
        // Only carriage returns end lines: a file whose lines end in CR alone reads the same, and
        // the line feed never reaches a value.
        QByteArray crOnly("\xFF\xFE", 2);
        for (const QString& line : Type45File())
            crOnly += Utf16le(line + QLatin1Char('\r'));
        crOnly += Utf16le(QStringLiteral("\x03"));
        const ReadOutcome a = ReadConfigurationFile(crOnly);
        const ReadOutcome b = read(Type45File());
        QVERIFY2(a.ok, qPrintable(a.problem));
        QCOMPARE(a.data.values, b.data.values);
        QCOMPARE(a.data.identity, b.data.identity);
    }

    void fileWithoutCoefficientSectionKeepsEveryValueInItsPlace()
    {
        QStringList lines = Type45File();
        lines.erase(lines.begin() + 11, lines.begin() + 16);  // heading and A-D
        const ReadOutcome r = read(lines);
        QVERIFY2(r.ok, qPrintable(r.problem));
        QVERIFY(!r.data.coefficientSection);
        QCOMPARE(r.data.values.mid(0, 4), QStringList(4, QString()));
        QCOMPARE(r.data.values.at(4), QStringLiteral("0-20mA (0-10V)"));
        QCOMPARE(r.data.values.at(29), QStringLiteral("720.00"));
        QCOMPARE(r.data.language, 0);
        QCOMPARE(r.data.ids.mid(32), (QList<int>{Mode1Value, Mode2Value}));
    }

    void refusesWhatIsNotAConfigurationFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QStringList good = Type45File();
        QByteArray utf8;
        for (const QString& line : good)
            utf8 += line.toUtf8() + "\r\n";
        QTest::newRow("UTF-8 text") << QByteArray(utf8 + "\x03\r\n");
        QTest::newRow("cut off before the end mark") << FileBytes(good).chopped(8 + 2 * 20);
        QTest::newRow("cut in the middle of a character") << FileBytes(good).chopped(7);
        QTest::newRow("no identity on line 7") << FileBytes(withLine(good, QStringLiteral("LangSensor: "), QStringLiteral("LangSensor")));
        QTest::newRow("fewer than 32 values") << FileBytes(good.mid(0, 40));
        QTest::newRow("a value line without =")
            << FileBytes(withLine(good, QStringLiteral("LangSlew +"), QStringLiteral("LangSlew + LangLight")));
        QTest::newRow("later lines of no sensor type")
            << FileBytes(good + QStringList{QStringLiteral("LangAmp LangWater = 1200.00"), QStringLiteral("LangAmp LangAir = 3200.00")});
        QTest::newRow("no language number")
            << FileBytes(withLine(good, QStringLiteral("LangLanguage"), QStringLiteral("LangLanguage = x")));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("byte-order mark only") << QByteArray("\xFF\xFE", 2);
    }
    void refusesWhatIsNotAConfigurationFile()
    {
        QFETCH(QByteArray, bytes);
        const ReadOutcome r = ReadConfigurationFile(bytes);
        QVERIFY(!r.ok);
        QVERIFY(!r.problem.isEmpty());
    }

    void convertsWithTheTextsOfTheFilesLanguage()
    {
        // Written in German (language 1) and read by a program that runs in English: the German
        // texts decide, the ones in use never do.
        QTemporaryDir dir;
        const QString ini = WriteLanguageFile(dir);
        QStringList lines = Type45File();
        lines = withLine(lines, QStringLiteral("LangOPType"), QStringLiteral("Ausgangstyp = Kompatibel"));
        lines = withLine(lines, QStringLiteral("LangOPVar 1"), QStringLiteral("Variable 1 = Gefiltert %"));
        lines = withLine(lines, QStringLiteral("LangOPVar 2"), QStringLiteral("Variable 2 = Roh US 2"));
        lines = withLine(lines, QStringLiteral("LangIP1"), QStringLiteral("Eingang 1 = Mittelwert halten"));
        lines = withLine(lines, QStringLiteral("LangIP2"), QStringLiteral("Eingang 2 = Leer (Eingang)"));
        lines = withLine(lines, QStringLiteral("LangSlew +"), QStringLiteral("Anstieg + = Schwer"));
        lines = withLine(lines, QStringLiteral("LangSlew -"), QStringLiteral("Anstieg - = Heavy"));
        lines = withLine(lines, QStringLiteral("LangLanguage"), QStringLiteral("Sprache = 1"));
        lines = withLine(lines, QStringLiteral("LangMeasurementMode ="), QStringLiteral("Messmodus = Modus V"));
        lines = withLine(lines, QStringLiteral("LangAvgHold"), QStringLiteral("Halten = 0,5"));
        const ReadOutcome r = read(lines);
        QVERIFY2(r.ok, qPrintable(r.problem));
        QCOMPARE(r.data.language, 1);
        const ConvertedValues v = ConvertConfigurationValues(r.data, LanguageSectionTexts(r.data.language, ini));
        QCOMPARE(v.values.at(4), QStringLiteral("2"));
        QCOMPARE(v.values.at(5), QStringLiteral("1"));
        QCOMPARE(v.values.at(6), QStringLiteral("10"));
        QCOMPARE(v.values.at(9), QStringLiteral("1"));
        QCOMPARE(v.values.at(10), QStringLiteral("1"));
        QCOMPARE(v.values.at(15), QStringLiteral("1"));  // a decimal comma matches "0.5" too
        QCOMPARE(v.values.at(17), QStringLiteral("3"));
        QCOMPARE(v.values.at(18), QStringLiteral("Heavy"));  // the English text is no German one
        QCOMPARE(v.values.at(r.data.positionOf(Mode1Value)), QStringLiteral("2"));
        QCOMPARE(v.values.at(16), QStringLiteral("3"));  // "5.0" seconds is item 3
        QCOMPARE(v.values.at(7), QStringLiteral("20.00"));  // numbers keep their text
        QVERIFY(!v.brixVariable);
    }

    void languageWithoutTextsLeavesCodedValuesAsText()
    {
        QTemporaryDir dir;
        const QString ini = WriteLanguageFile(dir);
        const ReadOutcome r = read(withLine(Type45File(), QStringLiteral("LangLanguage"), QStringLiteral("LangLanguage = 7")));
        QVERIFY(r.ok);
        const ConvertedValues v = ConvertConfigurationValues(r.data, LanguageSectionTexts(7, ini));
        QCOMPARE(v.values.at(9), QStringLiteral("LangAvgHold"));
        QCOMPARE(v.values.at(4), QStringLiteral("1"));  // fixed texts need no language
    }
};

QTEST_GUILESS_MAIN(TestConfigurationFile)
#include "tst_configurationfile.moc"
