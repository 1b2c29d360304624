// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChangeSummary.h"
#include "clsIFF.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Three-state catalog sorts: in slots 0-7 each flag is set, cleared or left as each object
// holds it; Build Mode is one value or left. Bits no mark names stay as they are.
struct SortMarks {
    std::array<qint32, 8> set{};
    std::array<qint32, 8> clear{};
    std::optional<qint32> buildMode;

    bool any() const;
    SortSet applyTo(const SortSet& sorts) const;
};

// What to change of one object; what is unset stays as the object holds it.
struct ObjectEdit {
    std::optional<QByteArray> name; // catalog bytes
    std::optional<QByteArray> description;
    CtssScope textScope = CtssScope::Copies;
    std::optional<qint32> price;
    // A change by a percentage, in millionths of a percent (12.5 % = 12500000).
    std::optional<qint64> pricePercent;
    std::optional<bool> disabled;
    std::optional<SortSet> sorts; // a whole set (a preset), before the marks
    SortMarks sortMarks;

    bool any() const;
};

// The catalog holds prices from 0 to 65535.
constexpr qint32 kMaxPrice = 0xFFFF;

// price changed by percent millionths of a percent, rounded to the nearest unit, halves up.
qint64 PercentOfPrice(qint32 price, qint64 percentMillionths);
// A whole or decimal number of percent ("12.5", "-10") in millionths; nullopt when the text is
// no such number, has more than six decimals or lies beyond ±1,000,000 %.
std::optional<qint64> ParsePercent(const QString& text);

// The fields an object would hold after the edit; nullopt with *refusal (naming the object)
// when a price change leaves 0-65535.
std::optional<ObjectFields> PlanObjectEdit(quint16 objdId, const ObjectFields& before,
                                           const ObjectEdit& edit, QString* refusal);

// Why the document cannot take the catalog text of the edit, before anything changes; empty
// when it can (or the edit has no text).
QString CatalogTextRefusal(const clsIFF& document, quint16 objdId, const ObjectEdit& edit);

// What ApplyObjectEdit could not write.
struct EditOutcome {
    bool textRefused = false;
    QStringList refused; // "price", "Disabled flag", "catalog sorts": the definition is short
    bool whole() const { return !textRefused && refused.isEmpty(); }
};

// Writes into the document what differs between before and after (PlanObjectEdit's result);
// a value that is already held is not written. Fields that cannot be written are named in
// the outcome and the rest is written.
EditOutcome ApplyObjectEdit(clsIFF& document, quint16 objdId, const ObjectFields& before,
                            const ObjectFields& after, CtssScope textScope = CtssScope::Copies);
