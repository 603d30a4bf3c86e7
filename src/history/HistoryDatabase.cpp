// SPDX-License-Identifier: GPL-3.0-or-later

#include "history/HistoryDatabase.h"

#include "platform/KestrunError.h"
#include "trace/Trace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Each entry brings the schema from the version before it to its own; they run in order, each in one transaction.
const char* const Migrations[] = {
    // 1: the calls.
    "CREATE TABLE calls ("
    " id INTEGER PRIMARY KEY,"
    " line INTEGER NOT NULL,"
    " direction INTEGER NOT NULL,"
    " internal INTEGER NOT NULL,"
    " started INTEGER NOT NULL," // milliseconds since 1970 (UTC), as every time here
    " answered INTEGER," // NULL: never connected
    " ended INTEGER NOT NULL,"
    " duration INTEGER NOT NULL," // seconds
    " number TEXT NOT NULL,"
    " converted_number TEXT NOT NULL,"
    " caller_name TEXT NOT NULL,"
    " display_name TEXT NOT NULL,"
    " company TEXT NOT NULL,"
    " missed INTEGER NOT NULL,"
    " transferred INTEGER NOT NULL,"
    " fired_rules TEXT NOT NULL," // one name per line
    " seen INTEGER NOT NULL DEFAULT 0);"
    "CREATE INDEX calls_started ON calls(started);"
    "CREATE INDEX calls_unseen_missed ON calls(missed, seen);",
    // 2: the directory-lookup cache.
    "CREATE TABLE lookup_cache ("
    " search TEXT PRIMARY KEY," // search key, field and node
    " fields TEXT NOT NULL," // a JSON object; {} when nothing was found
    " fetched INTEGER NOT NULL);",
};
static_assert(std::size(Migrations) == THistoryDatabase::SchemaVersion);

const char* const Columns = "id, line, direction, internal, started, answered, ended, duration, number, "
                            "converted_number, caller_name, display_name, company, missed, transferred, "
                            "fired_rules, seen";

[[noreturn]] void Fail(const QString& what, const QSqlError& error)
{
    throw EKestrunError(QStringLiteral("Call history: %1: %2").arg(what, error.text()));
}

QSqlQuery Run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        Fail(sql.left(60), query.lastError());
    return query;
}

QVariant Time(const QDateTime& time)
{
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant(QMetaType::fromType<qint64>());
}

// Qt SQL binds a null text as NULL; the columns hold empty texts instead.
QVariant Text(const QString& value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QDateTime TimeFrom(const QVariant& value)
{
    return value.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(value.toLongLong());
}

// A text to be found anywhere, with LIKE's own characters taken literally.
QString LikePattern(const QString& text)
{
    QString escaped;
    for (QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped.append(u'\\');
        escaped.append(c);
    }
    return u'%' + escaped + u'%';
}

QString SortExpression(THistoryFilter::TColumn column)
{
    switch (column) {
    case THistoryFilter::TColumn::Started:
        return QStringLiteral("started");
    case THistoryFilter::TColumn::Direction:
        return QStringLiteral("direction");
    case THistoryFilter::TColumn::Number:
        return QStringLiteral("number");
    case THistoryFilter::TColumn::Name:
        return QStringLiteral("caller_name");
    case THistoryFilter::TColumn::Company:
        return QStringLiteral("company");
    case THistoryFilter::TColumn::Duration:
        return QStringLiteral("duration");
    }
    return QStringLiteral("started");
}

// The file exists before SQLite opens it, so that it is never readable by others, not even for a moment.
void CreatePrivateFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        throw EKestrunError(QStringLiteral("Call history: cannot create %1").arg(path));
    ::close(fd);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

THistoryDatabase::THistoryDatabase(const QString& path, const QString& connectionName)
    : m_path(path)
    , m_connectionName(connectionName)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw EKestrunError(QStringLiteral("Call history: cannot create the folder %1").arg(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    CreatePrivateFile(path);

    if (!OpenAndCheck()) {
        Close();
        m_keptAside = path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(path, m_keptAside))
            throw EKestrunError(QStringLiteral("Call history: the damaged %1 cannot be moved aside").arg(path));
        QFile::remove(path + QStringLiteral("-journal"));
        Trace::Warning("CallHistory::Open:Damaged database kept aside, a new one is made", m_keptAside);
        CreatePrivateFile(path);
        if (!OpenAndCheck())
            throw EKestrunError(QStringLiteral("Call history: %1 cannot be opened").arg(path));
    }
    Migrate();
}

THistoryDatabase::~THistoryDatabase()
{
    Close();
}

bool THistoryDatabase::OpenAndCheck()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!m_db.isValid())
        throw EKestrunError(QStringLiteral("Call history: Qt's SQLite driver is not installed"));
    m_db.setDatabaseName(m_path);
    if (!m_db.open())
        return false;
    // A file that is not a database fails here already; a damaged one answers other than "ok".
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next() ||
        check.value(0).toString() != QLatin1String("ok"))
        return false;
    check.finish();
    Run(m_db, QStringLiteral("PRAGMA synchronous = NORMAL"));
    return true;
}

