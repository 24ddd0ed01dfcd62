// The CSV exports: a data log file (two flushes, a second header after the file went
// missing, decimal commas, "---") turned into one spreadsheet table, bytes that hold no log,
// and the trend store's samples oldest first.

#include "DatalogFixture.h"

#include "datalog/CsvExport.h"
#include "link/NumberRules.h"

#include <QTemporaryDir>
#include <QTest>

using namespace dunmere;
using namespace dunmere::test;

namespace {

QByteArray utf16Flush(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes += char(c.unicode() & 0xFF);
        bytes += char(c.unicode() >> 8);
    }
    return bytes;
}

QString header(const QString& start, const QString& title, const QString& second)
{
    return QStringLiteral(
               "#====================================================#\r\n"
               "       Dunmere: QX0068 v1.80\r\n"
               "#====================================================#\r\n"
               "Logging Start: %1\r\n"
               "Logging Every 2 Seconds\r\n"
               "\r\n"
               "Address: \t3\t\t\t\tAddress: \t%2\t\t\t\t\r\n"
               "Sensor: \tMixer\t\t\t\tSensor: \tBin, left\t\t\t\t\r\n")
               .arg(start, second)
        + QStringLiteral("x\r\n").repeated(7) + QStringLiteral("\r\n") + title + QStringLiteral("\r\n");
}

const QString Title = QStringLiteral("Time\tTime (Seconds)\tFiltered Unscaled\tMaterial Temperature °C\t\t"
                                     "Time\tTime (Seconds)\tFiltered Unscaled\tMaterial Temperature °C\t\t");

}  // namespace

class TestCsvExport : public QObject {
    Q_OBJECT
private slots:
    void init() { SetDecimalComma(false); }
    void logFileBecomesOneTable();
    void bytesWithoutAHeader();
    void trendStoreOldestFirst();
};

void TestCsvExport::logFileBecomesOneTable()
{
    const QByteArray log =
        utf16Flush(header(QStringLiteral("2026-03-04  23:59:58"), Title, QStringLiteral("7")))
        + utf16Flush(QStringLiteral("23:59:58\t0.000\t41.25\t21.4\t\t23:59:58\t0.000\t40,10\t---\t\t\r\n"
                                    "00:00:00\t2.005\t41.30\t21.5\t\t00:00:00\t2.005\t40.20\t21.6\t\t\r\n"))
        + utf16Flush(header(QStringLiteral("2026-03-05  08:00:00"), Title, QStringLiteral("8")))
        + utf16Flush(QStringLiteral("08:00:01\t1.000\t1\t2\t\t08:00:01\t1.000\t3\t4\t\t\r\n"));
    QByteArray csv;
    QString error;
    QVERIFY(LogFileCsv(log, csv, error));
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
        + QStringLiteral("Time,3 Mixer - Filtered Unscaled,3 Mixer - Material Temperature °C,"
                         "\"7 Bin, left - Filtered Unscaled\",\"7 Bin, left - Material Temperature °C\","
                         "\"8 Bin, left - Filtered Unscaled\",\"8 Bin, left - Material Temperature °C\"\r\n"
                         "2026-03-04T23:59:58.000,41.25,21.4,40.10,,,\r\n"
                         "2026-03-05T00:00:00.005,41.30,21.5,40.20,21.6,,\r\n"
                         "2026-03-05T08:00:01.000,1,2,,,3,4\r\n")
              .toUtf8();
    QCOMPARE(csv, expected);
}

void TestCsvExport::bytesWithoutAHeader()
{
    QByteArray csv;
    QString error;
    QVERIFY(!LogFileCsv(utf16Flush(QStringLiteral("just a text\r\n")), csv, error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!LogFileCsv(QByteArray("\xFF", 1), csv, error));
}

void TestCsvExport::trendStoreOldestFirst()
{
    TrendStore store;
    const QDateTime t0(QDate(2026, 1, 2), QTime(3, 4, 5));
    for (int i = 0; i < 102; ++i) {
        store.setSampleTime(t0.addSecs(i));
        store.set(0, 0, QString::number(i));
        store.set(0, 7, i == 101 ? QStringLiteral("---") : QStringLiteral("20,5"));
        store.advance();
    }
    QStringList names(ReadingCount);
    names[0] = QStringLiteral("F");
    names[7] = QStringLiteral("M");
    const QByteArray csv = TrendCsv(store, {{4, QStringLiteral("Belt")}}, names);
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines[0], QStringLiteral("Time,4 Belt - F,4 Belt - M"));
    QCOMPARE(lines.size(), 102);  // title, 100 samples, the empty rest after the last CR LF
    QCOMPARE(lines[1], QStringLiteral("2026-01-02T03:04:07.000,2,20.5"));
    QCOMPARE(lines[100], QStringLiteral("2026-01-02T03:05:46.000,101,"));
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
