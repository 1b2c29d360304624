#pragma once

#include "CatalogTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

// Finds the objects of a catalog by typed words, fast enough to run on every keystroke:
// an object matches when each word occurs, without regard to case, in its catalog name,
// resource name, file name, description or GUID ("0x0000ABCD", so "abcd" matches too).
class CatalogFilter
{
public:
    CatalogFilter() = default;
    // Indexes every row of catalog.rows (text decoded from Windows-1252).
    explicit CatalogFilter(const CollectionCatalog& catalog);

    // Indexes into catalog.rows of the matching rows, in row order; every row for a text
    // without words. A text that extends the previous one searches only its matches.
    QList<int> match(const QString& text);
    // True when row (index into catalog.rows) holds every word of text.
    bool matches(int row, const QString& text) const;
    int rowCount() const { return int(m_haystacks.size()); }

private:
    static QStringList words(const QString& text);
    bool holdsAll(int row, const QStringList& words) const;

    QList<QString> m_haystacks; // per row: the searched fields, folded to lower case
    QString m_lastText;
    QList<int> m_lastMatches;
};
