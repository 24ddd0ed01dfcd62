// Restoring a configuration file into a sensor, and the comparison before it: which
// parameters get which values in which order, the factory references only onto the sensor the
// file came from, where the coefficients go, one failure message after all writes, values that
// are no values never sent, files refused before anything is sent, the replace question and a
// failed save that leaves the old file whole. The file format itself is in
// tst_configurationfile.

#include "ConfigFileExamples.h"
#include "ConfigFileFixture.h"
#include "configfile/ConfigurationTransfer.h"
#include "link/NumberRules.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace dunmere;
using namespace dunmere::test;

namespace {

const QString UploadFailed = QStringLiteral("Upload Failed Please Retry");

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

// A sensor, its link, the message window, a folder with config.ini and the file to restore.
struct Bench {
    VirtualClockScope clock;
    ScriptedSensor sensor{3};
    Link link;
    KeyTexts texts;
    RecordingMessages messages;
    QTemporaryDir dir;
    QString ini = WriteLanguageFile(dir);
    TransferEnvironment env{link, texts, 0, ini, &messages, nullptr};

    explicit Bench(const QString& identity = QStringLiteral("ZZ99ZZ99"))
    {
        sensor.identification = identity + QStringLiteral(" Replacement         ");
        link.setTransport(&sensor.transport);
    }
    QString file(const QStringList& lines) { return bytes(FileBytes(lines)); }
    QString bytes(const QByteArray& content)
    {
        const QString path = dir.filePath(QStringLiteral("restore.txt"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    RestoreOutcome restore(const QString& path, std::optional<RestoreCheck> check = std::nullopt)
    {
        return RestoreSensorConfiguration(env, 3, path, check);
    }
};

const QList<int> type89Order = {25, 26, 27, 28, 5, 6, 29, 8, 7, 9, 24, 20, 21, 22, 23, 13, 14, 16, 17, 66, 67, 75, 12, 55, 56};

}  // namespace

class TestConfigurationRestore : public QObject {
    Q_OBJECT

private slots:
    void init() { SetDecimalComma(false); }

    void factoryReferencesOnlyOntoTheSameSensor_data()
    {
        QTest::addColumn<QString>("identity");
        QTest::addColumn<QList<int>>("written");
        QTest::newRow("another sensor") << QStringLiteral("ZZ99ZZ99")
                                        << type89Order + QList<int>{77, 38, 57, 58, 59, 47, 79};
        QTest::newRow("the same sensor") << QStringLiteral("EF56GH78")
                                         << type89Order + QList<int>{10, 11, 77, 38, 57, 58, 59, 39, 40, 47, 79};
    }
    void factoryReferencesOnlyOntoTheSameSensor()
    {
        QFETCH(QString, identity);
        QFETCH(QList<int>, written);
        Bench b(identity);
        QCOMPARE(b.restore(b.file(Type89BrixFile())), RestoreOutcome::Restored);
        QCOMPARE(b.sensor.writtenParameters(), written);
        QVERIFY(b.messages.shown.isEmpty());
        // The restore's own command form, with a blank after the W; codes for the coded texts.
        const QStringList expected = {QStringLiteral("W 25 101.00"), QStringLiteral("W 5 0"), QStringLiteral("W 29 7"),
                                      QStringLiteral("W 24 3"),      QStringLiteral("W 13 5"), QStringLiteral("W 14 12"),
                                      QStringLiteral("W 16 3"),      QStringLiteral("W 77 2"), QStringLiteral("W 38 2"),
                                      QStringLiteral("W 47 3"),      QStringLiteral("W 79 16"), QStringLiteral("W 75 55.5")};
        for (const QString& command : expected)
            QVERIFY2(b.sensor.received.contains(command), qPrintable(command));
        // The identity is asked after the coefficients, before the rest.
        QCOMPARE(b.sensor.received.indexOf(QStringLiteral("P\x01")), 4);
    }

    void coefficientsGoWhereTheirSectionSays_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("output1");
        QTest::addColumn<QString>("output2");
        QTest::addColumn<QList<int>>("coefficients");
        const QList<int> brix = {25, 26, 27, 28};
        const QList<int> moisture = {1, 2, 3, 4};
        QTest::newRow("Brix section, output 2 Brix, output 1 moisture")
            << "Brix LangCoeff" << "LangFiltered %" << "Brix" << brix;
        QTest::newRow("Brix section, both outputs moisture (Fayline kind)")
            << "Brix LangCoeff" << "LangFiltered %" << "LangAvg %" << brix;
        // Read from 1-4 although an output reads Brix: they go back to 1-4.
        QTest::newRow("moisture section, output 1 Brix") << "LangMoisture % LangCoeff " << "Brix" << "LangAvg %" << moisture;
    }
    void coefficientsGoWhereTheirSectionSays()
    {
        QFETCH(QString, heading);
        QFETCH(QString, output1);
        QFETCH(QString, output2);
        QFETCH(QList<int>, coefficients);
        Bench b;
        QStringList lines = withLine(Type89BrixFile(), QStringLiteral("Brix LangCoeff"), heading);
        lines = withLine(lines, QStringLiteral("LangOPVar 1"), QStringLiteral("LangOPVar 1 = ") + output1);
        lines = withLine(lines, QStringLiteral("LangOPVar 2"), QStringLiteral("LangOPVar 2 = ") + output2);
        QCOMPARE(b.restore(b.file(lines)), RestoreOutcome::Restored);
        QCOMPARE(b.sensor.writtenParameters().mid(0, 4), coefficients);
        QCOMPARE(b.sensor.written(coefficients.at(3)), QStringLiteral("-2.50"));
    }

    void oneRefusalGivesOneMessageAfterAllWrites_data()
    {
        QTest::addColumn<int>("refused");
        QTest::addColumn<bool>("failed");
        QTest::newRow("a setting") << 8 << true;
        // Sensors keep their readings to themselves: refusing one loses no setting.
        QTest::newRow("a temperature read when saved") << 66 << false;
    }

    void oneRefusalGivesOneMessageAfterAllWrites()
    {
        QFETCH(int, refused);
        QFETCH(bool, failed);
        Bench b;
        b.sensor.refused = {refused};
        QCOMPARE(b.restore(b.file(Type89BrixFile())), failed ? RestoreOutcome::WriteFailed : RestoreOutcome::Restored);
        QCOMPARE(b.messages.shown, failed ? QStringList{UploadFailed} : QStringList{});
        QCOMPARE(b.sensor.writtenParameters().size(), type89Order.size() + 7);
    }

    void noValueIsNeverSent()
    {
        // The type-45 file has "---" for the material temperature and empty temperature
        // coefficients; an edited file has -99 and a text no code matches.
        Bench b;
        QStringList lines = withLine(Type45File(), QStringLiteral("LangHigh %"), QStringLiteral("LangHigh % = -99"));
        lines = withLine(lines, QStringLiteral("LangIP1"), QStringLiteral("LangIP1 = Something else"));
        QCOMPARE(b.restore(b.file(lines)), RestoreOutcome::WriteFailed);
        const QList<int> written = b.sensor.writtenParameters();
        for (int notSent : {8, 9, 75, 55, 56})
            QVERIFY2(!written.contains(notSent), qPrintable(QString::number(notSent)));
        QVERIFY(written.contains(7));
        QCOMPARE(b.messages.shown, QStringList{UploadFailed});
        for (const QString& command : b.sensor.received)
            QVERIFY2(!command.contains(QLatin1String("---")), qPrintable(command));
    }

    void fileWithoutCoefficientSectionRestoresEveryValueOntoItsParameter()
    {
        Bench b(QStringLiteral("AB12CD34"));
        QStringList lines = Type45File();
        lines.erase(lines.begin() + 11, lines.begin() + 16);
        b.restore(b.file(lines));
        const QList<int> written = b.sensor.writtenParameters();
        QCOMPARE(written.mid(0, 5), (QList<int>{5, 6, 29, 8, 7}));
        QCOMPARE(b.sensor.written(5), QStringLiteral("1"));
        QCOMPARE(b.sensor.written(8), QStringLiteral("20.00"));
        QCOMPARE(b.sensor.written(10), QStringLiteral("720.00"));
        QCOMPARE(b.sensor.written(38), QStringLiteral("0"));
        QCOMPARE(b.sensor.written(47), QStringLiteral("0"));
        for (int none : {1, 2, 3, 4, 25})
            QVERIFY(!written.contains(none));
    }

    void decimalCommaFileGoesOutWithPoints()
    {
        SetDecimalComma(true);
        Bench b;
        QStringList lines = withLine(Type89BrixFile(), QStringLiteral("A ="), QStringLiteral("A = 101,25"));
        lines = withLine(lines, QStringLiteral("LangAvgHold"), QStringLiteral("LangAvgHold LangDelay = 1,5"));
        b.restore(b.file(lines));
        QCOMPARE(b.sensor.written(25), QStringLiteral("101.25"));
        QCOMPARE(b.sensor.written(13), QStringLiteral("3"));
        QCOMPARE(b.sensor.written(56), QStringLiteral("0.008"));
    }

    void refusedFileSendsNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("cut short") << FileBytes(Type89BrixFile()).left(900);
        QTest::newRow("another text file") << QByteArray("\xFF\xFEh\0e\0l\0l\0o\0", 12);
    }
    void refusedFileSendsNothing()
    {
        QFETCH(QByteArray, content);
        Bench b;
        QCOMPARE(b.restore(b.bytes(content)), RestoreOutcome::Refused);
        QVERIFY(b.sensor.received.isEmpty());
        QCOMPARE(b.messages.shown.size(), 1);
        QVERIFY(b.messages.shown.first().startsWith(QStringLiteral("LangFile LangInvalid: ")));
    }

