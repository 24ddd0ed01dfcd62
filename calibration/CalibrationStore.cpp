#include "CalibrationStore.h"

#include "link/DataFolder.h"
#include "link/Messages.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <atomic>

namespace dunmere {

Q_LOGGING_CATEGORY(lcStore, "dunmere.calibration.store")

namespace {

constexpr int BusyTimeoutMs = 2000;

QString quoted(const QString& name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QString declaredType(const StoreColumn& c)
{
    return c.type == ColumnType::Text ? QStringLiteral("TEXT(%1)").arg(c.size) : QStringLiteral("BOOLEAN");
}

QString createTableStatement(CalibrationKind kind)
{
    QStringList parts;
    for (const StoreColumn& c : StoreColumns(kind)) {
        QString part = quoted(c.name) + QLatin1Char(' ') + declaredType(c);
        if (c.field == StoreColumn::Field::ID)
            part += QStringLiteral(" NOT NULL COLLATE NOCASE");  // names differing in case are one name
        if (c.type == ColumnType::YesNo)
            part += QStringLiteral(" NOT NULL DEFAULT 0");
        else
            part += QStringLiteral(" CHECK (length(%1) <= %2)").arg(quoted(c.name)).arg(c.size);
        parts.append(part);
    }
    parts.append(QStringLiteral("CONSTRAINT \"PrimaryKey\" PRIMARY KEY (\"ID\")"));
    return QStringLiteral("CREATE TABLE \"Calibration\" (") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// Closes a connection and forgets it; Qt wants no handle of it alive at removal.
void dropConnection(const QString& name)
{
    if (!QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("dunmere-calibration-%1").arg(++counter);
}

// A connection that is closed and removed when it goes out of scope.
class ScopedConnection {
public:
    explicit ScopedConnection(const QString& path) : name_(newConnectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    }
    ~ScopedConnection() { dropConnection(name_); }
    [[nodiscard]] QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

QString columnList(CalibrationKind kind)
{
    QStringList names;
    for (const StoreColumn& c : StoreColumns(kind))
        names.append(quoted(c.name));
    return names.join(QStringLiteral(", "));
}

CalibrationRecord readRecord(const QSqlQuery& q, CalibrationKind kind)
{
    CalibrationRecord r;
    const QList<StoreColumn>& columns = StoreColumns(kind);
    for (int i = 0; i < columns.size(); ++i)
        columns[i].setValue(r, q.value(i));
    return r;
}

}  // namespace

QString CalibrationStoreFileName(CalibrationKind kind)
{
    return kind == CalibrationKind::Brix ? QStringLiteral("brixcalibdb.mdb") : QStringLiteral("calibdb.mdb");
}

QString CalibrationStorePath(CalibrationKind kind) { return DataFolder() + CalibrationStoreFileName(kind); }

bool CreateCalibStore(const QString& path, CalibrationKind kind)
{
    if (QFileInfo::exists(path))
        return false;
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return false;
    temporary.close();
    bool made = false;
    {
        ScopedConnection connection(temporary.fileName());
        QSqlDatabase db = connection.db();
        if (db.open()) {
            QSqlQuery q(db);
            made = db.transaction() && q.exec(createTableStatement(kind)) && db.commit();
            if (!made)
                qCWarning(lcStore) << "creating" << path << "failed:" << q.lastError().text() << db.lastError().text();
        }
    }
    // rename() never replaces a file that appeared meanwhile.
    if (made && QFile::rename(temporary.fileName(), path)) {
        temporary.setAutoRemove(false);
        return true;
    }
    return false;
}

CalibrationStore::CalibrationStore(CalibrationKind kind) : kind_(kind), connection_(newConnectionName()) {}

CalibrationStore::~CalibrationStore() { close(); }

void CalibrationStore::close()
{
    dropConnection(connection_);
    open_ = false;
}

CalibrationStore::OpenResult CalibrationStore::open(const QString& path, bool createIfMissing)
{
    close();
    path_ = path;
    bool created = false;
    if (!QFileInfo::exists(path)) {
        if (createIfMissing)
            created = CreateCalibStore(path, kind_);
        if (!QFileInfo::exists(path))
            return OpenResult::Missing;
    }
    lastError_.clear();
    bool usable = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        usable = db.open() && hasTheTable();
        if (!usable && lastError_.isEmpty())
            lastError_ = db.lastError().text();
    }
    if (!usable) {
        qCWarning(lcStore) << path << "is not a calibration store:" << lastError_;
        close();
        return OpenResult::NotAStore;
    }
    open_ = true;
    return created ? OpenResult::Created : OpenResult::Opened;
}

// The table with exactly the columns of its kind, in order, with their declared types.
bool CalibrationStore::hasTheTable()
{
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("PRAGMA table_info(\"Calibration\")"))) {
        lastError_ = q.lastError().text();
        return false;
    }
    const QList<StoreColumn>& columns = StoreColumns(kind_);
    int i = 0;
    while (q.next()) {
        if (i >= columns.size() || q.value(1).toString() != columns[i].name
            || q.value(2).toString().compare(declaredType(columns[i]), Qt::CaseInsensitive) != 0) {
            lastError_ = QStringLiteral("unexpected column %1").arg(q.value(1).toString());
            return false;
        }
        ++i;
    }
    if (i != columns.size()) {
        lastError_ = i == 0 ? QStringLiteral("no table Calibration") : QStringLiteral("columns missing");
        return false;
    }
    lastError_.clear();
    return true;
}

QStringList CalibrationStore::names()
{
    QStringList list;
    if (!open_)
        return list;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT \"ID\" FROM \"Calibration\" ORDER BY rowid LIMIT ?"));
    q.addBindValue(MaxCalibrations);
    if (!q.exec())
        lastError_ = q.lastError().text();
    while (q.next())
        list.append(q.value(0).toString());
    return list;
}

