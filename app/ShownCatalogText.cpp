// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShownCatalogText.h"

#include "CatalogText.h"
#include "Cp1252.h"

ShownCatalogText::ShownCatalogText(const QByteArray& stored, bool multiLine)
    : m_stored(stored), m_multiLine(multiLine)
{
    // Windows-1252 gives one character per byte, so positions carry over.
    const QString decoded = DecodeCp1252(stored);
    m_text.reserve(decoded.size());
    m_byteAt.reserve(decoded.size() + 1);
    for (qsizetype i = 0; i < stored.size(); ++i) {
        m_byteAt.append(i);
        const char byte = stored.at(i);
        if (multiLine && (byte == '\r' || byte == '\n')) {
            m_text.append(QLatin1Char('\n'));
            if (byte == '\r' && i + 1 < stored.size() && stored.at(i + 1) == '\n')
                ++i;
        } else {
            m_text.append(decoded.at(i));
        }
    }
    m_byteAt.append(stored.size());
}

std::optional<QByteArray> ShownCatalogText::bytesFor(const QString& edited, QString* error) const
{
    if (edited == m_text) {
        if (error)
            error->clear();
        return m_stored;
    }
    const qsizetype shownSize = m_text.size();
    const qsizetype editedSize = edited.size();
    qsizetype prefix = 0;
    while (prefix < shownSize && prefix < editedSize && m_text.at(prefix) == edited.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shownSize - prefix && suffix < editedSize - prefix &&
           m_text.at(shownSize - 1 - suffix) == edited.at(editedSize - 1 - suffix))
        ++suffix;

    QString changed = edited.mid(prefix, editedSize - prefix - suffix);
    const QByteArray left = m_stored.left(m_byteAt.at(prefix));
    // A lone CR before a deletion and a lone LF after it would meet as one CR LF: one break
    // where the text shows two. The LF's break is then typed afresh.
    if (changed.isEmpty() && left.endsWith('\r') &&
        m_stored.mid(m_byteAt.at(shownSize - suffix)).startsWith('\n')) {
        --suffix;
        changed = QStringLiteral("\n");
    }
    if (m_multiLine)
        changed.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const std::optional<QByteArray> middle = EncodeCatalogText(changed, error);
    if (!middle)
        return std::nullopt;
    return left + *middle + m_stored.mid(m_byteAt.at(shownSize - suffix));
}
