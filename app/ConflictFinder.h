// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogTypes.h"

#include <functional>

// Reads a scanned file's bytes anew (to tell identical copies); false when it cannot.
using CatalogBytesReader = std::function<bool(const CatalogFile&, QByteArray*)>;

// The GUIDs held by two or more OBJDs of files, in the order their first member was met.
// Members whose files have the same size are compared by content (read through readBytes)
// to mark identical copies.
QList<CatalogConflict> FindConflicts(const QList<CatalogFile>& files,
                                     const CatalogBytesReader& readBytes);
