// dunmere-cli's calibration commands as a black box: fit-moisture and fit-brix on files of
// points (header line, either separator, refused rows, the per-row fitted values and
// residuals, a comma locale), and calibrations list/show/export on stores in a temporary data
// folder (a missing store is not made). The fits and stores themselves are tested in
// tests/calibration.

#include "calibration/CalibrationStore.h"
#include "link/Messages.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

class KeyTexts final : public dunmere::TextSource {
public:
    [[nodiscard]] QString text(const QString& key) const override { return key; }
};

}  // namespace

class TestCliCalibration : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fitMoisturePrintsTheWindowsResultAndEveryRow();
    void fitMoistureStatus_data();
    void fitMoistureStatus();
    void fitMoistureOnACommaSystem();
    void fitBrixFromTheDefaultStartWithoutPoints();
    void fitBrixFromAGivenStartFindsItsPoints();
    void usageErrors_data();
    void usageErrors();
    void storeCommands();
    void missingStoreIsNotMade();
    void writeCalibrationToASimulatedSensor();

private:
    Run run(const QStringList& arguments, const QString& locale = QStringLiteral("C"));
    QString write(const QString& name, const QByteArray& contents);
    QString storePath(const QString& file) const { return dir_->path() + QStringLiteral("/Quelmar/Dunmere/") + file; }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestCliCalibration::init() { dir_ = std::make_unique<QTemporaryDir>(); }

Run TestCliCalibration::run(const QStringList& arguments, const QString& locale)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ALLUSERSPROFILE"), dir_->path());
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("LANG"), locale);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(DUNMERE_CLI), arguments);
    Run r;
    if (!process.waitForFinished(60000))
        return r;
    r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QString TestCliCalibration::write(const QString& name, const QByteArray& contents)
{
    const QString path = dir_->filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(contents);
    return path;
}

void TestCliCalibration::fitMoisturePrintsTheWindowsResultAndEveryRow()
{
    const QString file = write("points.txt", "include;date;unscaled;lab\n"
                                             "1;4 March;40;5\n"
                                             "yes;5 March;101;6\n"
                                             "0;;;\n");
    const Run r = run({"fit-moisture", file});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("LblCalB = 0.2186\n"
                                   "LblCalC = -3.744\n"
                                   "LblMatStatus = Too little spread for a fit: the average slope 0.2186 is used. "
                                   "Add samples over a wider moisture range.\n"
                                   "1\t5.00\t0.00\n"
                                   "2\t-\t-\tunticked\n"
                                   "3\t-\t-\n"));
}

void TestCliCalibration::fitMoistureStatus_data()
{
    QTest::addColumn<QByteArray>("points");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("head");
    QTest::newRow("no rows") << QByteArray("0;;40;5\n") << QStringList{} << 1
                             << "LblCalB = \nLblCalC = \nLblMatStatus = Invalid Calibration\n";
    QTest::newRow("rules off, equal unscaled") << QByteArray("1;;40;5\n1;;40;7\n") << QStringList{"--no-rules"} << 0
                                               << "LblCalB = 0.00\nLblCalC = 0.00\nLblMatStatus = \n";
    QTest::newRow("either separator in the file") << QByteArray("1;;10;6\n1;;20,0;36.0\n") << QStringList{} << 0
                                                  << "LblCalB = 3.00\nLblCalC = -24.00\nLblMatStatus = Warning: slope outside";
}

void TestCliCalibration::fitMoistureStatus()
{
    QFETCH(QByteArray, points);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, head);
    const Run r = run(QStringList{"fit-moisture", write("p.txt", points)} + options);
    QCOMPARE(r.status, status);
    QVERIFY2(r.out.startsWith(head), qPrintable(r.out));
}

void TestCliCalibration::fitMoistureOnACommaSystem()
{
    const QString file = write("points.txt", "1;;40;5\n1;;41.5;5,2\n");
    const Run r = run({"fit-moisture", file}, QStringLiteral("de_DE.UTF-8"));
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("LblCalB = 0,2186\nLblCalC = -3,808\n")), qPrintable(r.out));
    QVERIFY(r.out.contains(QStringLiteral("\n2\t5,26\t-0,06\n")));
}