    void comparisonNamesExactlyTheValuesThatDiffer()
    {
        const ReadOutcome a = ReadConfigurationFile(FileBytes(Type89BrixFile()));
        QStringList changed = withLine(Type89BrixFile(), QStringLiteral("LangHigh %"), QStringLiteral("LangHigh % = 21"));
        changed = withLine(changed, QStringLiteral("LangSlew +"), QStringLiteral("LangSlew + = LangNone"));
        changed = withLine(changed, QStringLiteral("LangLow %"), QStringLiteral("LangLow % = 0"));  // same number
        changed = withLine(changed, QStringLiteral("LangElectronic LangTemperature"),
                           QStringLiteral("LangElectronic LangTemperature = 12.0"));  // measured, not compared
        changed = withLine(changed, QStringLiteral("LangAmp LangWater"), QStringLiteral("LangAmp LangWater = 1"));
        const ReadOutcome c = ReadConfigurationFile(FileBytes(changed));
        QVERIFY(a.ok && c.ok);
        KeyTexts texts;
        const ConvertedValues av = ConvertConfigurationValues(a.data, texts);
        const ConvertedValues cv = ConvertConfigurationValues(c.data, texts);
        const auto other = CompareConfigurations(a.data, av, c.data, cv, false, texts);
        QCOMPARE(DifferenceSummary(other), QStringLiteral("2 values differ: LangHigh %, LangSlew +"));
        const auto same = CompareConfigurations(a.data, av, c.data, cv, true, texts);
        QCOMPARE(DifferenceSummary(same), QStringLiteral("3 values differ: LangHigh %, LangSlew +, LangAmp LangWater"));
        QCOMPARE(same.first().restored, QStringLiteral("20.00"));
        QCOMPARE(same.first().present, QStringLiteral("21"));
        QVERIFY(CompareConfigurations(a.data, av, a.data, av, true, texts).isEmpty());
    }

