#pragma once

#include "DemoIcons.h"
#include "StateTypes.h"

#include <QList>
#include <QString>

// The content of the demo installation: which object files it holds and what is in them.

struct DemoObject {
    QByteArray resourceName; // the OBJD chunk's name, shown in the object list
    QString name;            // catalog name; with no catalog text both texts stay empty
    QString description;
    bool hasCatalogText = true;
    quint16 price = 0;
    bool disabled = false;
    SortSet sorts{};
    IconPicture picture = IconPicture::Chair;
    QRgb iconColour = 0;
    int extraTiles = 0; // further tiles of a multi-tile object, listed under its lead
};

struct DemoFile {
    enum class Kind {
        Normal,
        ReadOnly,     // saved, then made read-only
        Version20,    // carries the older 2.0 signature
        BadSignature, // a download that is not an IFF file at all
        Truncated,    // a download cut off inside a chunk
    };
    QString relativePath; // below the game folder
    Kind kind = Kind::Normal;
    QList<DemoObject> objects;
};

// Folders below the game folder that the demo creates, empty ones included.
QStringList DemoFolders();
QList<DemoFile> DemoFiles();
