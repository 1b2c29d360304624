// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryStore.h"

#include "JournalTransaction.h"
#include "Sha256.h"

#include <QAtomicInt>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <atomic>
#include <future>
#include <vector>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

// How long a writer waits for another program's transaction before the change is refused.
constexpr int kBusyTimeoutMs = 5000;
constexpr int kSqliteBusy = 5, kSqliteLocked = 6;
// Contents up to this size are kept in the journal.
constexpr qsizetype kInlineUpTo = 1024 * 1024;

const char* const kColumns =
    "id, time, file, kind, program, batch, summary, before_hash, before_size, after_hash, "
    "after_size, trash_path, first_copy";

QAtomicInt connectionCounter;

qint64 ownPid()
{
#ifdef Q_OS_UNIX
    return qint64(::getpid());
#else
    return 0;
#endif
}

// A null text would be stored as NULL.
QString notNull(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

HistoryChange readRow(const QSqlQuery& q)
{
    HistoryChange c;
    c.id = q.value(0).toLongLong();
    c.time = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs);
    c.time.setTimeSpec(Qt::UTC);
    c.file = q.value(2).toString();
    c.kind = q.value(3).toString();
    c.program = q.value(4).toString();
    c.batch = q.value(5).toString();
    c.summary = q.value(6).toString();
    c.beforeHash = q.value(7).toString().toLatin1();
    c.beforeSize = q.value(8).toLongLong();
    c.afterHash = q.value(9).toString().toLatin1();
    c.afterSize = q.value(10).toLongLong();
    c.trashPath = q.value(11).toString();
    c.firstCopy = q.value(12).toBool();
    return c;
}

} // namespace

HistoryStore::HistoryStore(const QString& dataFolder)
    : m_folder(dataFolder + (dataFolder.endsWith('/') ? QString() : QStringLiteral("/")) +
               QStringLiteral("history/")),
      m_contents(m_folder + QStringLiteral("contents/")),
      m_connection(
          QStringLiteral("kestrane-history-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
}

HistoryStore::~HistoryStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

bool HistoryStore::isOpen() const
{
    return m_open;
}

bool HistoryStore::exec(const QString& sql, QString* error) const
{
    // Programs opening a new journal together: its switch to WAL takes the whole file, and
    // SQLite answers "locked" at once rather than waiting, so the statement is tried again.
    const QDeadlineTimer deadline(kBusyTimeoutMs);
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    while (!query.exec(sql)) {
        const int code = query.lastError().nativeErrorCode().toInt();
        if ((code != kSqliteBusy && code != kSqliteLocked) || deadline.hasExpired()) {
            if (error)
                *error = JournalError(query.lastError());
            return false;
        }
        QThread::msleep(5);
    }
    return true;
}

bool HistoryStore::open(QString* error)
{
    if (m_open)
        return true;
    if (!m_contents.ensureFolder(error))
        return false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        if (error)
            *error = QStringLiteral("The history needs Qt's SQLite driver (the package "
                                    "libqt6sql6-sqlite), which is not installed.");
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::contains(m_connection)
                              ? QSqlDatabase::database(m_connection, false)
                              : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(m_folder + QStringLiteral("journal.sqlite"));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        if (!db.open()) {
            if (error)
                *error = QStringLiteral("The history's journal could not be opened: %1")
                             .arg(db.lastError().text());
            return false;
        }
    }
    // WAL lets readers and one writer work at once; FULL syncs every commit, so a committed
    // row survives a power cut as its copy does.
    const QStringList setup = {
        QStringLiteral("PRAGMA busy_timeout=%1").arg(kBusyTimeoutMs),
        QStringLiteral("PRAGMA journal_mode=WAL"),
        QStringLiteral("PRAGMA synchronous=FULL"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS changes ("
                       "id INTEGER PRIMARY KEY AUTOINCREMENT, time TEXT NOT NULL, "
                       "file TEXT NOT NULL, kind TEXT NOT NULL, program TEXT NOT NULL, "
                       "batch TEXT NOT NULL, summary TEXT NOT NULL, "
                       "before_hash TEXT NOT NULL, before_size INTEGER NOT NULL, "
                       "after_hash TEXT NOT NULL, after_size INTEGER NOT NULL, "
                       "trash_path TEXT NOT NULL DEFAULT '', first_copy INTEGER NOT NULL, "
                       "state TEXT NOT NULL, pid INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS changes_file ON changes(file)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS changes_batch ON changes(batch)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS changes_before ON changes(before_hash)"),
        // state: kept, or doomed (no change needs it; its file is being removed).
        // data: the bytes of a content kept in the journal (compressed when packed is 1);
        // NULL for one kept as a file.
        QStringLiteral("CREATE TABLE IF NOT EXISTS contents (hash TEXT PRIMARY KEY, "
                       "stored INTEGER NOT NULL, state TEXT NOT NULL, data BLOB, "
                       "packed INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS settings (name TEXT PRIMARY KEY, "
                       "value TEXT NOT NULL)"),
    };
    for (const QString& sql : setup) {
        if (!exec(sql, error))
            return false;
    }
    m_open = true;
    settlePending();
    removeDoomed();
    return true;
}

QString HistoryStore::setting(const QString& name) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT value FROM settings WHERE name = ?"));
    q.addBindValue(name);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return QString();
}

