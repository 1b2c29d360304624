#pragma once

// Object files for the kestrane-cli tests, generated here.

#include "CatalogFixture.h"
#include "DataFiles.h"

#include <QByteArray>
#include <gtest/gtest.h>

inline ObjdSpec FixtureObjd(quint16 groupId, quint16 tileIndex, quint16 price, quint16 stringsId,
                            SortSet sorts = {}, quint16 disabled = 0)
{
    ObjdSpec spec;
    spec.groupId = groupId;
    spec.tileIndex = tileIndex;
    spec.price = price;
    spec.catalogStringsId = stringsId;
    spec.sorts = sorts;
    spec.disabled = disabled;
    return spec;
}

inline const SortSet kChairSorts = {1, 2, 4, 8, 16, 32, 64, 128, 3};

// OBJD 128 with catalog text (CTSS 2000), OBJD 129 pointing at a CTSS the file lacks,
// a two-tile object (lead 130, tile 131) and two further resources.
inline QByteArray CatalogFileBytes()
{
    CatalogFixture fixture;
    fixture.objd(128, "Chair \xe9", FixtureObjd(1, 0, 250, 2000, kChairSorts, 1))
        .ctss(2000, MakeCatalogCtss("Oak Chair", "Sturdy \x80 seat"))
        .objd(129, "Lamp", FixtureObjd(2, 0, 40, 3000, {128, 2, 8, 0, 0, 0, 0, 0, 0}))
        .objd(130, "Bed lead", FixtureObjd(5, 0xFFFF, 900, 2000))
        .objd(131, "Bed tile", FixtureObjd(5, 0, 0, 2000))
        .bmp(2000, "Catalog", QByteArray("0123456789"))
        .chunk("STR#", 128, "strings", QByteArray("abc"));
    return fixture.fileBytes();
}

// One object whose definition ends before its price field.
inline QByteArray ShortObjdFileBytes()
{
    ObjdSpec spec = FixtureObjd(1, 0, 0, 2000);
    spec.bodySize = 30;
    CatalogFixture fixture;
    fixture.objd(128, "Stub", spec).ctss(2000, MakeCatalogCtss("Stub", "Too short"));
    return fixture.fileBytes();
}

inline QByteArray PresetsBytes(const QList<Preset>& presets)
{
    QByteArray bytes;
    EXPECT_TRUE(EncodePresets(presets, &bytes));
    return bytes;
}
