// The two calibration stores on real SQLite files in a temporary data folder: the table as
// SQLite itself describes it (columns in order, declared types and sizes, the primary key),
// adding with each kind's defaults, NULL for empty texts, saving and reading back, the natural
// order and the 501 limit, duplicates in any letter case, names and texts longer than their
// columns, deleting down to the first-calibration state, files that are not stores (left
// untouched), and a writer killed in the middle of its saves. Not covered: two programs
// writing one store at once (SQLite's own locking).

#include "CalibrationFixture.h"
#include "calibration/CalibrationStore.h"
#include "link/NumberRules.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace dunmere;
using namespace dunmere::test;

namespace {

struct Column {
    QString name;
    QString type;
    bool key = false;
};

// The documented tables, written out by hand.
QList<Column> expectedColumns(bool brix)
{
    QList<Column> columns{{"ID", "TEXT(255)", true}};
    if (brix)
        columns << Column{"A Value", "TEXT(255)"};
    columns << Column{"B Value", "TEXT(255)"} << Column{"C Value", "TEXT(255)"} << Column{"SSD", "TEXT(255)"}
            << Column{"Error", "TEXT(255)"};
    if (brix)
        columns << Column{"totsqrerror", "TEXT(255)"} << Column{"Rules1", "BOOLEAN"} << Column{"Rules2", "BOOLEAN"};
    else
        columns << Column{"Rules", "BOOLEAN"};
    const QString point = brix ? QStringLiteral("TEXT(50)") : QStringLiteral("TEXT(255)");
    for (int n = 1; n <= 20; ++n)
        columns << Column{QStringLiteral("Check %1").arg(n), "BOOLEAN"} << Column{QStringLiteral("Date %1").arg(n), "TEXT(50)"}
                << Column{QStringLiteral("US %1").arg(n), point} << Column{QStringLiteral("M %1").arg(n), point};
    return columns;
}

// A plain connection of the test's own, to see the file as any SQLite reader does.
class RawDatabase {
public:
    explicit RawDatabase(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        ok_ = db.open();
    }
    ~RawDatabase()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("raw"), false);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    }
    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] QSqlQuery query(const QString& sql) const
    {
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("raw"), false));
        q.exec(sql);
        return q;
    }

private:
    bool ok_ = false;
};

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

}  // namespace

class TestCalibrationStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SetDecimalComma(false); }

    void firstUseCreatesTheDocumentedTable_data();
    void firstUseCreatesTheDocumentedTable();
    void storesLiveInTheDataFolder();
    void addGivesEachKindItsDefaults_data();
    void addGivesEachKindItsDefaults();
    void savedRecordReadsBackWithNullForEmptyTexts();
    void namesListInCreationOrderAndFillSelectsFirstOrLast();
    void refusedNames_data();
    void refusedNames();
    void fiveHundredAndSecondIsRefused();
    void tooLongTextRefusesTheWholeSave();
    void deletingTheOnlyRecordReturnsTheFirstCalibrationState();
    void fileThatIsNotAStoreIsLeftAsItIs_data();
    void fileThatIsNotAStoreIsLeftAsItIs();
    void missingFolderGivesMissing();
    void killDuringSavesLeavesTheLastCommittedRecord();

private:
    QString path(const QString& name = QStringLiteral("calibdb.mdb")) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
    CalibrationTexts texts_;
};

void TestCalibrationStore::init() { dir_ = std::make_unique<QTemporaryDir>(); }

void TestCalibrationStore::firstUseCreatesTheDocumentedTable_data()
{
    QTest::addColumn<bool>("brix");
    QTest::newRow("moisture") << false;
    QTest::newRow("brix") << true;
}

