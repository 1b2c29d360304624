// SPDX-License-Identifier: GPL-3.0-or-later
// The history's upkeep: rows left pending by programs that ended, copies no change needs any
// more, pruning past the size limit, and forgetting.
#include "HistoryStore.h"
#include "JournalTransaction.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace
{

// A pending row older than this is settled even when its program seems to run.
constexpr qint64 kPendingStaleSecs = 3600;
// Files in the contents folder that no row names are removed once this old: younger ones may
// belong to a change another program is recording.
constexpr qint64 kStrayAgeSecs = 24 * 3600;

bool processRuns(qint64 pid)
{
#ifdef Q_OS_UNIX
    if (pid == qint64(::getpid()))
        return true;
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    Q_UNUSED(pid);
    return true;
#endif
}

} // namespace

void HistoryStore::settlePending()
{
    struct Pending {
        qint64 id;
        QString file;
        QByteArray before, after;
    };
    QList<Pending> pending;
    {
        QSqlQuery q(QSqlDatabase::database(m_connection, false));
        q.prepare(QStringLiteral("SELECT id, file, before_hash, after_hash, pid, time FROM "
                                 "changes WHERE state = 'pending'"));
        if (!q.exec())
            return;
        const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-kPendingStaleSecs);
        while (q.next()) {
            const qint64 pid = q.value(4).toLongLong();
            const QDateTime time = QDateTime::fromString(q.value(5).toString(), Qt::ISODateWithMs);
            // A change a running program (this one included: another thread, another store)
            // is making right now is left to it.
            if (processRuns(pid) && time > stale)
                continue;
            pending.append({q.value(0).toLongLong(), q.value(1).toString(),
                            q.value(2).toString().toLatin1(), q.value(3).toString().toLatin1()});
        }
    }
    for (const Pending& p : pending) {
        const QByteArray now = HashOfFile(p.file).value_or(QByteArray());
        if (now == p.before && now != p.after)
            cancelChange(p.id); // the file was never replaced
        else
            finishChange(p.id); // replaced, or changed since: the copy stays reachable
    }
}

void HistoryStore::removeDoomed()
{
    {
        QSqlQuery any(QSqlDatabase::database(m_connection, false));
        if (!any.exec(QStringLiteral("SELECT 1 FROM contents WHERE state = 'doomed' LIMIT 1")) ||
            !any.next())
            return;
    }
    JournalTransaction tx(m_connection);
    if (!tx.active())
        return;
    QStringList doomed;
    {
        QSqlQuery q(tx.db());
        if (!q.exec(QStringLiteral("SELECT hash FROM contents WHERE state = 'doomed'")))
            return;
        while (q.next())
            doomed << q.value(0).toString();
    }
    if (doomed.isEmpty())
        return;
    // Under the lock, so that no program keeps one of them again meanwhile.
    for (const QString& hash : doomed)
        m_contents.remove(hash.toLatin1());
    QSqlQuery(tx.db()).exec(QStringLiteral("DELETE FROM contents WHERE state = 'doomed'"));
    tx.commit();
}

void HistoryStore::sweepStrays()
{
    QSet<QString> known;
    {
        QSqlQuery q(QSqlDatabase::database(m_connection, false));
        if (!q.exec(QStringLiteral("SELECT hash FROM contents")))
            return;
        while (q.next())
            known.insert(q.value(0).toString());
    }
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-kStrayAgeSecs);
    QDirIterator it(m_contents.folder(), QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString name = info.fileName();
        if (name.endsWith(QStringLiteral(".z")))
            name.chop(2);
        if (!known.contains(name) && info.lastModified().toUTC() < old)
            QFile::remove(info.filePath());
    }
}

void HistoryStore::prune()
{
    if (!m_open)
        return;
    // The limit is on the kept copies; the journal is small beside them.
    const qint64 limit = sizeLimit();
    if (copiesSize() <= limit)
        return;
    struct Row {
        qint64 id;
        QString hash;
        bool first;
    };
    QList<Row> rows;
    QHash<QString, int> uses;
    QSet<QString> firsts;
    QHash<QString, qint64> stored;
    {
        QSqlQuery q(QSqlDatabase::database(m_connection, false));
        q.exec(QStringLiteral("SELECT id, before_hash, first_copy FROM changes WHERE state = "
                              "'done' ORDER BY id"));
        while (q.next()) {
            const Row row{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toBool()};
            rows.append(row);
            uses[row.hash] += 1;
            if (row.first)
                firsts.insert(row.hash);
        }
        QSqlQuery s(QSqlDatabase::database(m_connection, false));
        s.exec(QStringLiteral("SELECT hash, stored FROM contents"));
        while (s.next())
            stored.insert(s.value(0).toString(), s.value(1).toLongLong());
    }
    qint64 excess = copiesSize() - limit;
    QList<qint64> drop;
    for (const Row& row : rows) {
        if (excess <= 0)
            break;
        if (row.first || row.hash.isEmpty() || firsts.contains(row.hash))
            continue;
        drop.append(row.id);
        if (--uses[row.hash] == 0)
            excess -= stored.value(row.hash);
    }
    if (drop.isEmpty())
        return;
    {
        JournalTransaction tx(m_connection);
        if (!tx.active())
            return;
        for (const qint64 id : drop) {
            QSqlQuery del(tx.db());
            del.prepare(QStringLiteral("DELETE FROM changes WHERE id = ?"));
            del.addBindValue(id);
            del.exec();
        }
        QSqlQuery(tx.db()).exec(
            QStringLiteral("UPDATE contents SET state = 'doomed' WHERE hash NOT IN "
                           "(SELECT before_hash FROM changes)"));
        tx.commit();
    }
    removeDoomed();
}

bool HistoryStore::forget(std::optional<int> olderThanDays, QString* error)
{
    if (!m_open && !open(error))
        return false;
    {
        JournalTransaction tx(m_connection);
        if (!tx.active()) {
            if (error)
                *error = tx.error();
            return false;
        }
        QSqlQuery del(tx.db());
        if (olderThanDays) {
            del.prepare(QStringLiteral("DELETE FROM changes WHERE state = 'done' AND time < ?"));
            del.addBindValue(JournalTime(QDateTime::currentDateTimeUtc().addDays(-*olderThanDays)));
        } else {
            del.prepare(QStringLiteral("DELETE FROM changes WHERE state = 'done'"));
        }
        QSqlQuery doom(tx.db());
        if (!del.exec() ||
            !doom.exec(QStringLiteral("UPDATE contents SET state = 'doomed' WHERE hash NOT IN "
                                      "(SELECT before_hash FROM changes)"))) {
            if (error)
                *error =
                    JournalError(del.lastError().isValid() ? del.lastError() : doom.lastError());
            return false;
        }
        del.finish();
        doom.finish();
        if (!tx.commit()) {
            if (error)
                *error = tx.error();
            return false;
        }
    }
    removeDoomed();
    sweepStrays();
    return true;
}