std::optional<CalibrationRecord> CalibrationStore::record(const QString& name)
{
    if (!open_)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare(QStringLiteral("SELECT %1 FROM \"Calibration\" WHERE \"ID\" = ?").arg(columnList(kind_)));
    q.addBindValue(name);
    if (!q.exec()) {
        lastError_ = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    return readRecord(q, kind_);
}

QList<CalibrationRecord> CalibrationStore::records()
{
    QList<CalibrationRecord> list;
    if (!open_)
        return list;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT %1 FROM \"Calibration\" ORDER BY rowid").arg(columnList(kind_))))
        lastError_ = q.lastError().text();
    while (q.next())
        list.append(readRecord(q, kind_));
    return list;
}

CalibrationStore::Outcome CalibrationStore::failed(const TextSource& texts)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (lastError_.isEmpty())
        lastError_ = db.lastError().text();
    db.rollback();
    qCWarning(lcStore) << "writing" << path_ << "failed:" << lastError_;
    return {Outcome::Code::Failed, texts.text(QStringLiteral("LangCalib"))};
}

CalibrationStore::Outcome CalibrationStore::add(const QString& name, const TextSource& texts)
{
    if (name.isEmpty())
        return {Outcome::Code::Ignored, {}};
    const QString duplicate = texts.text(QStringLiteral("LangCalGotID")) + QStringLiteral(" - ") + name;
    const StoreColumn& idColumn = StoreColumns(kind_).first();
    if (name.size() > idColumn.size)
        return {Outcome::Code::TooLong, texts.text(QStringLiteral("LangInvalid")) + QLatin1Char(' ') + texts.text(QStringLiteral("LangName"))};
    if (!open_)
        return {Outcome::Code::Failed, texts.text(QStringLiteral("LangCalib"))};
    lastError_.clear();
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return failed(texts);
    // The whole list, not only the kept 501: a name is taken wherever it stands.
    QSqlQuery existing(db);
    if (!existing.exec(QStringLiteral("SELECT \"ID\" FROM \"Calibration\"")))
        return failed(texts);
    int count = 0;
    while (existing.next()) {
        ++count;
        if (existing.value(0).toString().compare(name, Qt::CaseInsensitive) == 0) {
            db.rollback();
            return {Outcome::Code::Duplicate, duplicate};
        }
    }
    if (count >= MaxCalibrations) {
        db.rollback();
        return {Outcome::Code::TooMany, texts.text(QStringLiteral("LangCalibration")) + QStringLiteral(": ")
                                            + texts.text(QStringLiteral("LangMax")) + QLatin1Char(' ')
                                            + QString::number(MaxCalibrations)};
    }
    const CalibrationRecord record = NewCalibrationRecord(kind_, name);
    const QList<StoreColumn>& columns = StoreColumns(kind_);
    QSqlQuery insert(db);
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks.append(QStringLiteral("?"));
    insert.prepare(QStringLiteral("INSERT INTO \"Calibration\" (%1) VALUES (%2)").arg(columnList(kind_), marks.join(u',')));
    for (const StoreColumn& c : columns)
        insert.addBindValue(c.valueOf(record));
    if (!insert.exec()) {
        lastError_ = insert.lastError().text();
        // The key has the last word on duplicates, e.g. a name added by another program meanwhile.
        if (insert.lastError().nativeErrorCode() == QLatin1String("19")
            || lastError_.contains(QLatin1String("UNIQUE"), Qt::CaseInsensitive)) {
            db.rollback();
            return {Outcome::Code::Duplicate, duplicate};
        }
        return failed(texts);
    }
    if (!db.commit())
        return failed(texts);
    return {};
}

