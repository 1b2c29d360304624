// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ObjectEdit.h"

#include <QString>
#include <optional>

class QCommandLineParser;

// What set's command line asks for, read and checked before any file is touched.
struct SetRequest {
    ObjectEdit edit;               // without name, description and preset sorts yet
    std::optional<quint16> objdId; // --object: only that object of each file
    std::optional<QString> match;  // --match WORDS
    std::optional<QString> name;   // --name, encoded when the run starts
    std::optional<QString> description;
    std::optional<QString> preset; // --preset NAME, looked up when the run starts
    QString priceText;             // --price as given, for the note on a bounded price
    bool dryRun = false;
};

// Reads the options; the usage message, empty when they are sound.
QString ReadSetRequest(const QCommandLineParser& parser, SetRequest* request);
// "GROUP=+FLAG,-FLAG" with the captions the window shows, case-blind, added to marks; the
// usage message, empty when it is sound. Build Mode takes one caption.
QString ReadSortMarks(const QString& text, SortMarks* marks);
