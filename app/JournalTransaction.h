// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

class QSqlError;

// The history journal's reason for a failed statement, for a person; says so when another
// program held the journal too long.
QString JournalError(const QSqlError& error);
// How the journal stores a time: ISO 8601 in UTC with milliseconds, which sorts as text.
QString JournalTime(const QDateTime& time);

// Write transactions take the write lock at once, so that two programs never both read and
// then both try to write (which SQLite refuses without waiting).
class JournalTransaction
{
public:
    explicit JournalTransaction(const QString& connection);
    ~JournalTransaction();
    JournalTransaction(const JournalTransaction&) = delete;
    JournalTransaction& operator=(const JournalTransaction&) = delete;
    bool active() const { return m_active; }
    QString error() const { return m_error; }
    bool commit();
    QSqlDatabase& db() { return m_db; }

private:
    QSqlDatabase m_db;
    bool m_active = false;
    QString m_error;
};
