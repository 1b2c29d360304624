// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// A catalog name or description as a text box shows it, and the bytes to store for what the
// box holds later. Every stored byte survives: text equal to the shown text gives back the
// stored bytes exactly, and an edit re-encodes only the part that differs, so untouched line
// breaks (CR LF, lone CR, LF) and non-breaking spaces keep their bytes.
class ShownCatalogText
{
public:
    ShownCatalogText() = default;
    // multiLine: each line break (CR LF, lone CR or LF) is shown as one '\n'; otherwise every
    // byte is one character.
    ShownCatalogText(const QByteArray& stored, bool multiLine);

    const QString& text() const { return m_text; }
    const QByteArray& stored() const { return m_stored; }
    // The bytes for edited, or nullopt with a message in *error when the changed part cannot
    // be stored. A '\n' typed into a multi-line text is stored as CR LF.
    std::optional<QByteArray> bytesFor(const QString& edited, QString* error) const;

private:
    QByteArray m_stored;
    QString m_text;
    QList<qsizetype> m_byteAt; // stored offset where each shown character starts, plus the end
    bool m_multiLine = false;
};
