// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IListSink.h"

#include <QByteArray>
#include <QList>
#include <QSet>

// A list that keeps the rows a listing adds, one row per key as in the window's list views,
// so a command can print them once the listing is complete.
class ListCollector : public IListSink
{
public:
    struct Row {
        QByteArray key;
        QByteArray text;
        QList<QByteArray> subItems;
    };

    void Clear() override
    {
        m_rows.clear();
        m_keys.clear();
    }
    void AddRow(const QByteArray& key, const QByteArray& text,
                const QList<QByteArray>& subItems) override
    {
        if (m_keys.contains(key))
            return;
        m_keys.insert(key);
        m_rows.append(Row{key, text, subItems});
    }
    const QList<Row>& rows() const { return m_rows; }

private:
    QList<Row> m_rows;
    QSet<QByteArray> m_keys;
};
