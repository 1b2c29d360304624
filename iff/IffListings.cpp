// SPDX-License-Identifier: GPL-3.0-or-later
#include "clsIFF.h"

#include <QHash>

namespace
{

QByteArray sizeText(const clsResource& r)
{
    return " (size: " + QByteArray::number(qint64(r.Length) - 76) + ")";
}

// Records that share a key (the loader keeps them all) would give rows with the same key:
// the first keeps its Key, the n-th later one gets "#n" appended.
class RowKeys
{
public:
    QByteArray next(const clsResource& r)
    {
        const QByteArray key = r.Key();
        const int seen = ++m_seen[key.toLower()];
        return seen == 1 ? key : key + '#' + QByteArray::number(seen);
    }

private:
    QHash<QByteArray, int> m_seen;
};

} // namespace

void clsIFF::GenerateFormatList(IListSink& List) const
{
    QList<QPair<QByteArray, int>> tally;
    QHash<QByteArray, qsizetype> index;
    for (const auto& r : m_resources) {
        const auto it = index.constFind(r->Format);
        if (it != index.constEnd()) {
            ++tally[it.value()].second;
        } else {
            index.insert(r->Format, tally.size());
            tally.append({r->Format, 1});
        }
    }
    List.Clear();
    List.AddRow("ALL", ">> All resources", {});
    for (const auto& [format, count] : tally) {
        if (format == "rsmp")
            continue;
        List.AddRow(format, format + " (" + QByteArray::number(count) + ")", {});
    }
}

void clsIFF::GenerateResourceList(IListSink& List, const QByteArray& Format) const
{
    List.Refresh();
    List.Clear();
    RowKeys keys;
    for (const auto& r : m_resources) {
        if (r->Format != Format)
            continue;
        const QByteArray text =
            "#" + QByteArray::number(r->ID) + ": \"" + r->Name + "\"" + sizeText(*r);
        List.AddRow(keys.next(*r), text, {r->SortID()});
    }
}

void clsIFF::GenerateAllResourceList(IListSink& List) const
{
    List.Clear();
    RowKeys keys;
    for (const auto& r : m_resources) {
        if (r->Format == "rsmp")
            continue;
        List.AddRow(keys.next(*r), r->Format,
                    {QByteArray::number(r->ID), r->Name + sizeText(*r), r->SortID()});
    }
}