bool HistoryStore::setSetting(const QString& name, const QString& value, QString* error)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO settings (name, value) VALUES (?, ?)"));
    q.addBindValue(name);
    q.addBindValue(value);
    if (q.exec())
        return true;
    if (error)
        *error = JournalError(q.lastError());
    return false;
}

bool HistoryStore::enabled() const
{
    return setting(QStringLiteral("enabled")) != QLatin1String("0");
}

bool HistoryStore::setEnabled(bool on, QString* error)
{
    return setSetting(QStringLiteral("enabled"), on ? QStringLiteral("1") : QStringLiteral("0"),
                      error);
}

qint64 HistoryStore::sizeLimit() const
{
    bool ok = false;
    const qint64 limit = setting(QStringLiteral("size_limit")).toLongLong(&ok);
    return ok && limit > 0 ? limit : kDefaultSizeLimit;
}

bool HistoryStore::setSizeLimit(qint64 bytes, QString* error)
{
    if (bytes <= 0) {
        if (error)
            *error = QStringLiteral("The size limit must be above 0.");
        return false;
    }
    if (!setSetting(QStringLiteral("size_limit"), QString::number(bytes), error))
        return false;
    prune();
    return true;
}

qint64 HistoryStore::copiesSize() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (q.exec(QStringLiteral("SELECT COALESCE(SUM(stored), 0) FROM contents")) && q.next())
        return q.value(0).toLongLong();
    return 0;
}

qint64 HistoryStore::storeSize() const
{
    qint64 total = 0;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (q.exec(QStringLiteral("SELECT COALESCE(SUM(stored), 0) FROM contents WHERE data IS "
                              "NULL")) &&
        q.next())
        total = q.value(0).toLongLong();
    for (const char* suffix : {"", "-wal", "-shm"})
        total +=
            QFileInfo(m_folder + QStringLiteral("journal.sqlite") + QLatin1String(suffix)).size();
    return total;
}

qint64 HistoryStore::beginChange(const HistoryChange& change, const QByteArray& beforeBytes,
                                 QString* error, const QString& linkSource,
                                 const FileStamp& sourceStamp)
{
    QStringList errors;
    const qint64 id =
        beginChanges({PendingChange{change, beforeBytes, linkSource, sourceStamp}}, &errors)
            .value(0);
    if (id == 0 && error)
        *error = errors.value(0);
    return id;
}

QList<qint64> HistoryStore::beginChanges(const QList<PendingChange>& changes, QStringList* errors)
{
    QList<qint64> ids(changes.size(), 0);
    *errors = QStringList(changes.size(), QString());
    const auto failAll = [&](const QString& reason) {
        std::fill(ids.begin(), ids.end(), 0);
        std::fill(errors->begin(), errors->end(), reason);
        return ids;
    };
    QString reason;
    if (!m_open && !open(&reason))
        return failAll(reason);
    // Packed before the lock is taken, so that other programs wait no longer than the writes;
    // a group's copies on every core.
    std::vector<QByteArray> data(changes.size());
    std::vector<char> packed(changes.size(), 0);
    const auto pack = [&](qsizetype i) {
        const PendingChange& c = changes[i];
        bool isPacked = false;
        if (!c.change.beforeHash.isEmpty() && c.beforeBytes.size() <= kInlineUpTo)
            data[i] = ContentFiles::pack(c.beforeBytes, &isPacked);
        packed[i] = isPacked;
    };
    // One helper besides this thread: more would take the core the window's thread needs.
    std::atomic<qsizetype> next = 0;
    const auto work = [&] {
        for (qsizetype i = next++; i < changes.size(); i = next++)
            pack(i);
    };
    std::future<void> helper;
    if (changes.size() > 1)
        helper = std::async(std::launch::async, work);
    work();
    if (helper.valid())
        helper.get();
    JournalTransaction tx(m_connection);
    if (!tx.active())
        return failAll(tx.error());
    for (qsizetype i = 0; i < changes.size(); ++i) {
        bool fatal = false;
        ids[i] = insertPending(tx, changes[i], data[size_t(i)], packed[size_t(i)] != 0,
                               &(*errors)[i], &fatal);
        if (fatal)
            return failAll((*errors)[i]);
    }
    if (!tx.commit())
        return failAll(tx.error());
    return ids;
}