void TestCalibrationStore::firstUseCreatesTheDocumentedTable()
{
    QFETCH(bool, brix);
    const QString file = path(brix ? "brixcalibdb.mdb" : "calibdb.mdb");
    {
        CalibrationStore store(brix ? CalibrationKind::Brix : CalibrationKind::Moisture);
        QCOMPARE(store.open(file), CalibrationStore::OpenResult::Created);
        QVERIFY(store.isOpen());
    }
    // Nothing but the store itself is left beside it.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});
    RawDatabase raw(file);
    QVERIFY(raw.ok());
    QSqlQuery info = raw.query(QStringLiteral("PRAGMA table_info(\"Calibration\")"));
    const QList<Column> expected = expectedColumns(brix);
    int i = 0;
    while (info.next()) {
        QVERIFY2(i < expected.size(), "more columns than documented");
        QCOMPARE(info.value(0).toInt(), i);
        QCOMPARE(info.value(1).toString(), expected[i].name);
        QCOMPARE(info.value(2).toString(), expected[i].type);
        QCOMPARE(info.value(5).toInt() == 1, expected[i].key);
        ++i;
    }
    QCOMPARE(i, expected.size());
    QCOMPARE(i, brix ? 89 : 86);
    QSqlQuery tables = raw.query(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"));
    QVERIFY(tables.next());
    QCOMPARE(tables.value(0).toInt(), 1);
    // The key is a unique index on ID.
    QSqlQuery indexes = raw.query(QStringLiteral("PRAGMA index_list(\"Calibration\")"));
    QVERIFY(indexes.next());
    QCOMPARE(indexes.value(2).toInt(), 1);  // unique
    QCOMPARE(indexes.value(3).toString(), QStringLiteral("pk"));
}

void TestCalibrationStore::storesLiveInTheDataFolder()
{
    qputenv("ALLUSERSPROFILE", dir_->path().toUtf8());
    QCOMPARE(CalibrationStorePath(CalibrationKind::Moisture), dir_->path() + QStringLiteral("/Quelmar/Dunmere/calibdb.mdb"));
    QCOMPARE(CalibrationStorePath(CalibrationKind::Brix), dir_->path() + QStringLiteral("/Quelmar/Dunmere/brixcalibdb.mdb"));
}

void TestCalibrationStore::addGivesEachKindItsDefaults_data()
{
    QTest::addColumn<bool>("brix");
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<QStringList>("coefficients");  // A, B, C, SSD
    QTest::newRow("moisture") << false << false << QStringList{"", "", "", ""};
    QTest::newRow("brix") << true << false << QStringList{"101", "0.15", "0.17", "-2.5"};
    QTest::newRow("brix, decimal comma") << true << true << QStringList{"101", "0,15", "0,17", "-2,5"};
}

void TestCalibrationStore::addGivesEachKindItsDefaults()
{
    QFETCH(bool, brix);
    QFETCH(bool, decimalComma);
    QFETCH(QStringList, coefficients);
    SetDecimalComma(decimalComma);
    CalibrationStore store(brix ? CalibrationKind::Brix : CalibrationKind::Moisture);
    QCOMPARE(store.open(path()), CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Sand"), texts_).done());
    const auto r = store.record(QStringLiteral("Sand"));
    QVERIFY(r);
    QCOMPARE(r->ID, QStringLiteral("Sand"));
    QCOMPARE((QStringList{r->aValue, r->bValue, r->cValue, r->ssd}), coefficients);
    QCOMPARE(r->rules, !brix);
    QCOMPARE(r->rules1, brix);
    QCOMPARE(r->rules2, brix);
    for (const CalibrationRow& row : r->rows)
        QCOMPARE(row, CalibrationRow{});
}

void TestCalibrationStore::savedRecordReadsBackWithNullForEmptyTexts()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Gravel"), texts_).done());
    CalibrationRecord r = *store.record(QStringLiteral("Gravel"));
    r.bValue = QStringLiteral("0.2186");
    r.cValue = QStringLiteral("-3.744");
    r.rules = false;
    r.rows[0] = {true, QStringLiteral("11.12."), QStringLiteral("40"), QStringLiteral("5")};
    r.rows[19] = {false, QString(), QStringLiteral("55,5"), QString()};
    QVERIFY(store.save(r, texts_).done());
    QCOMPARE(*store.record(QStringLiteral("Gravel")), r);
    store.close();

    RawDatabase raw(path());
    QSqlQuery q = raw.query(QStringLiteral(
        "SELECT \"B Value\", \"SSD\" IS NULL, \"Date 20\" IS NULL, \"M 20\" IS NULL, \"US 20\", \"Check 1\", \"Rules\" FROM \"Calibration\""));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("0.2186"));
    QVERIFY(q.value(1).toBool());
    QVERIFY(q.value(2).toBool());
    QVERIFY(q.value(3).toBool());
    QCOMPARE(q.value(4).toString(), QStringLiteral("55,5"));
    QCOMPARE(q.value(5).toInt(), 1);
    QCOMPARE(q.value(6).toInt(), 0);
}

