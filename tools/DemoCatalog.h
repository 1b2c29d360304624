// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DemoIcons.h"
#include "StateTypes.h"

#include <QList>
#include <QMap>
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
    quint32 guid = 0;   // 0: DemoGuid of the OBJD's resource name
    // Language sets 1 to languageSets, as clones of the game's objects carry them: copies of
    // the US English texts, except the translations given (language code -> name, description).
    int languageSets = 1;
    QMap<quint8, std::pair<QString, QString>> translations;
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

// An archive of the game's own objects: entries named by relativePath, written into the
// archive at archivePath (below the game folder).
struct DemoArchive {
    QString archivePath;
    QList<DemoFile> entries;
};

// Folders below the game folder that the demo creates, empty ones included.
QStringList DemoFolders();
QList<DemoFile> DemoFiles();
QList<DemoArchive> DemoArchives();
// A GUID of the demo's own, the same for the same resource name: identical copies of a file
// stay identical.
quint32 DemoGuid(const QByteArray& resourceName);
