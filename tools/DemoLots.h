// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayList>
#include <QList>
#include <QString>

// The demo's neighbourhoods: lot files whose OBJT chunks place some of the demo's objects, the
// game's sofa (which the recolour download shares a GUID with) among them.
struct DemoLot {
    QString relativePath; // below the game folder
    quint32 objtVersion = 2;
    QByteArrayList objects; // the placed objects' OBJD resource names
    bool cutShort = false;  // written only in part, so that it reads as damaged
};

QList<DemoLot> DemoLots();

// Writes the demo's lot files below gameFolder; false with *error when one cannot be written.
bool WriteDemoLots(const QString& gameFolder, QString* error);
