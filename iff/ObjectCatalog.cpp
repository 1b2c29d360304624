// SPDX-License-Identifier: GPL-3.0-or-later
// The objects of a document and their catalog name, description, price and Disabled flag.

#include "CtssTable.h"
#include "ObjdFieldAccess.h"
#include "ObjdLayout.h"
#include "ProgramState.h"
#include "clsIFF.h"

#include <QSet>
#include <algorithm>
#include <memory>

using namespace ObjdAccess;

namespace
{

const QByteArray kNone = QByteArrayLiteral("*NONE*");

// Reasons a catalog text cannot be written, shown to a person.
const QString kNoText = QStringLiteral("The object has no catalog text.");
const QString kNoDescription = QStringLiteral("The catalog text holds no description.");
const QString kDamaged =
    QStringLiteral("The catalog text is damaged, so Kestrane does not change it.");
const QString kDamagedDescription =
    QStringLiteral("The catalog description is damaged, so Kestrane does not change it.");

QString formatReason(quint16 format)
{
    return QStringLiteral("The catalog text is in a format Kestrane cannot change (0x%1).")
        .arg(QString::number(format, 16).rightJustified(4, QLatin1Char('0')).toUpper());
}

// The CTSS that holds an object's catalog text, or nullptr.
const clsResource* findCtss(const clsIFF& doc, quint16 objdId)
{
    if (doc.CtssCount() == 0)
        return nullptr;
    const clsResource* objd = FindObjd(doc, objdId);
    if (!objd)
        return nullptr;
    return FindCtss(doc, ReadField(objd->Body(), ObjdField::CatalogStringsID));
}

bool isLanguageFormat(const QByteArray& body)
{
    return body.size() < 2 || (quint8(body[0]) == 0xFD && quint8(body[1]) == 0xFF);
}

// A length-prefixed string may hold a 0 byte, which no catalog text box can hold or save: the
// text ends there, as the game's 0-terminated texts do.
QByteArray upToNul(const QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

// String index of a language set: empty when a whole table gives the set fewer strings,
// "*NONE*" when the strings past a damaged one are unknown.
QByteArray textOf(const CtssTable::Table& table, const CtssTable::LanguageSet& set, int index)
{
    if (const CtssTable::Text* text = table.text(set, index))
        return upToNul(text->bytes);
    return table.whole ? QByteArray() : kNone;
}

struct Shown {
    CtssTable::Table table;
    const CtssTable::LanguageSet* set = nullptr; // points into table; nullptr: no text
};

// The catalog text of an object and the language set the game shows of it.
std::unique_ptr<Shown> readShown(const clsIFF& doc, quint16 objdId)
{
    auto shown = std::make_unique<Shown>();
    if (const clsResource* ctss = findCtss(doc, objdId)) {
        shown->table = CtssTable::Read(ctss->Body());
        shown->set = CtssTable::ShownSet(shown->table, ProgramState.GameLanguage);
    }
    return shown;
}

struct Texts {
    QByteArray name = kNone;
    QByteArray description = kNone;
};

Texts readTexts(const clsIFF& doc, quint16 objdId)
{
    Texts texts;
    const std::unique_ptr<Shown> shown = readShown(doc, objdId);
    if (shown->set) {
        texts.name = textOf(shown->table, *shown->set, 0);
        texts.description = textOf(shown->table, *shown->set, 1);
    }
    return texts;
}

} // namespace

void clsIFF::GenerateObjectList(IListSink& List) const
{
    if (ObjdCount() == 0) {
        List.Clear();
        return;
    }

    // The lead tile of a multi-tile object carries TileIndex 0xFFFF; its other tiles share
    // its GroupID and stay out of the list. An ID whose OBJD the document no longer holds
    // (deleted after loading) is passed over rather than failing the whole listing.
    struct Entry {
        const clsResource* objd;
        quint16 id;
        quint16 group;
        bool shown;
    };
    QList<Entry> entries;
    QSet<quint16> leadGroups;
    for (quint16 id : ObjdIDs()) {
        const clsResource* objd = FindObjd(*this, id);
        if (!objd)
            continue;
        const bool lead = ReadField(objd->Body(), ObjdField::TileIndex) == 0xFFFF;
        const quint16 group = ReadField(objd->Body(), ObjdField::GroupID);
        if (lead)
            leadGroups.insert(group);
        entries.append(Entry{objd, id, group, lead});
    }
    for (Entry& e : entries) {
        if (!e.shown)
            e.shown = leadGroups.isEmpty() || !leadGroups.contains(e.group);
    }

    List.Refresh();
    List.Clear();
    // Two OBJD chunks with the same ID share one record (the loader keeps the first under the
    // key), so the ID would name the same object twice: one row per key, the later mention
    // is skipped.
    QSet<quint16> listed;
    for (const Entry& e : entries) {
        if (!e.shown || listed.contains(e.id))
            continue;
        listed.insert(e.id);
        List.AddRow(e.objd->Key(), e.objd->Name, {QByteArray::number(e.id)});
    }
}

QByteArray clsIFF::GetName(quint16 ObjdID) const
{
    return readTexts(*this, ObjdID).name;
}

QByteArray clsIFF::GetDescription(quint16 ObjdID) const
{
    return readTexts(*this, ObjdID).description;
}

quint8 clsIFF::GetCatalogLanguage(quint16 ObjdID) const
{
    const std::unique_ptr<Shown> shown = readShown(*this, ObjdID);
    return shown->set ? shown->set->language : 0;
}

QList<CatalogLanguageText> clsIFF::GetCatalogTexts(quint16 ObjdID) const
{
    const std::unique_ptr<Shown> shown = readShown(*this, ObjdID);
    QList<CatalogLanguageText> texts;
    for (const CtssTable::LanguageSet& set : shown->table.sets)
        texts.append({set.language, textOf(shown->table, set, 0), textOf(shown->table, set, 1)});
    return texts;
}

CatalogTextAccess clsIFF::GetCatalogTextAccess(quint16 ObjdID) const
{
    CatalogTextAccess access;
    const clsResource* ctss = findCtss(*this, ObjdID);
    if (!ctss) {
        access.reason = kNoText;
        return access;
    }
    const QByteArray& body = ctss->Body();
    const CtssTable::Table table = CtssTable::Read(body);
    if (!isLanguageFormat(body)) {
        access.reason = formatReason(table.format);
        return access;
    }
    const CtssTable::LanguageSet* set = CtssTable::ShownSet(table, ProgramState.GameLanguage);
    if (!set) {
        // No whole string: none declared, or no room for one is no text; anything else is a
        // string cut off.
        access.reason = table.declared == 0 || body.size() <= 5 ? kNoText : kDamaged;
        return access;
    }
    access.nameWritable = true;
    access.descriptionWritable = table.text(*set, 1) != nullptr;
    if (!access.descriptionWritable)
        access.reason = table.whole ? kNoDescription : kDamagedDescription;
    return access;
}

qint32 clsIFF::GetPrice(quint16 ObjdID) const
{
    return ReadField(RequireObjd(*this, ObjdID).Body(), ObjdField::Price);
}

bool clsIFF::GetDisabled(quint16 ObjdID) const
{
    return ReadField(RequireObjd(*this, ObjdID).Body(), ObjdField::Disabled) == 1;
}

bool clsIFF::SetCtss(quint16 ObjdID, const QByteArray& NameStr, const QByteArray& DescriptStr,
                     CtssScope scope)
{
    if (!FindObjd(*this, ObjdID))
        return false;
    const CatalogTextAccess access = GetCatalogTextAccess(ObjdID);
    if (access.reason == kNoText)
        return true; // nothing to change; the window calls this on every save
    const Texts current = readTexts(*this, ObjdID);
    const bool newName = NameStr != current.name;
    const bool newDescription = DescriptStr != current.description;
    if ((newName && !access.nameWritable) || (newDescription && !access.descriptionWritable))
        return false;
    // A 0 byte would end the string early and shift every string after it.
    if ((newName && NameStr.contains('\0')) || (newDescription && DescriptStr.contains('\0')))
        return false;
    if (!newName && !newDescription)
        return true;

    // Each text is replaced where it lies, in the shown language set and, unless only that
    // set is wanted, in every other set whose string held the same bytes (a copy, not a
    // translation). The header, the count, the language bytes, the comments, other strings
    // and the pad bytes after the last string stay as they were.
    clsResource& ctss =
        *FindCtss(*this, ReadField(FindObjd(*this, ObjdID)->Body(), ObjdField::CatalogStringsID));
    const QByteArray& old = ctss.Body();
    const CtssTable::Table table = CtssTable::Read(old);
    const CtssTable::LanguageSet& shown = *CtssTable::ShownSet(table, ProgramState.GameLanguage);
    struct Edit {
        const CtssTable::Text* text;
        const QByteArray* bytes;
    };
    QList<Edit> edits;
    const auto change = [&](int index, const QByteArray& bytes) {
        const CtssTable::Text& was = *table.text(shown, index);
        for (const CtssTable::LanguageSet& set : table.sets) {
            const CtssTable::Text* text = table.text(set, index);
            if (text && (text == &was || (scope == CtssScope::Copies && text->bytes == was.bytes)))
                edits.append({text, &bytes});
        }
    };
    if (newName)
        change(0, NameStr);
    if (newDescription)
        change(1, DescriptStr);
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.text->offset < b.text->offset; });
    QByteArray body;
    qsizetype from = 0;
    for (const Edit& edit : edits) {
        body += old.mid(from, edit.text->offset - from);
        body += *edit.bytes;
        from = edit.text->offset + edit.text->bytes.size();
    }
    body += old.mid(from);
    ctss.SetBody(body);
    return true;
}

bool clsIFF::SetPrice(quint16 ObjdID, qint32 Price)
{
    clsResource* objd = FindObjd(*this, ObjdID);
    if (!objd)
        return false;
    if (ReadField(objd->Body(), ObjdField::Price) == quint16(Price))
        return true; // already stored; a body cut inside the field keeps its bytes
    QByteArray body = objd->Body();
    if (!WriteField(body, ObjdField::Price, quint32(Price)))
        return false;
    objd->SetBody(body);
    return true;
}

bool clsIFF::SetDisabled(quint16 ObjdID, bool Disabled)
{
    clsResource* objd = FindObjd(*this, ObjdID);
    if (!objd)
        return false;
    // Any value but 1 reads as not disabled; such a value is kept unless the flag changes, so
    // saving an object whose flag was not touched leaves the field as the file had it.
    if ((ReadField(objd->Body(), ObjdField::Disabled) == 1) == Disabled)
        return true;
    QByteArray body = objd->Body();
    if (!WriteField(body, ObjdField::Disabled, Disabled ? 1u : 0u))
        return false;
    objd->SetBody(body);
    return true;
}
