// The calibration report byte for byte, written out by hand: the preamble, a moisture and a
// Brix record with their coefficient lines (" 0 " for an empty one), the TAB padding of the
// column header and of the dates by text length, True/False, CR LF; one byte per character in
// Windows-1252 with "?" for the rest; two exports appending two reports; an empty name and a
// file that cannot be written. Not covered: the save dialog, which the window shows.

#include "CalibrationFixture.h"
#include "calibration/CalibrationReport.h"
#include "calibration/CalibrationStore.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

const QDateTime When(QDate(2026, 3, 4), QTime(9, 5, 7));

QByteArray preamble()
{
    return "#====================================================#\r\n"
           "        Dunmere: QX0068 v1.80\r\n"
           "#====================================================#\r\n"
           "Material Calibration: "
        + QLocale().toString(When.date(), QLocale::ShortFormat).toLatin1() + "  09:05:07\r\n\r\n";
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestCalibrationReport : public QObject {
    Q_OBJECT

private slots:
    void init();
    void moistureRecordByteForByte();
    void brixRecordByteForByte();
    void headerPadding_data();
    void headerPadding();
    void windows1252_data();
    void windows1252();
    void twoExportsAppendTwoReports();
    void refusedExports();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
    CalibrationTexts texts_;
};

void TestCalibrationReport::init() { dir_ = std::make_unique<QTemporaryDir>(); }

void TestCalibrationReport::moistureRecordByteForByte()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path("calibdb.mdb")) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Sand"), texts_).done());
    CalibrationRecord r = *store.record(QStringLiteral("Sand"));
    r.cValue = QStringLiteral("-3.744");  // B stays empty
    r.ssd = QStringLiteral("12");
    r.rows[0] = {true, QStringLiteral("4 March"), QStringLiteral("40"), QStringLiteral("5")};
    r.rows[1] = {false, QStringLiteral("long note of 16 "), QStringLiteral("41.5"), QString()};
    r.rows[2] = {false, QStringLiteral("8 chars!"), QString(), QStringLiteral("7")};
    QVERIFY(store.save(r, texts_).done());

    QByteArray expected = preamble();
    expected += "Sand\r\n"
                "B\t\t\t 0 \r\n"
                "C\t\t\t-3.744\r\n"
                "SSD\t\t\t12\r\n"
                "Rules\tTrue\r\n"
                "\r\n"
                "Note\t\t\tUnscaled\t\tMoisture\t\tInclude\r\n"
                "4 March\t\t\t40\t\t\t5\t\t\tTrue\r\n"
                "long note of 16 \t41.5\t\t\t\t\t\tFalse\r\n"
                "8 chars!\t\t\t\t\t7\t\t\tFalse\r\n";
    for (int n = 4; n <= 20; ++n)
        expected += "\t\t\t\t\t\t\t\t\tFalse\r\n";
    expected += "\r\n\r\n\r\n";
    QCOMPARE(CalibrationReport(store, texts_, QStringLiteral("QX0068 v1.80"), When), expected);
}