void TestCalibrationStore::namesListInCreationOrderAndFillSelectsFirstOrLast()
{
    CalibrationStore store(CalibrationKind::Brix);
    QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
    for (const char* name : {"Sugar", "Beet", "Cane"})
        QVERIFY(store.add(QString::fromLatin1(name), texts_).done());
    QCOMPARE(store.names(), (QStringList{"Sugar", "Beet", "Cane"}));
    CalibrationList list = FillCalList(store, true);
    QCOMPARE(list.current, 2);
    QVERIFY(!list.firstCalibration());
    list = FillCalList(store, false);
    QCOMPARE(list.current, 0);
    QCOMPARE(store.records().size(), 3);
    QCOMPARE(store.records()[1].ID, QStringLiteral("Beet"));
    QVERIFY(!store.record(QStringLiteral("Nothing")));
}

void TestCalibrationStore::refusedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    using Code = CalibrationStore::Outcome::Code;
    QTest::newRow("same name") << "Sand" << int(Code::Duplicate) << "A calibration of this name exists already - Sand";
    QTest::newRow("other letter case") << "SAND" << int(Code::Duplicate) << "A calibration of this name exists already - SAND";
    QTest::newRow("other case beyond ASCII") << "ÉTÉ" << int(Code::Duplicate) << "A calibration of this name exists already - ÉTÉ";
    QTest::newRow("empty is ignored") << "" << int(Code::Ignored) << "";
    QTest::newRow("256 characters") << QString(256, u'n') << int(Code::TooLong) << "Invalid Name";
    QTest::newRow("255 characters fit") << QString(255, u'n') << int(Code::Done) << "";
}

void TestCalibrationStore::refusedNames()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(QString, message);
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Sand"), texts_).done());
    QVERIFY(store.add(QStringLiteral("été"), texts_).done());
    const CalibrationStore::Outcome outcome = store.add(name, texts_);
    QCOMPARE(int(outcome.code), code);
    QCOMPARE(outcome.message, message);
    QCOMPARE(store.names().size(), code == int(CalibrationStore::Outcome::Code::Done) ? 3 : 2);
}

void TestCalibrationStore::fiveHundredAndSecondIsRefused()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("First"), texts_).done());
    {
        // 500 more in one transaction of the test's own, which is quicker than 500 adds.
        RawDatabase raw(path());
        raw.query(QStringLiteral("BEGIN"));
        for (int i = 2; i <= MaxCalibrations; ++i)
            raw.query(QStringLiteral("INSERT INTO \"Calibration\" (\"ID\") VALUES ('C%1')").arg(i));
        raw.query(QStringLiteral("COMMIT"));
    }
    QCOMPARE(store.names().size(), MaxCalibrations);
    const CalibrationStore::Outcome outcome = store.add(QStringLiteral("One too many"), texts_);
    QCOMPARE(outcome.code, CalibrationStore::Outcome::Code::TooMany);
    QCOMPARE(outcome.message, QStringLiteral("Calibration: Maximum 501"));
    QCOMPARE(store.names().last(), QStringLiteral("C501"));
}

void TestCalibrationStore::tooLongTextRefusesTheWholeSave()
{
    CalibrationStore store(CalibrationKind::Brix);
    QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
    QVERIFY(store.add(QStringLiteral("Beet"), texts_).done());
    const CalibrationRecord before = *store.record(QStringLiteral("Beet"));
    CalibrationRecord r = before;
    r.bValue = QStringLiteral("0.3");
    r.rows[2].unscaled = QString(51, u'1');  // Brix US columns hold 50
    const CalibrationStore::Outcome outcome = store.save(r, texts_);
    QCOMPARE(outcome.code, CalibrationStore::Outcome::Code::TooLong);
    QCOMPARE(outcome.message, QStringLiteral("Invalid US 3"));
    QCOMPARE(*store.record(QStringLiteral("Beet")), before);
    r.rows[2].unscaled = QString(50, u'1');
    QVERIFY(store.save(r, texts_).done());
    QCOMPARE(*store.record(QStringLiteral("Beet")), r);
}

