// The objects of a document and their catalog name, description, price and Disabled flag.

#include "ObjdFieldAccess.h"
#include "ObjdLayout.h"
#include "clsIFF.h"

#include <QSet>

using namespace ObjdAccess;

namespace
{

const QByteArray kNone = QByteArrayLiteral("*NONE*");

// The CTSS that holds an object's catalog text, cut into its pieces: the body from byte 5 on
// (after the format code, the string count and string 0's language byte), split at every 0
// byte. Piece 0 is the name, piece 1 its comment, piece 2 string 1's language byte followed
// by the description, and so on. Null when the object has no catalog text.
struct CatalogText {
    QByteArray ctssKey;
    QList<QByteArray> pieces;
};

CatalogText findCatalogText(const clsIFF& doc, quint16 objdId)
{
    CatalogText text;
    if (doc.CtssCount() == 0)
        return text;
    const clsResource* objd = FindObjd(doc, objdId);
    if (!objd)
        return text;
    const QByteArray key = CtssKey(ReadField(objd->Body(), ObjdField::CatalogStringsID));
    if (!doc.IsResource(key))
        return text;
    const QByteArray& body = doc.Resource(key).Body();
    if (body.size() <= 5)
        return text;
    text.ctssKey = key;
    text.pieces = body.mid(5).split('\0');
    return text;
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
    const CatalogText text = findCatalogText(*this, ObjdID);
    if (text.pieces.isEmpty())
        return kNone;
    return text.pieces[0];
}

QByteArray clsIFF::GetDescription(quint16 ObjdID) const
{
    const CatalogText text = findCatalogText(*this, ObjdID);
    if (text.pieces.size() < 3)
        return kNone;
    return text.pieces[2].mid(1);
}

qint32 clsIFF::GetPrice(quint16 ObjdID) const
{
    return ReadField(RequireObjd(*this, ObjdID).Body(), ObjdField::Price);
}

bool clsIFF::GetDisabled(quint16 ObjdID) const
{
    return ReadField(RequireObjd(*this, ObjdID).Body(), ObjdField::Disabled) == 1;
}

bool clsIFF::SetCtss(quint16 ObjdID, const QByteArray& NameStr, const QByteArray& DescriptStr)
{
    if (!FindObjd(*this, ObjdID))
        return false;
    const CatalogText text = findCatalogText(*this, ObjdID);
    if (text.pieces.size() < 3)
        return true; // no catalog text to change

    // Everything but the two texts is carried over byte for byte: the header, string 0's
    // comment, string 1's language byte and every later piece (comments, further strings and
    // the pad bytes the game writes after the last string).
    clsResource& ctss = Resource(text.ctssKey);
    QByteArray body = ctss.Body().left(5);
    body += NameStr;
    body += '\0';
    body += text.pieces[1];
    body += '\0';
    body += text.pieces[2].left(1);
    body += DescriptStr;
    for (qsizetype i = 3; i < text.pieces.size(); ++i) {
        body += '\0';
        body += text.pieces[i];
    }
    ctss.SetBody(body);
    return true;
}

bool clsIFF::SetPrice(quint16 ObjdID, qint32 Price)
{
    clsResource* objd = FindObjd(*this, ObjdID);
    if (!objd)
        return false;
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
    QByteArray body = objd->Body();
    if (!WriteField(body, ObjdField::Disabled, Disabled ? 1u : 0u))
        return false;
    objd->SetBody(body);
    return true;
}
