// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Plain values describing the objects of a whole collection, made by a scan (CollectionScan.h)
// on any thread and read by the window and the command-line tool.

enum class FileProblem {
    None,
    CannotOpen,    // the file could not be read (reason says why)
    NotObjectFile, // wrong signature, too short, or too large
    Damaged,       // chunks that lie (reason says which); its readable objects are listed
};

// One object as the object list of its file shows it. (The tests' fixture helper of the same
// name is a function: where both are seen, write `struct CatalogObject` or `auto`.)
struct CatalogObject {
    quint16 id = 0;          // OBJD ID
    QByteArray resourceName; // the OBJD chunk's name
    QByteArray name;         // catalog name, Windows-1252 bytes; "*NONE*" without catalog text
    QByteArray description;  // catalog description, likewise
    quint8 language = 0;     // the language set name and description come from; 0 without
    // The other language sets' names and descriptions that differ from these two, each once,
    // separated by line breaks: found by the word filter, never shown.
    QByteArray otherTexts;
    qint32 price = 0;
    bool disabled = false;
    SortSet sorts{};
    quint32 guid = 0;
};

// One OBJD of a file, listed or not (the tiles of a multi-tile object too).
struct CatalogGuid {
    quint16 id = 0;
    QByteArray resourceName;
    quint32 guid = 0;
};

// One object file: a loose file of the file list, or an object file inside one of the game's
// archives. A problem of a whole archive is a CatalogFile with inArchive set and an empty
// entry.
struct CatalogFile {
    QString path;           // the loose file, or the archive
    QByteArray entry;       // the name inside the archive; empty for a loose file
    bool inArchive = false; // one of the game's own: shown, never opened or deleted
    FileProblem problem = FileProblem::None;
    QString reason;               // for a person; empty without a problem
    qint64 size = 0;              // bytes of the object file (of the archive for its problem)
    QList<CatalogObject> objects; // the object list, in listing order
    QList<CatalogGuid> guids;     // every OBJD, in load order

    // The path to show: the loose file's path, or "<archive>/<entry>" for an archive entry.
    QString displayPath() const;
    // The main window can open it: a loose file.
    bool canOpen() const { return !inArchive; }
};

// One OBJD that shares its GUID with another.
struct ConflictMember {
    int file = 0; // index into CollectionCatalog::files
    quint16 id = 0;
    QByteArray resourceName;
    // The file's bytes equal those of another member's file: deleting one copy cures it.
    bool identicalCopy = false;
};

// A GUID held by two or more OBJDs anywhere in the scan; members in scan order.
struct CatalogConflict {
    quint32 guid = 0;
    QList<ConflictMember> members;
};

// One row of the all-objects view.
struct CatalogRow {
    int file = 0;   // index into CollectionCatalog::files
    int object = 0; // index into that file's objects
};

// The result of a scan.
struct CollectionCatalog {
    // The file list's files in its order, then the game's archives: their object files in
    // manifest order (a damaged archive as one file with its problem).
    QList<CatalogFile> files;
    QList<CatalogRow> rows;           // every listed object, files in order
    QList<CatalogConflict> conflicts; // in the order their first member was met
    QList<int> problems;              // indexes of the files with a problem, in order
    bool cancelled = false;           // the scan stopped early; the lists are partial

    const CatalogObject& object(const CatalogRow& row) const
    {
        return files[row.file].objects[row.object];
    }
};

// "0x" and 8 upper-case hex digits.
QString GuidText(quint32 guid);