qint64 HistoryStore::insertPending(JournalTransaction& tx, const PendingChange& pending,
                                   const QByteArray& data, bool packed, QString* error, bool* fatal)
{
    const HistoryChange& change = pending.change;
    const QByteArray& beforeBytes = pending.beforeBytes;
    const bool hasBefore = !change.beforeHash.isEmpty();
    const bool inJournal = beforeBytes.size() <= kInlineUpTo;
    *fatal = true; // a statement that fails fails the whole transaction
    if (hasBefore) {
        // Under the lock: a copy another program was removing (doomed) is kept again.
        QSqlQuery state(tx.db());
        state.prepare(QStringLiteral("SELECT state, data IS NOT NULL FROM contents WHERE "
                                     "hash = ?"));
        state.addBindValue(QString::fromLatin1(change.beforeHash));
        const bool kept = state.exec() && state.next() &&
                          state.value(0).toString() == QLatin1String("kept") &&
                          (state.value(1).toBool() || m_contents.has(change.beforeHash));
        state.finish();
        if (!kept && !inJournal) {
            // Files are made only under the lock and only with their row, so a file without a
            // kept row is a leftover of a program that ended first: made again, not trusted.
            // The file about to be replaced is linked rather than copied: the rename that
            // replaces it leaves its bytes to the history alone.
            m_contents.remove(change.beforeHash);
            const bool linked =
                !pending.linkSource.isEmpty() &&
                m_contents.link(change.beforeHash, pending.linkSource, pending.sourceStamp);
            if (!linked && !m_contents.put(change.beforeHash, beforeBytes, nullptr, error)) {
                *fatal = false; // this file's copy alone
                return 0;
            }
        }
        if (!kept) {
            QSqlQuery keep(tx.db());
            keep.prepare(QStringLiteral("INSERT OR REPLACE INTO contents (hash, stored, state, "
                                        "data, packed) VALUES (?, ?, 'kept', ?, ?)"));
            keep.addBindValue(QString::fromLatin1(change.beforeHash));
            keep.addBindValue(inJournal ? qint64(data.size())
                                        : m_contents.storedSize(change.beforeHash));
            keep.addBindValue(inJournal ? QVariant(data)
                                        : QVariant(QMetaType(QMetaType::QByteArray)));
            keep.addBindValue(packed ? 1 : 0);
            if (!keep.exec()) {
                *error = JournalError(keep.lastError());
                return 0;
            }
        }
    }
    QSqlQuery seen(tx.db());
    seen.prepare(QStringLiteral("SELECT 1 FROM changes WHERE file = ? LIMIT 1"));
    seen.addBindValue(change.file);
    const bool first = hasBefore && seen.exec() && !seen.next();
    seen.finish();

    QSqlQuery insert(tx.db());
    insert.prepare(QStringLiteral(
        "INSERT INTO changes (time, file, kind, program, batch, summary, before_hash, "
        "before_size, after_hash, after_size, trash_path, first_copy, state, pid) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'pending', ?)"));
    const QDateTime time = change.time.isValid() ? change.time : QDateTime::currentDateTimeUtc();
    insert.addBindValue(JournalTime(time));
    insert.addBindValue(notNull(change.file));
    insert.addBindValue(notNull(change.kind));
    insert.addBindValue(notNull(change.program));
    insert.addBindValue(change.batch.isEmpty() ? NewBatchId() : change.batch);
    insert.addBindValue(notNull(change.summary));
    insert.addBindValue(notNull(QString::fromLatin1(change.beforeHash)));
    insert.addBindValue(change.beforeSize);
    insert.addBindValue(notNull(QString::fromLatin1(change.afterHash)));
    insert.addBindValue(change.afterSize);
    insert.addBindValue(notNull(change.trashPath));
    insert.addBindValue(first ? 1 : 0);
    insert.addBindValue(ownPid());
    if (!insert.exec()) {
        *error = JournalError(insert.lastError());
        return 0;
    }
    *fatal = false;
    return insert.lastInsertId().toLongLong();
}

bool HistoryStore::finishChange(qint64 id, const QString& trashPath)
{
    return finishChanges({id}, trashPath);
}