void TestCliCalibration::fitBrixFromTheDefaultStartWithoutPoints()
{
    const Run r = run({"fit-brix", write("none.txt", "include;date;unscaled;lab\n0;;45;70\n")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("lblCalA = 101.0008\nlblCalB = 0.1500\nlblCalC = 0.1700\nlblCalcD = -2.5000\n"
                                   "LblErrorValue = 0\n1\t-\t-\n"));
}

void TestCliCalibration::fitBrixFromAGivenStartFindsItsPoints()
{
    // Brix = 100 - 0.5 e^(0.12 u) / 100000 - 3 u^2 / 1000 at u = 20, 40, 60.
    const QString file = write("beet.txt", "1;;20;98.79995\n1;;40;95.19939\n1;;60;89.19329\n");
    const Run r = run({"fit-brix", file, "--start", "100,0.5,0.12,-3"});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 8);
    QVERIFY2(lines[4].startsWith(QStringLiteral("LblErrorValue = 0.000")), qPrintable(lines[4]));
    QVERIFY2(lines[6].startsWith(QStringLiteral("2\t95.20\t")), qPrintable(lines[6]));
}

void TestCliCalibration::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no file") << QStringList{"fit-moisture"};
    QTest::newRow("missing file") << QStringList{"fit-moisture", "/nonexistent/points.txt"};
    QTest::newRow("unknown option") << QStringList{"fit-moisture", "FILE", "--rules"};
    QTest::newRow("bad start") << QStringList{"fit-brix", "FILE", "--start", "1,2,3"};
    QTest::newRow("start with commas as separators") << QStringList{"fit-brix", "FILE", "--start", "101,0,15,0,17,-2,5"};
    QTest::newRow("malformed row") << QStringList{"fit-moisture", "BAD"};
    QTest::newRow("21 rows") << QStringList{"fit-moisture", "MANY"};
    QTest::newRow("calibrations without a verb") << QStringList{"calibrations"};
    QTest::newRow("show without a name") << QStringList{"calibrations", "show"};
}

