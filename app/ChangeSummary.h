// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StateTypes.h"

#include <QByteArray>
#include <QString>

class clsIFF;

// The catalog fields of one object, to say in words what a save changed.
struct ObjectFields {
    QByteArray resourceName;
    QByteArray name; // "*NONE*" without catalog text
    QByteArray description;
    qint32 price = 0;
    bool disabled = false;
    SortSet sorts{};
    bool operator==(const ObjectFields&) const = default;
};

// Throws IffError when the document holds no such object.
ObjectFields ReadObjectFields(const clsIFF& document, quint16 objdId);
// "Object 128 'Sofa': price 400 → 450; name 'Sofa' → 'Blue Sofa'"; "Object 128 'Sofa': no
// change" when nothing differs.
QString DescribeObjectChange(quint16 objdId, const ObjectFields& before, const ObjectFields& after);