CalibrationStore::Outcome CalibrationStore::save(const CalibrationRecord& record, const TextSource& texts)
{
    if (!open_)
        return {Outcome::Code::Failed, texts.text(QStringLiteral("LangCalib"))};
    const QList<StoreColumn>& columns = StoreColumns(kind_);
    for (const StoreColumn& c : columns) {
        if (c.type == ColumnType::Text && c.valueOf(record).toString().size() > c.size)
            return {Outcome::Code::TooLong, texts.text(QStringLiteral("LangInvalid")) + QLatin1Char(' ') + c.name};
    }
    lastError_.clear();
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return failed(texts);
    QStringList assignments;
    for (qsizetype i = 1; i < columns.size(); ++i)
        assignments.append(quoted(columns[i].name) + QStringLiteral(" = ?"));
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE \"Calibration\" SET %1 WHERE \"ID\" = ?").arg(assignments.join(QStringLiteral(", "))));
    for (qsizetype i = 1; i < columns.size(); ++i)
        update.addBindValue(columns[i].valueOf(record));
    update.addBindValue(record.ID);
    if (!update.exec()) {
        lastError_ = update.lastError().text();
        return failed(texts);
    }
    if (update.numRowsAffected() == 0) {
        db.rollback();
        return {Outcome::Code::NotFound, texts.text(QStringLiteral("LangCalib"))};
    }
    if (!db.commit())
        return failed(texts);
    return {};
}

CalibrationStore::Outcome CalibrationStore::remove(const QString& name, const TextSource& texts)
{
    if (!open_)
        return {Outcome::Code::Failed, texts.text(QStringLiteral("LangCalib"))};
    lastError_.clear();
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return failed(texts);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM \"Calibration\" WHERE \"ID\" = ?"));
    q.addBindValue(name);
    if (!q.exec()) {
        lastError_ = q.lastError().text();
        return failed(texts);
    }
    const bool found = q.numRowsAffected() > 0;
    if (!db.commit())
        return failed(texts);
    return found ? Outcome{} : Outcome{Outcome::Code::NotFound, {}};
}

CalibrationList FillCalList(CalibrationStore& store, bool selectLast)
{
    CalibrationList list;
    list.names = store.names();
    if (!list.names.isEmpty())
        list.current = selectLast ? int(list.names.size()) - 1 : 0;
    return list;
}

}  // namespace dunmere