    void comparisonBeforeRestoreMayCancel_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("OK writes") << true;
        QTest::newRow("Cancel writes nothing") << false;
    }
    void comparisonBeforeRestoreMayCancel()
    {
        QFETCH(bool, answer);
        Bench b(QStringLiteral("EF56GH78"));
        b.sensor.parameters = {{25, "101"}, {26, "0.15"}, {27, "0.17"}, {28, "-2.5"}, {5, "0"},    {6, "1"},
                               {29, "7"},   {8, "25"},    {7, "0"},     {9, "0"},     {24, "3"},   {20, "1"},
                               {21, "30"},  {22, "5"},    {23, "95"},   {13, "5"},    {14, "12"},  {16, "1"},
                               {17, "2"},   {12, "0.015"}, {55, "0.012"}, {56, "0.008"}, {10, "720"}, {11, "880"},
                               {77, "2"},   {38, "2"},    {57, "0.5"},  {58, "0.4"},  {59, "0.3"}, {39, "1200"},
                               {40, "3200"}, {47, "3"},   {79, "16"}};
        b.messages.answer = answer;
        const RestoreCheck check{{3, QStringLiteral("EF56GH78"), QStringLiteral("Press line"), QStringLiteral("QX0089 v1.12"), 89},
                                 true};
        const RestoreOutcome outcome = b.restore(b.file(Type89BrixFile()), check);
        QCOMPARE(b.messages.shown.value(0), QStringLiteral("2 values differ: LangHigh %, LangSlew +"));
        QCOMPARE(b.messages.asked.value(0), MessageButtons::OkCancel);
        QCOMPARE(outcome, answer ? RestoreOutcome::Restored : RestoreOutcome::Cancelled);
        QCOMPARE(b.sensor.writes.isEmpty(), !answer);
    }

