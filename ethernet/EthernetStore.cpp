// The adapter database: EthernetDB.mdb is an SQLite file holding table EthernetAdapters with
// the columns and sizes the adapter list always had, the key unique.

#include "EthernetAdapter.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace dunmere {

namespace {

const char* const CreateTable =
    "CREATE TABLE IF NOT EXISTS EthernetAdapters ("
    "bAutomaticallyFound BOOLEAN NOT NULL DEFAULT 0, "
    "strIPAddress VARCHAR(50) CHECK (length(strIPAddress) <= 50), "
    "strLocalIPAddress VARCHAR(50) CHECK (length(strLocalIPAddress) <= 50), "
    "lPortNumber INTEGER, "
    "strHostname VARCHAR(50) CHECK (length(strHostname) <= 50), "
    "Key VARCHAR(50) NOT NULL CHECK (length(Key) <= 50), "
    "CONSTRAINT PrimaryKey PRIMARY KEY (Key))";

// A key met again takes the later entry's values and keeps its first row.
const char* const StoreRow =
    "INSERT INTO EthernetAdapters (bAutomaticallyFound, Key, strIPAddress, lPortNumber, strLocalIPAddress, strHostname) "
    "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT(Key) DO UPDATE SET bAutomaticallyFound = excluded.bAutomaticallyFound, "
    "strIPAddress = excluded.strIPAddress, lPortNumber = excluded.lPortNumber, "
    "strLocalIPAddress = excluded.strLocalIPAddress, strHostname = excluded.strHostname";

// One connection per use, removed when the use ends.
class Store {
public:
    explicit Store(const QString& path)
    {
        static QAtomicInteger<int> serial;
        name_ = QStringLiteral("EthernetDB-%1").arg(serial.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
    }
    ~Store()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    [[nodiscard]] QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

    // Opens the file, making it and the table when they are missing.
    bool open(QString& error)
    {
        QSqlDatabase d = db();
        if (!d.open()) {
            error = d.lastError().text();
            return false;
        }
        QSqlQuery create(d);
        if (!create.exec(QString::fromLatin1(CreateTable))) {
            error = create.lastError().text();
            return false;
        }
        return true;
    }

private:
    QString name_;
};

void setError(QString* out, const QString& text)
{
    if (out)
        *out = text;
}

}  // namespace

bool EthernetAdapters::SaveToDB(const QString& databasePath, QString* error) const
{
    Store store(databasePath);
    QString why;
    if (!store.open(why)) {
        setError(error, why);
        return false;
    }
    QSqlDatabase db = store.db();
    if (!db.transaction()) {
        setError(error, db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    bool ok = query.exec(QStringLiteral("DELETE FROM EthernetAdapters"));
    if (ok)
        ok = query.prepare(QString::fromLatin1(StoreRow));
    for (auto it = items_.cbegin(); ok && it != items_.cend(); ++it) {
        query.addBindValue(it->bAutomaticallyFound);
        query.addBindValue(it->Key);
        query.addBindValue(it->strIPAddress);
        query.addBindValue(it->lPortNumber);
        query.addBindValue(it->strLocalIPAddress);
        query.addBindValue(it->strHostname);
        ok = query.exec();
    }
    if (!ok) {
        setError(error, query.lastError().text());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        setError(error, db.lastError().text());
        db.rollback();
        return false;
    }
    return true;
}

bool EthernetAdapters::LoadFromDB(const QString& databasePath, QString* error)
{
    Store store(databasePath);
    QString why;
    if (!store.open(why)) {
        setError(error, why);
        return false;
    }
    QSqlQuery query(store.db());
    query.setForwardOnly(true);
    // Rows come back in the order they were stored, so positions survive a restart.
    if (!query.exec(QStringLiteral("SELECT bAutomaticallyFound, lPortNumber, strHostname, strIPAddress, "
                                   "strLocalIPAddress, Key FROM EthernetAdapters ORDER BY rowid"))) {
        setError(error, query.lastError().text());
        return false;
    }
    Clear();
    qint16 n = 0;
    while (query.next() && n < 32767) {
        ++n;
        Add(query.value(0).toBool(), n, query.value(1).toInt(), query.value(2).toString(), query.value(3).toString(),
            query.value(4).toString(), query.value(5).toString());
    }
    if (query.lastError().isValid()) {
        setError(error, query.lastError().text());
        return false;
    }
    return true;
}

}  // namespace dunmere
