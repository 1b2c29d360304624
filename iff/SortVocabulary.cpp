// SPDX-License-Identifier: GPL-3.0-or-later
#include "SortVocabulary.h"

#include <QStringList>

namespace
{

// Flag lists: the row at position p stands for 2^p, except that the last row is always 128
// (the five-row town lists jump from 8 to 128 for "Miscellaneous").
QList<SortRow> flagRows(const QStringList& texts)
{
    QList<SortRow> rows;
    for (int p = 0; p < texts.size(); ++p) {
        const int value = (p == texts.size() - 1) ? 128 : (1 << p);
        rows.append(SortRow{texts[p], value, value});
    }
    return rows;
}

const QStringList kTownSlots[5] = {
    {"Dining", "Shops", "Outdoor", "Street", "Miscellaneous"},        // Downtown
    {"Lodging", "Shops", "Recreation", "Amenities", "Miscellaneous"}, // Vacation
    {"Dining", "Shops", "Outdoor", "Street", "Miscellaneous"},        // Community
    {"Food", "Shops", "Studio", "Spa", "Miscellaneous"},              // Studio Town
    {"Food", "Shops", "MagiCo", "Outdoors", "Miscellaneous"},         // Magic Town
};

const QStringList kSubFunctions[8] = {
    {"Dining Chairs", "Lounge Chairs", "Sofas", "Beds", "Other"},
    {"Counters", "Tables", "End Tables", "Desks", "Other"},
    {"Stoves", "Refrigerators", "Small Appliances", "Large Appliances", "Other"},
    {"Entertainment", "Video", "Audio", "Phones", "Other"},
    {"Toilets", "Showers", "Sinks", "Hot Tubs", "Other"},
    {"Paintings", "Sculptures", "Rugs", "Plants", "Other"},
    {"Recreation", "Knowledge", "Creative", "Wardrobe", "Other", "Pets", "Magic"},
    {"Table Lamps", "Floor Lamps", "Wall Lamps", "Ceiling Lamps", "Other"},
};

} // namespace

QString SortCaption(int slot)
{
    static const char* const captions[9] = {
        "Function:",  "Sub-Function:", "Room:",       "Downtown:",  "Vacation:",
        "Community:", "Studio Town:",  "Magic Town:", "Build Mode:"};
    if (slot < 0 || slot > 8)
        return {};
    return QString::fromLatin1(captions[slot]);
}

QList<SortRow> SortRows(int slot)
{
    switch (slot) {
    case 0:
        return flagRows({"Seating", "Surfaces", "Appliances", "Electronics", "Plumbing",
                         "Decorative", "Miscellaneous", "Lighting"});
    case 2:
        return flagRows({"Kitchen", "Bedroom", "Bathroom", "Family Room", "Outside", "Dining Room",
                         "Miscellaneous", "Study"});
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        return flagRows(kTownSlots[slot - 3]);
    case 8: {
        // A single value: the key counts positions from 1, the value from 0.
        const QStringList texts = {"None",   "Doors",      "Windows", "Stairs",
                                   "Plants", "Fireplaces", "Columns", "Pool"};
        QList<SortRow> rows;
        for (int p = 0; p < texts.size(); ++p)
            rows.append(SortRow{texts[p], p + 1, p});
        return rows;
    }
    default: // slot 1 follows the Function row; anything else has no list
        return {};
    }
}

QList<SortRow> SubFunctionRows(int functionRow)
{
    if (functionRow < 0 || functionRow >= 8)
        return {};
    QList<SortRow> rows;
    const QStringList& texts = kSubFunctions[functionRow];
    for (int p = 0; p < texts.size(); ++p)
        rows.append(SortRow{texts[p], 1 << p, 1 << p});
    return rows;
}
