// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

// Finds the objects of a catalog by typed words, fast enough to run on every keystroke:
// an object matches when each word occurs, without regard to case, in its catalog name,
// resource name, file name, description, GUID ("0x0000ABCD", so "abcd" matches too) or the
// name or description of another language.
class CatalogFilter
{
public:
    CatalogFilter();
    // Indexes every row of catalog.rows (text decoded from Windows-1252).
    explicit CatalogFilter(const CollectionCatalog& catalog);

    // Indexes into catalog.rows of the matching rows, in row order; every row for a text
    // without words. A text that extends the previous one searches only its matches.
    QList<int> match(const QString& text);
    // True when row (index into catalog.rows) holds every word of text.
    bool matches(int row, const QString& text) const;
    int rowCount() const { return int(m_starts.size()) - 1; }

private:
    static QList<QByteArray> words(const QString& text);
    bool holdsAll(int row, const QList<QByteArray>& words) const;
    int rowAt(qsizetype offset) const;

    // Every row's searched fields, case-folded, as UTF-8 (a word matches the same bytes),
    // rows one after another, each ended by a 0 byte, which no word holds.
    QByteArray m_text;
    QList<qsizetype> m_starts; // where each row begins, and the end of the text last
    QString m_lastText;
    QList<int> m_lastMatches;
};
