#include "CatalogFilter.h"

#include "Cp1252.h"

#include <QFileInfo>

CatalogFilter::CatalogFilter(const CollectionCatalog& catalog)
{
    m_haystacks.reserve(catalog.rows.size());
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
        m_haystacks.append(text.toCaseFolded());
    }
}

QStringList CatalogFilter::words(const QString& text)
{
    return text.toCaseFolded().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool CatalogFilter::holdsAll(int row, const QStringList& words) const
{
    const QString& haystack = m_haystacks[row];
    for (const QString& word : words) {
        if (!haystack.contains(word))
            return false;
    }
    return true;
}

bool CatalogFilter::matches(int row, const QString& text) const
{
    return row >= 0 && row < m_haystacks.size() && holdsAll(row, words(text));
}

QList<int> CatalogFilter::match(const QString& text)
{
    const QStringList wanted = words(text);
    QList<int> found;
    if (wanted.isEmpty()) {
        found.reserve(m_haystacks.size());
        for (int row = 0; row < m_haystacks.size(); ++row)
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
        for (int row = 0; row < m_haystacks.size(); ++row) {
            if (holdsAll(row, wanted))
                found.append(row);
        }
    }
    m_lastText = text;
    m_lastMatches = found;
    return found;
}
