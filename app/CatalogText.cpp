// SPDX-License-Identifier: GPL-3.0-or-later
#include "CatalogText.h"

#include "Cp1252.h"

namespace
{

void setError(QString* error, const QString& message)
{
    if (error)
        *error = message;
}

// The first character (a whole surrogate pair counts as one) that Windows-1252 cannot hold.
QString firstUnstorable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            length = 2;
        const QString piece = text.mid(i, length);
        if (!EncodeCp1252(piece))
            return piece;
        i += length - 1;
    }
    return QString();
}

} // namespace

std::optional<QByteArray> EncodeCatalogText(const QString& text, QString* error)
{
    if (text.contains(QChar(0))) {
        setError(error, QStringLiteral("The text cannot contain a null character."));
        return std::nullopt;
    }
    std::optional<QByteArray> bytes = EncodeCp1252(text);
    if (!bytes) {
        setError(error, QStringLiteral("The text contains a character that the game's catalog "
                                       "cannot hold: \"%1\"")
                            .arg(firstUnstorable(text)));
        return std::nullopt;
    }
    if (error)
        error->clear();
    return bytes;
}
