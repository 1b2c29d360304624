// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Shared by the history tests: a temporary home with a data folder and object files, and a
// store on that data folder.

#include "AppTestEnv.h"
#include "CatalogFixture.h"
#include "HistoryStore.h"
#include "KeptSave.h"
#include "Sha256.h"
#include "clsIFF.h"

#include <QRandomGenerator>

// One catalog object (OBJD 128, text in CTSS 2000) at a price; the text as real files hold it.
inline QByteArray SofaBytes(quint16 price, const QByteArray& extra = QByteArray())
{
    CatalogFixture fixture;
    fixture.objd(128, "Sofa objd", CatalogObject(2000, price))
        .ctss(2000, MakeCatalogCtss("Sofa\xa0"
                                    "caf\xe9",
                                    "Soft.\r\nBlue \x80"));
    if (!extra.isEmpty())
        fixture.chunk("BMP_", 300, "extra", extra);
    return fixture.fileBytes();
}

class HistoryTest : public ::testing::Test
{
protected:
    TempHome tmp;
    StateGuard guard;
    QString data = tmp.dir.filePath(QStringLiteral("data/"));
    QString game = tmp.dir.filePath(QStringLiteral("game/"));
    HistoryStore store{data};
    const ChangeInfo cli{QStringLiteral("cli"), QString(), QStringLiteral("test change")};

    QString put(const QString& name, const QByteArray& bytes)
    {
        MakeFile(game + name, bytes);
        return game + name;
    }
    // Loads path, sets OBJD 128's price and saves through the history.
    bool savePrice(const QString& path, quint16 price, QString* error = nullptr,
                   const ChangeInfo& info = {QStringLiteral("cli"), QString(), QString()})
    {
        clsIFF doc;
        EXPECT_TRUE(doc.LoadFile(path));
        EXPECT_TRUE(doc.SetPrice(128, price));
        QString ignored;
        return SaveDocumentKept(store, doc, path, info, error ? error : &ignored);
    }
    static QByteArray hexOf(const QByteArray& bytes) { return Sha256(bytes).toHex(); }
    // Bytes that do not compress.
    static QByteArray Noise(int size, quint32 seed)
    {
        QByteArray noise(size, '\0');
        QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(noise.data()), size / 4);
        return noise;
    }
    static qint32 priceOf(const QString& path)
    {
        clsIFF doc;
        return doc.LoadFile(path) ? doc.GetPrice(128) : -1;
    }
    // Every row names a copy the store holds (or none: the file did not exist).
    void expectCopiesKept() const
    {
        for (const HistoryChange& change : store.changes()) {
            if (!change.beforeHash.isEmpty())
                EXPECT_TRUE(store.hasContent(change.beforeHash)) << change.id;
        }
    }
};