    void savingTwiceAsksAndNoKeepsTheFirstFile()
    {
        Bench b(QStringLiteral("AB12CD34"));
        b.sensor.parameters = {{2, "0.3"}, {3, "-4"}};
        const QString path = b.dir.filePath(QStringLiteral("AB12CD34.txt"));
        const QByteArray first("first file, whatever it holds");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(first);
        f.close();
        const SavedSensor sensor{3, QStringLiteral("AB12CD34"), QStringLiteral("Kiln"), QStringLiteral("QX0045 v1.50"), 45};
        b.messages.answer = false;
        QCOMPARE(SaveSensorConfiguration(b.env, sensor, path, {}, QStringLiteral("now")), SaveOutcome::NotReplaced);
        QCOMPARE(b.messages.shown, QStringList{QStringLiteral("LangReplace") + path + QLatin1Char('?')});
        QCOMPARE(b.messages.asked.value(0), MessageButtons::YesNo);
        QVERIFY(b.sensor.received.isEmpty());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), first);
        f.close();

        b.messages.answer = true;
        SaveSensorConfiguration(b.env, sensor, path, {}, QStringLiteral("now"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("\xFF\xFE#"));
    }

    void failedSaveLeavesTheOldFileWhole()
    {
        Bench b;
        const QString folder = b.dir.filePath(QStringLiteral("configs"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/ZZ99ZZ99.txt");
        const QByteArray old = FileBytes(Type45File());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(old);
        f.close();
        // Mid-way through the save the folder stops taking changes: read-only, and immutable
        // where the tests run as root.
        bool locked = false;
        const auto lock = [&] {
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (geteuid() == 0)
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder});
            QFile probe(folder + QStringLiteral("/probe"));
            locked = !probe.open(QIODevice::WriteOnly);
            return SensorLayout{};
        };
        const SavedSensor sensor{3, QStringLiteral("ZZ99ZZ99"), QStringLiteral("Spare"), QStringLiteral("QX0045 v1.50"), 45};
        const SaveOutcome outcome = SaveSensorConfiguration(b.env, sensor, path, lock, QStringLiteral("now"));
        if (geteuid() == 0)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), folder});
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!locked)
            QSKIP("this file system cannot lock the folder");
        QCOMPARE(outcome, SaveOutcome::FileError);
        QCOMPARE(b.messages.shown.last(), QStringLiteral("LangFile LangError"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    }
};

QTEST_GUILESS_MAIN(TestConfigurationRestore)
#include "tst_configurationrestore.moc"