void TestCalibrationStore::deletingTheOnlyRecordReturnsTheFirstCalibrationState()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
    QVERIFY(FillCalList(store, false).firstCalibration());
    QVERIFY(store.add(QStringLiteral("Only"), texts_).done());
    QCOMPARE(FillCalList(store, true).names, QStringList{"Only"});
    QVERIFY(store.remove(QStringLiteral("Only"), texts_).done());
    const CalibrationList list = FillCalList(store, false);
    QVERIFY(list.firstCalibration());
    QCOMPARE(list.current, -1);
    // The name is free again.
    QVERIFY(store.add(QStringLiteral("Only"), texts_).done());
    // Reopened, the store opens as it is.
    store.close();
    QCOMPARE(store.open(path()), CalibrationStore::OpenResult::Opened);
    QCOMPARE(store.names(), QStringList{"Only"});
}

void TestCalibrationStore::fileThatIsNotAStoreIsLeftAsItIs_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("damaged") << "damaged";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("another program's database") << "other";
    QTest::newRow("the other kind's store") << "brix";
}

void TestCalibrationStore::fileThatIsNotAStoreIsLeftAsItIs()
{
    QFETCH(QString, kind);
    const QString file = path();
    if (kind == QLatin1String("other")) {
        RawDatabase raw(file);
        raw.query(QStringLiteral("CREATE TABLE \"Calibration\" (\"ID\" TEXT, \"Other\" INTEGER)"));
    } else if (kind == QLatin1String("brix")) {
        CalibrationStore brix(CalibrationKind::Brix);
        QVERIFY(brix.open(file) == CalibrationStore::OpenResult::Created);
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("damaged"))
            f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\x5a'));
    }
    const QByteArray before = fileHash(file);
    CalibrationStore store(CalibrationKind::Moisture);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is not a calibration store")));
    QCOMPARE(store.open(file), CalibrationStore::OpenResult::NotAStore);
    QVERIFY(!store.isOpen());
    QVERIFY(!store.lastError().isEmpty());
    QVERIFY(store.names().isEmpty());
    QCOMPARE(store.add(QStringLiteral("X"), texts_).code, CalibrationStore::Outcome::Code::Failed);
    QCOMPARE(fileHash(file), before);
    QVERIFY(!CreateCalibStore(file, CalibrationKind::Moisture));
    QCOMPARE(fileHash(file), before);
}

void TestCalibrationStore::missingFolderGivesMissing()
{
    CalibrationStore store(CalibrationKind::Moisture);
    QCOMPARE(store.open(dir_->filePath(QStringLiteral("no/such/folder/calibdb.mdb"))), CalibrationStore::OpenResult::Missing);
    QCOMPARE(store.open(path(), false), CalibrationStore::OpenResult::Missing);
    QVERIFY(!QFileInfo::exists(path()));
}

void TestCalibrationStore::killDuringSavesLeavesTheLastCommittedRecord()
{
    {
        CalibrationStore store(CalibrationKind::Moisture);
        QVERIFY(store.open(path()) == CalibrationStore::OpenResult::Created);
        QVERIFY(store.add(QStringLiteral("Busy"), texts_).done());
    }
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Saves without end, every save writing one counter into all of its texts.
        CalibrationStore store(CalibrationKind::Moisture);
        if (store.open(path()) != CalibrationStore::OpenResult::Opened)
            _exit(2);
        CalibrationRecord r = *store.record(QStringLiteral("Busy"));
        for (int n = 1;; ++n) {
            const QString value = QString::number(n);
            r.bValue = r.cValue = value;
            for (CalibrationRow& row : r.rows)
                row = {true, value, value, value};
            (void)store.save(r, texts_);
        }
    }
    // Let it save for a while, then kill it wherever it is.
    QTest::qWait(300);
    QCOMPARE(kill(child, SIGKILL), 0);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));

    CalibrationStore store(CalibrationKind::Moisture);
    QCOMPARE(store.open(path()), CalibrationStore::OpenResult::Opened);
    const auto r = store.record(QStringLiteral("Busy"));
    QVERIFY(r);
    QVERIFY(!r->bValue.isEmpty());
    QVERIFY(r->bValue.toInt() > 0);
    QCOMPARE(r->cValue, r->bValue);
    for (const CalibrationRow& row : r->rows)
        QCOMPARE(row, (CalibrationRow{true, r->bValue, r->bValue, r->bValue}));
}

QTEST_GUILESS_MAIN(TestCalibrationStore)
#include "tst_calibrationstore.moc"