void THistoryDatabase::Close()
{
    if (m_db.isValid())
        m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void THistoryDatabase::Migrate()
{
    QSqlQuery versionQuery = Run(m_db, QStringLiteral("PRAGMA user_version"));
    const int version = versionQuery.next() ? versionQuery.value(0).toInt() : 0;
    versionQuery.finish();
    if (version > SchemaVersion) {
        throw EKestrunError(
            QStringLiteral("Call history: %1 was written by a newer version of the program (schema %2, this one "
                           "knows %3); it is left as it is")
                .arg(m_path)
                .arg(version)
                .arg(SchemaVersion));
    }
    for (int next = version + 1; next <= SchemaVersion; ++next) {
        if (!m_db.transaction())
            Fail(QStringLiteral("begin migration"), m_db.lastError());
        for (const QString& statement : QString::fromLatin1(Migrations[next - 1]).split(u';', Qt::SkipEmptyParts)) {
            Run(m_db, statement);
        }
        Run(m_db, QStringLiteral("PRAGMA user_version = %1").arg(next));
        if (!m_db.commit())
            Fail(QStringLiteral("migration"), m_db.lastError());
        Trace::Value("CallHistory::Open:Schema version", next);
    }
}

void THistoryDatabase::Insert(std::vector<TCallRecord>& records)
{
    if (records.empty())
        return;
    if (!m_db.transaction())
        Fail(QStringLiteral("begin"), m_db.lastError());
    QSqlQuery insert(m_db);
    insert.prepare(
        QStringLiteral("INSERT INTO calls (line, direction, internal, started, answered, ended, duration, number, "
                       "converted_number, caller_name, display_name, company, missed, transferred, fired_rules, seen) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (TCallRecord& record : records) {
        insert.addBindValue(record.lineIndex);
        insert.addBindValue(static_cast<int>(record.direction));
        insert.addBindValue(record.internal);
        insert.addBindValue(Time(record.started));
        insert.addBindValue(Time(record.answered));
        insert.addBindValue(Time(record.ended));
        insert.addBindValue(record.durationSeconds);
        insert.addBindValue(Text(record.number));
        insert.addBindValue(Text(record.convertedNumber));
        insert.addBindValue(Text(record.callerName));
        insert.addBindValue(Text(record.displayName));
        insert.addBindValue(Text(record.company));
        insert.addBindValue(int(record.missed));
        insert.addBindValue(int(record.transferred));
        insert.addBindValue(Text(record.firedRules.join(u'\n')));
        insert.addBindValue(int(record.seen));
        if (!insert.exec()) {
            const QSqlError error = insert.lastError();
            m_db.rollback();
            Fail(QStringLiteral("insert"), error);
        }
        record.id = insert.lastInsertId().toLongLong();
    }
    if (!m_db.commit())
        Fail(QStringLiteral("commit"), m_db.lastError());
}

void THistoryDatabase::Prune(qint64 maxCalls)
{
    // Ids grow with every call written, so the lowest are the oldest.
    QSqlQuery prune(m_db);
    prune.prepare(
        QStringLiteral("DELETE FROM calls WHERE id <= (SELECT id FROM calls ORDER BY id DESC LIMIT 1 OFFSET ?)"));
    prune.addBindValue(std::max<qint64>(0, maxCalls));
    if (!prune.exec())
        Fail(QStringLiteral("prune"), prune.lastError());
}

std::vector<TCallRecord> THistoryDatabase::Query(const THistoryFilter& filter) const
{
    QStringList conditions;
    QVariantList values;
    if (!filter.text.trimmed().isEmpty()) {
        conditions.append(QStringLiteral(
            "(caller_name LIKE ? ESCAPE '\\' OR display_name LIKE ? ESCAPE '\\' OR number LIKE ? ESCAPE '\\' OR "
            "converted_number LIKE ? ESCAPE '\\' OR company LIKE ? ESCAPE '\\')"));
        const QString pattern = LikePattern(filter.text.trimmed());
        for (int i = 0; i < 5; ++i)
            values.append(pattern);
    }
    if (filter.missedOnly)
        conditions.append(QStringLiteral("missed = 1"));
    if (filter.from.isValid()) {
        conditions.append(QStringLiteral("started >= ?"));
        values.append(filter.from.startOfDay().toMSecsSinceEpoch());
    }
    if (filter.to.isValid()) {
        conditions.append(QStringLiteral("started < ?"));
        values.append(filter.to.addDays(1).startOfDay().toMSecsSinceEpoch());
    }
    const QString order = filter.ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    const QString sql =
        QStringLiteral("SELECT %1 FROM calls%2 ORDER BY %3%4, id%4 LIMIT ? OFFSET ?")
            .arg(QLatin1String(Columns),
                 conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(" AND "),
                 SortExpression(filter.sortColumn), order);
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    query.addBindValue(std::max(0, filter.limit));
    query.addBindValue(std::max(0, filter.offset));
    if (!query.exec())
        Fail(QStringLiteral("query"), query.lastError());

    std::vector<TCallRecord> records;
    while (query.next()) {
        TCallRecord& r = records.emplace_back();
        r.id = query.value(0).toLongLong();
        r.lineIndex = query.value(1).toInt();
        r.direction = query.value(2).toInt() == 1 ? TCallDirection::Outgoing : TCallDirection::Incoming;
        r.internal = query.value(3).toInt();
        r.started = TimeFrom(query.value(4));
        r.answered = TimeFrom(query.value(5));
        r.ended = TimeFrom(query.value(6));
        r.durationSeconds = query.value(7).toLongLong();
        r.number = query.value(8).toString();
        r.convertedNumber = query.value(9).toString();
        r.callerName = query.value(10).toString();
        r.displayName = query.value(11).toString();
        r.company = query.value(12).toString();
        r.missed = query.value(13).toInt() != 0;
        r.transferred = query.value(14).toInt() != 0;
        const QString rules = query.value(15).toString();
        r.firedRules = rules.isEmpty() ? QStringList() : rules.split(u'\n');
        r.seen = query.value(16).toInt() != 0;
    }
    return records;
}

qint64 THistoryDatabase::Count() const
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM calls")) || !query.next())
        Fail(QStringLiteral("count"), query.lastError());
    return query.value(0).toLongLong();
}

int THistoryDatabase::UnseenMissedCount() const
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM calls WHERE missed = 1 AND seen = 0")) || !query.next())
        Fail(QStringLiteral("count missed calls"), query.lastError());
    return query.value(0).toInt();
}

