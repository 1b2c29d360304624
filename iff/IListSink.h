// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// A report-style list that the document's listings fill: rows with a key, a text and
// sub-items (the following columns). The window adapts its list views to it; the command-line
// tool prints through it. Texts are bytes; whoever shows them decodes them.
class IListSink
{
public:
    virtual ~IListSink() = default;
    virtual void Refresh() {}
    virtual void Clear() = 0;
    virtual void AddRow(const QByteArray& key, const QByteArray& text,
                        const QList<QByteArray>& subItems) = 0;
};