bool HistoryStore::finishChanges(const QList<qint64>& ids, const QString& trashPath)
{
    if (ids.isEmpty())
        return true;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    // Needs no sync of its own: lost to a power cut, the rows are settled from the files when
    // the journal is next opened.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    bool done = false;
    {
        JournalTransaction tx(m_connection);
        QSqlQuery q(tx.db());
        q.prepare(QStringLiteral("UPDATE changes SET state = 'done', trash_path = ? WHERE id = ?"));
        done = tx.active();
        for (const qint64 id : ids) {
            q.addBindValue(notNull(trashPath));
            q.addBindValue(id);
            done = done && q.exec();
        }
        q.finish();
        done = done && tx.commit();
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=FULL"));
    return done;
}

void HistoryStore::cancelChange(qint64 id)
{
    cancelChanges({id});
}

void HistoryStore::cancelChanges(const QList<qint64>& ids)
{
    if (ids.isEmpty())
        return;
    {
        JournalTransaction tx(m_connection);
        if (!tx.active())
            return; // left pending: settled from the files when the journal is next opened
        QSqlQuery del(tx.db());
        del.prepare(QStringLiteral("DELETE FROM changes WHERE id = ? AND state = 'pending'"));
        for (const qint64 id : ids) {
            del.addBindValue(id);
            if (!del.exec())
                return;
        }
        QSqlQuery doom(tx.db());
        // A copy only these changes needed goes: a linked one is still the file's own inode.
        if (!doom.exec(QStringLiteral("UPDATE contents SET state = 'doomed' WHERE hash NOT IN "
                                      "(SELECT before_hash FROM changes)")))
            return;
        del.finish();
        doom.finish();
        if (!tx.commit())
            return;
    }
    removeDoomed();
}

QList<HistoryChange> HistoryStore::select(const QString& where, const QVariantList& values,
                                          const QString& order) const
{
    QList<HistoryChange> result;
    if (!m_open)
        return result;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("SELECT %1 FROM changes WHERE state = 'done'%2 ORDER BY %3")
            .arg(QLatin1String(kColumns), where.isEmpty() ? QString() : " AND " + where, order));
    for (const QVariant& value : values)
        q.addBindValue(value);
    if (!q.exec())
        return result;
    while (q.next())
        result.append(readRow(q));
    return result;
}

QList<HistoryChange> HistoryStore::changes(const QStringList& files) const
{
    if (files.isEmpty())
        return select(QString(), {}, QStringLiteral("id DESC"));
    QStringList marks;
    QVariantList values;
    for (const QString& file : files) {
        marks << QStringLiteral("?");
        values << file;
    }
    return select(QStringLiteral("file IN (%1)").arg(marks.join(',')), values,
                  QStringLiteral("id DESC"));
}

std::optional<HistoryChange> HistoryStore::change(qint64 id) const
{
    const auto found = select(QStringLiteral("id = ?"), {id}, QStringLiteral("id"));
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

QList<HistoryChange> HistoryStore::batch(const QString& batchId) const
{
    return select(QStringLiteral("batch = ?"), {batchId}, QStringLiteral("id"));
}

std::optional<HistoryChange> HistoryStore::latestChange(const QString& file) const
{
    const auto found =
        select(QStringLiteral("file = ?"), {file}, QStringLiteral("id DESC LIMIT 1"));
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

std::optional<HistoryChange> HistoryStore::firstChange(const QString& file) const
{
    // The oldest change that kept a copy; once forgotten, the oldest one left.
    const auto found = select(QStringLiteral("file = ? AND before_hash <> ''"), {file},
                              QStringLiteral("id LIMIT 1"));
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

std::optional<QByteArray> HistoryStore::content(const QByteArray& hexHash, QString* error) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT data, packed FROM contents WHERE hash = ? AND data IS NOT "
                             "NULL"));
    q.addBindValue(QString::fromLatin1(hexHash));
    if (q.exec() && q.next()) {
        QByteArray bytes = q.value(0).toByteArray();
        if (q.value(1).toBool())
            bytes = qUncompress(bytes);
        if (Sha256(bytes).toHex() == hexHash)
            return bytes;
        if (error)
            *error = QStringLiteral("The kept copy in the history is damaged.");
        return std::nullopt;
    }
    return m_contents.get(hexHash, error);
}

bool HistoryStore::hasContent(const QByteArray& hexHash) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT 1 FROM contents WHERE hash = ? AND data IS NOT NULL"));
    q.addBindValue(QString::fromLatin1(hexHash));
    if (q.exec() && q.next())
        return true;
    return m_contents.has(hexHash);
}