void THistoryDatabase::MarkMissedSeen()
{
    Run(m_db, QStringLiteral("UPDATE calls SET seen = 1 WHERE missed = 1 AND seen = 0"));
}

void THistoryDatabase::Clear()
{
    Run(m_db, QStringLiteral("DELETE FROM calls"));
    // Without it the deleted calls stay readable in the file's free pages.
    Run(m_db, QStringLiteral("VACUUM"));
}

void THistoryDatabase::StoreLookup(const QString& key, const TLookupCache::TEntry& entry)
{
    QJsonObject fields;
    for (auto it = entry.fields.cbegin(); it != entry.fields.cend(); ++it)
        fields.insert(it.key(), it.value());
    QSqlQuery store(m_db);
    store.prepare(QStringLiteral("INSERT OR REPLACE INTO lookup_cache (search, fields, fetched) VALUES (?, ?, ?)"));
    store.addBindValue(key);
    store.addBindValue(QString::fromUtf8(QJsonDocument(fields).toJson(QJsonDocument::Compact)));
    store.addBindValue(entry.fetched.toMSecsSinceEpoch());
    if (!store.exec())
        Fail(QStringLiteral("store lookup"), store.lastError());
}

std::vector<std::pair<QString, TLookupCache::TEntry>> THistoryDatabase::LoadLookups(const QDateTime& oldest)
{
    QSqlQuery prune(m_db);
    prune.prepare(QStringLiteral("DELETE FROM lookup_cache WHERE fetched < ?"));
    prune.addBindValue(oldest.toMSecsSinceEpoch());
    if (!prune.exec())
        Fail(QStringLiteral("prune lookups"), prune.lastError());
    QSqlQuery query = Run(m_db, QStringLiteral("SELECT search, fields, fetched FROM lookup_cache"));
    std::vector<std::pair<QString, TLookupCache::TEntry>> entries;
    while (query.next()) {
        TLookupCache::TEntry entry;
        const QJsonObject fields = QJsonDocument::fromJson(query.value(1).toString().toUtf8()).object();
        for (auto it = fields.constBegin(); it != fields.constEnd(); ++it)
            entry.fields.insert(it.key(), it.value().toString());
        entry.fetched = QDateTime::fromMSecsSinceEpoch(query.value(2).toLongLong());
        entries.emplace_back(query.value(0).toString(), std::move(entry));
    }
    return entries;
}
