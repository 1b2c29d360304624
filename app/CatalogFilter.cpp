// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogFilter.h"

#include "Cp1252.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace
{

const char* Find(const char* from, const char* to, const QByteArray& word)
{
    return static_cast<const char*>(
        memmem(from, size_t(to - from), word.constData(), size_t(word.size())));
}

} // namespace

CatalogFilter::CatalogFilter() : m_starts{0} {}

CatalogFilter::CatalogFilter(const CollectionCatalog& catalog)
{
    m_starts.reserve(catalog.rows.size() + 1);
    QHash<int, QString> fileNames;
    for (const CatalogRow& row : catalog.rows) {
        const CatalogFile& file = catalog.files[row.file];
        auto name = fileNames.constFind(row.file);
        if (name == fileNames.constEnd())
            name =
                fileNames.insert(row.file, file.entry.isEmpty() ? QFileInfo(file.path).fileName()
                                                                : QString::fromLatin1(file.entry));
        const CatalogObject& object = catalog.object(row);
        // Fields joined by a line break, which no typed word holds, so no match spans two.
        QString text = DecodeCp1252(object.name);
        text += QLatin1Char('\n');
        text += DecodeCp1252(object.resourceName);
        text += QLatin1Char('\n');
        text += *name;
        text += QLatin1Char('\n');
        text += DecodeCp1252(object.description);
        text += QLatin1Char('\n');
        text += GuidText(object.guid);
        if (!object.otherTexts.isEmpty()) {
            text += QLatin1Char('\n');
            text += DecodeCp1252(object.otherTexts);
        }
        m_starts.append(m_text.size());
        m_text += text.toCaseFolded().toUtf8();
        m_text += '\0';
    }
    m_starts.append(m_text.size());
}

QList<QByteArray> CatalogFilter::words(const QString& text)
{
    QString cleaned = text;
    cleaned.remove(QChar(0));
    QList<QByteArray> out;
    for (const QString& word :
         cleaned.simplified().toCaseFolded().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out.append(word.toUtf8());
    // The longest word first: it rules out the most rows at the first look.
    std::stable_sort(out.begin(), out.end(),
                     [](const QByteArray& a, const QByteArray& b) { return a.size() > b.size(); });
    return out;
}

int CatalogFilter::rowAt(qsizetype offset) const
{
    return int(std::upper_bound(m_starts.begin(), m_starts.end(), offset) - m_starts.begin()) - 1;
}

bool CatalogFilter::holdsAll(int row, const QList<QByteArray>& words) const
{
    const char* begin = m_text.constData() + m_starts[row];
    const char* end = m_text.constData() + m_starts[row + 1];
    for (const QByteArray& word : words) {
        if (!Find(begin, end, word))
            return false;
    }
    return true;
}

bool CatalogFilter::matches(int row, const QString& text) const
{
    return row >= 0 && row < rowCount() && holdsAll(row, words(text));
}

QList<int> CatalogFilter::match(const QString& text)
{
    const QList<QByteArray> wanted = words(text);
    QList<int> found;
    if (wanted.isEmpty()) {
        found.reserve(rowCount());
        for (int row = 0; row < rowCount(); ++row)
            found.append(row);
    } else if (!m_lastText.isEmpty() && text.startsWith(m_lastText) &&
               !words(m_lastText).isEmpty()) {
        // Typing on only narrows: the earlier words stay, the last one can only grow, so
        // every match of the longer text was a match of the shorter one.
        for (const int row : std::as_const(m_lastMatches)) {
            if (holdsAll(row, wanted))
                found.append(row);
        }
    } else {
        // One pass over the whole text for the first word; each hit's row is then checked
        // for the others and the search goes on at the next row.
        const char* const base = m_text.constData();
        const char* const end = base + m_text.size();
        const QList<QByteArray> others = wanted.mid(1);
        const char* from = base;
        while (const char* hit = Find(from, end, wanted.first())) {
            const int row = rowAt(hit - base);
            if (holdsAll(row, others))
                found.append(row);
            from = base + m_starts[row + 1];
        }
    }
    m_lastText = text;
    m_lastMatches = found;
    return found;
}