void TestCliCalibration::usageErrors()
{
    QFETCH(QStringList, arguments);
    const QString good = write("good.txt", "1;;40;5\n");
    const QString bad = write("bad.txt", "1;;40;5\n1;40;5\n");
    QByteArray many;
    for (int i = 0; i < 21; ++i)
        many += "1;;40;5\n";
    const QString manyRows = write("many.txt", many);
    arguments.replaceInStrings(QStringLiteral("FILE"), good);
    arguments.replaceInStrings(QStringLiteral("BAD"), bad);
    arguments.replaceInStrings(QStringLiteral("MANY"), manyRows);
    const Run r = run(arguments);
    QCOMPARE(r.status, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY(r.err.contains(QStringLiteral("Usage: dunmere-cli ")));
}

void TestCliCalibration::storeCommands()
{
    QVERIFY(QDir().mkpath(dir_->path() + QStringLiteral("/Quelmar/Dunmere")));
    {
        KeyTexts texts;
        dunmere::CalibrationStore moisture(dunmere::CalibrationKind::Moisture);
        QVERIFY(moisture.open(storePath("calibdb.mdb")) == dunmere::CalibrationStore::OpenResult::Created);
        QVERIFY(moisture.add(QStringLiteral("Sand"), texts).done());
        QVERIFY(moisture.add(QStringLiteral("Gravel"), texts).done());
        dunmere::CalibrationRecord r = *moisture.record(QStringLiteral("Gravel"));
        r.bValue = QStringLiteral("0.2186");
        r.rows[0] = {true, QStringLiteral("note"), QStringLiteral("40"), QStringLiteral("5")};
        QVERIFY(moisture.save(r, texts).done());
        dunmere::CalibrationStore brix(dunmere::CalibrationKind::Brix);
        QVERIFY(brix.open(storePath("brixcalibdb.mdb")) == dunmere::CalibrationStore::OpenResult::Created);
        QVERIFY(brix.add(QStringLiteral("Beet"), texts).done());
    }
    Run r = run({"calibrations", "list"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("Sand\nGravel\n"));
    r = run({"calibrations", "--brix", "list"});
    QCOMPARE(r.out, QStringLiteral("Beet\n"));

    r = run({"calibrations", "show", "Gravel"});
    QCOMPARE(r.status, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 86);
    QCOMPARE(lines.mid(0, 10), (QStringList{"ID = Gravel", "B Value = 0.2186", "C Value = ", "SSD = ", "Error = ", "Rules = True",
                                            "Check 1 = True", "Date 1 = note", "US 1 = 40", "M 1 = 5"}));
    QCOMPARE(run({"calibrations", "show", "Clay"}).status, 1);

    const QString report = dir_->filePath("report.txt");
    QCOMPARE(run({"calibrations", "export", report}).status, 0);
    QCOMPARE(run({"calibrations", "export", report}).status, 0);
    QFile f(report);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QCOMPARE(bytes.count("        Dunmere: QX0068 v1.80\r\n"), 2);
    QCOMPARE(bytes.count("\r\nGravel\r\nB\t\t\t0.2186\r\nC\t\t\t 0 \r\n"), 2);
    QCOMPARE(run({"calibrations", "export", dir_->path()}).status, 1);
}

void TestCliCalibration::missingStoreIsNotMade()
{
    const Run r = run({"calibrations", "list"});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains(QStringLiteral("no calibration store")));
    QVERIFY(!QFileInfo::exists(storePath("calibdb.mdb")));
}

void TestCliCalibration::writeCalibrationToASimulatedSensor()
{
    QVERIFY(QDir().mkpath(dir_->path() + QStringLiteral("/Quelmar/Dunmere")));
    {
        KeyTexts texts;
        dunmere::CalibrationStore store(dunmere::CalibrationKind::Moisture);
        QVERIFY(store.open(storePath("calibdb.mdb")) == dunmere::CalibrationStore::OpenResult::Created);
        for (const char* name : {"Gravel", "Broken"}) {
            QVERIFY(store.add(QString::fromLatin1(name), texts).done());
            dunmere::CalibrationRecord r = *store.record(QString::fromLatin1(name));
            r.bValue = name == QByteArray("Gravel") ? QStringLiteral("0.2186") : QStringLiteral("abc");
            r.cValue = QStringLiteral("-3.744");
            QVERIFY(store.save(r, texts).done());
        }
    }
    const QStringList bus{"--simulate", "1:89"};
    // Without --yes: what would be written, and nothing sent.
    Run r = run(bus + QStringList{"write-calibration", "1", "--moisture", "Gravel"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QStringLiteral("W1 = 0.0000\nW2 = 0.2186\nW3 = -3.744\n"));
    QVERIFY(r.err.contains(QStringLiteral("--yes")));

    r = run(bus + QStringList{"write-calibration", "1", "--moisture", "Gravel", "--yes"});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.startsWith(QStringLiteral("LblCurrentB = 0.2186\nLblCurrentC = -3.744\n")), qPrintable(r.out + r.err));

    r = run(bus + QStringList{"write-calibration", "1", "--moisture", "Broken", "--yes"});
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains(QStringLiteral("Invalid B Value")), qPrintable(r.err));

    QCOMPARE(run(bus + QStringList{"write-calibration", "1", "--moisture", "Clay", "--yes"}).status, 1);
    QCOMPARE(run({"write-calibration", "1", "--moisture", "Gravel", "--yes"}).status, 2);  // no bus

    r = run(bus + QStringList{"averaging", "1", "start"});
    QCOMPARE(r.status, 0);
    QVERIFY(!r.out.trimmed().isEmpty());
    QCOMPARE(run(bus + QStringList{"averaging", "9", "stop"}).status, 1);  // nobody at 9
    QCOMPARE(run(bus + QStringList{"averaging", "1", "pause"}).status, 2);
}

QTEST_GUILESS_MAIN(TestCliCalibration)
#include "tst_clicalibration.moc"
