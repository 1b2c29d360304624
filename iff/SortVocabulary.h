// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

// The catalog sort vocabulary as data.
struct SortRow {
    QString text;
    int keyNumber; // the number in the row's key ("<keyNumber>#")
    int value;     // the value the row stands for (equals keyNumber except for Build Mode)
};

// Label caption of a slot's list: "Function:", "Sub-Function:", ... "Build Mode:".
QString SortCaption(int slot);
// Rows of a slot's list in vocabulary order; empty for slot 1 (Sub-Function), whose rows
// depend on the Function row (SubFunctionRows).
QList<SortRow> SortRows(int slot);
// Sub-Function rows of the Function row at position functionRow (0-based); empty when out of
// range.
QList<SortRow> SubFunctionRows(int functionRow);
