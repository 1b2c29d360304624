// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalTransaction.h"

#include <QSqlError>
#include <QSqlQuery>

QString JournalError(const QSqlError& error)
{
    const QString text = error.text();
    if (text.contains(QStringLiteral("locked"), Qt::CaseInsensitive) ||
        text.contains(QStringLiteral("busy"), Qt::CaseInsensitive))
        return QStringLiteral("The history's journal is busy (another Kestrane program is "
                              "writing to it): %1")
            .arg(text);
    return QStringLiteral("The history's journal could not be written: %1").arg(text);
}

QString JournalTime(const QDateTime& time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

JournalTransaction::JournalTransaction(const QString& connection)
    : m_db(QSqlDatabase::database(connection, false))
{
    QSqlQuery begin(m_db);
    m_active = begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_active)
        m_error = JournalError(begin.lastError());
}

JournalTransaction::~JournalTransaction()
{
    if (m_active)
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
}

bool JournalTransaction::commit()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("COMMIT"))) {
        m_error = JournalError(query.lastError());
        return false;
    }
    m_active = false;
    return true;
}
