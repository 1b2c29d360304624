// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentCommands.h"

#include "CliContext.h"
#include "Cp1252.h"
#include "GameLanguages.h"
#include "HistoryStore.h"
#include "KeptSave.h"
#include "ListCollector.h"
#include "ObjdFieldAccess.h"
#include "clsIFF.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

const QByteArray kNone("*NONE*");

// The listing's second column reads "<name> (size: <n>)"; the size part is always last.
void SplitNameAndSize(const QByteArray& column, QByteArray* name, QByteArray* size)
{
    const QByteArray marker(" (size: ");
    const qsizetype at = column.lastIndexOf(marker);
    if (at < 0 || !column.endsWith(')')) {
        *name = column;
        size->clear();
        return;
    }
    *name = column.left(at);
    *size = column.mid(at + marker.size(), column.size() - at - marker.size() - 1);
}

QJsonValue CatalogTextValue(const QByteArray& bytes)
{
    if (bytes == kNone)
        return QJsonValue(QJsonValue::Null);
    return QJsonValue(DecodeCp1252(bytes));
}

// The code of the language set shown; null without catalog text.
QJsonValue LanguageValue(quint8 code)
{
    return code ? QJsonValue(code) : QJsonValue(QJsonValue::Null);
}

} // namespace

int CmdResources(const CliContext& ctx)
{
    clsIFF doc;
    if (!ctx.loadDocument(doc, ctx.arguments.at(0)))
        return CliExit::Failed;
    ListCollector list;
    doc.GenerateAllResourceList(list);
    for (const ListCollector::Row& row : list.rows()) {
        QByteArray name, size;
        SplitNameAndSize(row.subItems.value(1), &name, &size);
        ctx.out << PrintableText(row.text) << '\t' << PrintableText(row.subItems.value(0)) << '\t'
                << PrintableText(name) << '\t' << PrintableText(size) << '\n';
    }
    ctx.out.flush();
    return CliExit::Done;
}

int CmdFormats(const CliContext& ctx)
{
    clsIFF doc;
    if (!ctx.loadDocument(doc, ctx.arguments.at(0)))
        return CliExit::Failed;
    ListCollector list;
    doc.GenerateFormatList(list);
    for (const ListCollector::Row& row : list.rows())
        ctx.out << PrintableText(row.text) << '\n';
    ctx.out.flush();
    return CliExit::Done;
}

int CmdObjects(const CliContext& ctx)
{
    clsIFF doc;
    if (!ctx.loadDocument(doc, ctx.arguments.at(0)))
        return CliExit::Failed;
    ListCollector list;
    doc.GenerateObjectList(list);
    QJsonArray objects;
    for (const ListCollector::Row& row : list.rows()) {
        bool ok = false;
        const uint id = row.subItems.value(0).toUInt(&ok);
        if (!ok || id > 0xFFFF)
            return ctx.fail(QStringLiteral("The object list holds a row without an object ID."));
        const auto objdId = static_cast<quint16>(id);
        QJsonArray sorts;
        for (const qint32 slot : doc.GetSorts(objdId))
            sorts.append(slot);
        QJsonObject object;
        object.insert(QStringLiteral("id"), static_cast<int>(id));
        object.insert(QStringLiteral("resource_name"), DecodeCp1252(row.text));
        object.insert(QStringLiteral("name"), CatalogTextValue(doc.GetName(objdId)));
        object.insert(QStringLiteral("description"), CatalogTextValue(doc.GetDescription(objdId)));
        object.insert(QStringLiteral("language"), LanguageValue(doc.GetCatalogLanguage(objdId)));
        object.insert(QStringLiteral("price"), doc.GetPrice(objdId));
        object.insert(QStringLiteral("disabled"), doc.GetDisabled(objdId));
        object.insert(QStringLiteral("sorts"), sorts);
        objects.append(object);
    }
    ctx.out << QString::fromUtf8(QJsonDocument(objects).toJson(QJsonDocument::Indented));
    ctx.out.flush();
    return CliExit::Done;
}

int CmdStrings(const CliContext& ctx)
{
    if (!ctx.parser.isSet(QStringLiteral("object")))
        return ctx.usage(QStringLiteral("strings needs --object ID."));
    bool ok = false;
    const uint id = ctx.parser.value(QStringLiteral("object")).toUInt(&ok);
    if (!ok || id > 0xFFFF)
        return ctx.usage(QStringLiteral("--object needs an object ID from 0 to 65535."));
    clsIFF doc;
    if (!ctx.loadDocument(doc, ctx.arguments.at(0)))
        return CliExit::Failed;
    if (!ObjdAccess::FindObjd(doc, quint16(id)))
        return ctx.fail(QStringLiteral("The file holds no object with ID %1.").arg(id));
    QJsonArray sets;
    for (const CatalogLanguageText& text : doc.GetCatalogTexts(quint16(id))) {
        QJsonObject set;
        set.insert(QStringLiteral("language"), text.language);
        set.insert(QStringLiteral("language_name"), GameLanguages::Name(text.language));
        set.insert(QStringLiteral("name"), CatalogTextValue(text.name));
        set.insert(QStringLiteral("description"), CatalogTextValue(text.description));
        sets.append(set);
    }
    ctx.out << QString::fromUtf8(QJsonDocument(sets).toJson(QJsonDocument::Indented));
    ctx.out.flush();
    return CliExit::Done;
}

int CmdResave(const CliContext& ctx)
{
    const QString source = ctx.arguments.at(0);
    const QString target = ctx.parser.isSet(QStringLiteral("output"))
                               ? ctx.parser.value(QStringLiteral("output"))
                               : source;
    if (target.isEmpty())
        return ctx.usage(QStringLiteral("--output needs a file name."));
    clsIFF doc;
    if (!ctx.loadDocument(doc, source))
        return CliExit::Failed;
    if (ctx.refuseDamaged(doc, source))
        return CliExit::Failed;
    // A save puts a plain file in the target's place, and keeping a copy first reads it: a
    // device or a pipe is never a target (a link to a regular file is, and stays a link).
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        return ctx.fail(QStringLiteral("%1 is not a regular file, so Kestrane does not replace it.")
                            .arg(target));
    // A file that is replaced (in place, or an existing one named by --output) is kept first;
    // a new file replaces nothing.
    if (QFileInfo::exists(target) ||
        QFileInfo(target).absoluteFilePath() == QFileInfo(source).absoluteFilePath()) {
        HistoryStore history(ctx.dataFolder());
        const ChangeInfo change{QStringLiteral("cli"), QString(),
                                QStringLiteral("Saved again with a rebuilt resource map")};
        QString reason;
        if (!SaveDocumentKept(history, doc, target, change, &reason))
            return ctx.fail(reason);
        return CliExit::Done;
    }
    if (!doc.SaveFile(target)) {
        const QString reason = doc.errorString();
        return ctx.fail(reason.isEmpty() ? QStringLiteral("%1 could not be written.").arg(target)
                                         : reason);
    }
    return CliExit::Done;
}
