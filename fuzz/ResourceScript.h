// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IffError.h"
#include "clsIFF.h"

#include <QByteArray>
#include <QSet>
#include <string>
#include <vector>

// Plays a script of calls on a document's resource list, two bytes a call, and checks after
// every call that each position and each key finds what a plain list says it should: a
// record is found under the key it was added with, the first such record in list order.
// Records are also changed through the public ID and Format fields without UpdateKey. Every
// record found is read, so a stale index shows under the sanitizers. Returns what went wrong
// first, or an empty string.
inline std::string PlayResourceScript(clsIFF& doc, const QByteArray& script)
{
    struct Held {
        const clsResource* record;
        QByteArray key; // folded
    };
    static const QByteArray kFormats[] = {"OBJD", "CTSS", "objd"};
    const auto fold = [](const QByteArray& key) { return key.toLower(); };

    std::vector<Held> model;
    for (int i = 1; i <= doc.ResourceCount(); ++i)
        model.push_back({&doc.Resource(i), fold(doc.Resource(i).Key())});
    const auto first = [&](const QByteArray& key) {
        const QByteArray folded = fold(key);
        for (auto it = model.begin(); it != model.end(); ++it)
            if (it->key == folded)
                return it;
        return model.end();
    };
    const auto check = [&](const std::string& call) -> std::string {
        if (doc.ResourceCount() != int(model.size()))
            return call + ": resource count differs";
        QSet<QByteArray> keys;
        for (std::size_t i = 0; i < model.size(); ++i) {
            const clsResource& record = doc.Resource(int(i) + 1);
            if (&record != model[i].record)
                return call + ": position " + std::to_string(i + 1) + " holds another record";
            keys << model[i].key << fold(record.Key());
        }
        for (const QByteArray& format : kFormats)
            for (int id = 128; id < 132; ++id)
                keys << fold(format + QByteArray::number(id));
        for (const QByteArray& key : keys) {
            const auto expected = first(key);
            if (doc.IsResource(key) != (expected != model.end()))
                return call + ": IsResource(" + key.toStdString() + ") is wrong";
            if (expected != model.end() &&
                (&doc.Resource(key) != expected->record ||
                 doc.Resource(key).Body().size() + doc.Resource(key).Name.size() < 0))
                return call + ": Resource(" + key.toStdString() + ") finds another record";
        }
        return {};
    };

    int added = 0;
    for (qsizetype i = 0; i + 1 < script.size(); i += 2) {
        const int op = quint8(script[i]) % 6;
        const int arg = quint8(script[i + 1]);
        const QByteArray key = kFormats[arg % 3] + QByteArray::number(128 + (arg / 3) % 4);
        const int position = model.empty() ? 0 : (arg & 0x0F) % int(model.size()) + 1;
        std::string call;
        switch (op) {
        case 0: {
            const QByteArray format = arg % 3 == 1 ? "CTSS" : "OBJD";
            const auto id = quint16(128 + (arg / 3) % 4);
            call = "AddResource(" + format.toStdString() + std::to_string(id) + ")";
            const bool expected = first(format + QByteArray::number(id)) == model.end();
            if (doc.AddResource(format, id, "r" + QByteArray::number(++added)) != expected)
                return call + ": wrong result";
            if (expected)
                model.push_back(
                    {&doc.Resource(doc.ResourceCount()), fold(format) + QByteArray::number(id)});
            break;
        }
        case 1:
        case 2: {
            call = (op == 1 ? "DelResource(" : "UpdateKey(") + key.toStdString() + ")";
            const auto found = first(key);
            bool threw = false;
            try {
                op == 1 ? doc.DelResource(key) : doc.UpdateKey(key);
            } catch (const IffError&) {
                threw = true;
            }
            if (threw != (found == model.end()))
                return call + (threw ? ": refused a held key" : ": took an absent key");
            if (found != model.end()) {
                const clsResource* record = found->record;
                model.erase(found);
                if (op == 2)
                    model.push_back({record, fold(record->Key())});
            }
            break;
        }
        case 3:
        case 4:
            if (position == 0)
                continue;
            call = "Resource(" + std::to_string(position) + ")." + (op == 3 ? "ID" : "Format");
            if (op == 3)
                doc.Resource(position).ID = 128 + (arg >> 4) % 4;
            else
                doc.Resource(position).Format = kFormats[(arg >> 4) % 3];
            break;
        default:
            if (arg != 0)
                continue;
            call = "Clear()";
            doc.Clear();
            model.clear();
            break;
        }
        const std::string wrong = check(call);
        if (!wrong.empty())
            return wrong;
    }
    return {};
}