void TestCalibrationReport::brixRecordByteForByte()
{
    CalibrationStore store(CalibrationKind::Brix);
    QVERIFY(store.open(path("brixcalibdb.mdb")) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Beet"), texts_).done());
    CalibrationRecord r = *store.record(QStringLiteral("Beet"));
    r.rows[0] = {true, QString(), QStringLiteral("45"), QStringLiteral("70.5")};
    QVERIFY(store.save(r, texts_).done());

    QByteArray expected = preamble();
    expected += "Beet\r\n"
                "A\t\t101\r\n"
                "B\t\t0.15\r\n"
                "C\t\t0.17\r\n"
                "D\t\t-2.5\r\n"
                "Error\t\t 0 \r\n"
                "\r\n"
                "Note\t\t\tUnscaled\t\tBrix\r\n"
                "\t\t\t45\t\t\t70.5\t\t\t\r\n";
    for (int n = 2; n <= 20; ++n)
        expected += "\t\t\t\t\t\t\t\t\t\r\n";
    expected += "\r\n\r\n\r\n";
    QCOMPARE(CalibrationReport(store, texts_, QStringLiteral("QX0068 v1.80"), When), expected);
}

void TestCalibrationReport::headerPadding_data()
{
    QTest::addColumn<QString>("unscaled");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("7 characters: three TABs") << "Unscald" << QByteArray("Note\t\t\tUnscald\t\t\tMoisture\t\tInclude");
    QTest::newRow("8 characters: two TABs") << "Unscaled" << QByteArray("Note\t\t\tUnscaled\t\tMoisture\t\tInclude");
    QTest::newRow("15 characters: two TABs") << "Unscaled values" << QByteArray("Note\t\t\tUnscaled values\t\tMoisture\t\tInclude");
    QTest::newRow("16 characters: one TAB") << "Unscaled values!" << QByteArray("Note\t\t\tUnscaled values!\tMoisture\t\tInclude");
    QTest::newRow("8 characters beyond the code page") << "Неmасшт" + QString(QChar(0x0431)) << QByteArray("Note\t\t\t??m?????\t\tMoisture\t\tInclude");
}

void TestCalibrationReport::headerPadding()
{
    QFETCH(QString, unscaled);
    QFETCH(QByteArray, header);
    texts_.texts[QStringLiteral("LangUnscaled")] = unscaled;
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path("calibdb.mdb")) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Sand"), texts_).done());
    const QByteArray report = CalibrationReport(store, texts_, QStringLiteral("QX0068 v1.80"), When);
    QVERIFY2(report.contains("\r\n" + header + "\r\n"), report.constData());
}

void TestCalibrationReport::windows1252_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ASCII") << "Sand 1" << QByteArray("Sand 1");
    QTest::newRow("Latin-1 range") << "Fe\u00fcchte \u00e9\u00b0" << QByteArray("Fe\xfc" "chte \xe9\xb0");
    QTest::newRow("the code page's own") << "\u20ac\u201e\u2122\u0178" << QByteArray("\x80\x84\x99\x9f");
    QTest::newRow("outside it") << "\u0142\u4e2d" << QByteArray("??");
    QTest::newRow("one character beyond the BMP") << QString::fromUcs4(U"\U0001F600x") << QByteArray("?x");
}

void TestCalibrationReport::windows1252()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ToWindows1252(text), bytes);
}

void TestCalibrationReport::twoExportsAppendTwoReports()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path("calibdb.mdb")) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Sand"), texts_).done());
    const QString file = path("Dunmere-Material Calibration.txt");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kept\r\n");
    }
    const QByteArray report = CalibrationReport(store, texts_, QStringLiteral("QX0068 v1.80"), When);
    QCOMPARE(ExportCalibrations(store, file, texts_, QStringLiteral("QX0068 v1.80"), When).code, ExportOutcome::Code::Written);
    QCOMPARE(ExportCalibrations(store, file, texts_, QStringLiteral("QX0068 v1.80"), When).code, ExportOutcome::Code::Written);
    QCOMPARE(readAll(file), "kept\r\n" + report + report);
    // A missing file is made.
    const QString fresh = path("new.txt");
    QCOMPARE(ExportCalibrations(store, fresh, texts_, QStringLiteral("QX0068 v1.80"), When).code, ExportOutcome::Code::Written);
    QCOMPARE(readAll(fresh), report);
}

void TestCalibrationReport::refusedExports()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path("calibdb.mdb")) == CalibrationStore::OpenResult::Created);
    ExportOutcome outcome = ExportCalibrations(store, QString(), texts_, QStringLiteral("QX0068 v1.80"));
    QCOMPARE(outcome.code, ExportOutcome::Code::EmptyName);
    QCOMPARE(outcome.message, QStringLiteral("Invalid Name"));
    outcome = ExportCalibrations(store, dir_->path(), texts_, QStringLiteral("QX0068 v1.80"));
    QCOMPARE(outcome.code, ExportOutcome::Code::FileError);
    QCOMPARE(outcome.message, QStringLiteral("File Error"));
    outcome = ExportCalibrations(store, path("no/folder/r.txt"), texts_, QStringLiteral("QX0068 v1.80"));
    QCOMPARE(outcome.code, ExportOutcome::Code::FileError);
}

QTEST_GUILESS_MAIN(TestCalibrationReport)
#include "tst_calibrationreport.moc"
