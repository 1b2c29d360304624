// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetCommand.h"

#include "BatchEngine.h"
#include "CatalogFilter.h"
#include "CatalogText.h"
#include "CliContext.h"
#include "CollectionScan.h"
#include "Cp1252.h"
#include "FileGatherer.h"
#include "GameArchives.h"
#include "HistoryStore.h"
#include "ProgramState.h"
#include "SetOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace
{

const QByteArray kNone("*NONE*");

// The first stored preset of that name, or nullopt after saying why there is none.
std::optional<SortSet> FindPreset(const CliContext& ctx, const QString& name)
{
    if (!ctx.startUp())
        return std::nullopt;
    const std::optional<QByteArray> bytes = EncodeCp1252(name);
    if (bytes) {
        for (const Preset& preset : ProgramState.Presets) {
            if (preset.Name == *bytes)
                return preset.Sorts;
        }
    }
    ctx.fail(QStringLiteral("There is no preset named \"%1\".").arg(name));
    return std::nullopt;
}

// The catalog bytes of one text, or false after saying why it cannot be stored.
bool CatalogBytes(const CliContext& ctx, const std::optional<QString>& text,
                  std::optional<QByteArray>* bytes)
{
    if (!text)
        return true;
    QString error;
    *bytes = EncodeCatalogText(*text, &error);
    if (!*bytes)
        ctx.fail(error);
    return bytes->has_value();
}

// The given files, each with every listed object or the one --object names.
QList<BatchFile> NamedFiles(const QStringList& paths, std::optional<quint16> objdId)
{
    QList<BatchFile> files;
    for (const QString& path : paths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        BatchFile file{absolute, {}};
        const CatalogFile scanned = ScanObjectFile(absolute);
        for (const CatalogObject& object : scanned.objects) {
            if (!objdId || object.id == *objdId)
                file.objects << object;
        }
        // An object the list does not show (a tile) may still be named; the file is read
        // again when the edit is applied and says then whether it holds it.
        if (objdId && file.objects.isEmpty())
            file.objects << CatalogObject{*objdId};
        files << file;
    }
    return files;
}

// The objects of the listed folders that the words find (in the given files only, when any).
BatchSelection MatchedObjects(const QString& words, const QStringList& paths,
                              std::optional<quint16> objdId)
{
    const CollectionCatalog catalog = ScanCollection(GatherObjectFiles(ProgramState.Folders),
                                                     FindGameArchives(ProgramState.GameFolder));
    QStringList only;
    for (const QString& path : paths)
        only << QFileInfo(path).absoluteFilePath();
    QList<int> rows;
    for (const int row : CatalogFilter(catalog).match(words)) {
        const CatalogRow& place = catalog.rows[row];
        const CatalogFile& file = catalog.files[place.file];
        if ((only.isEmpty() || only.contains(QFileInfo(file.path).absoluteFilePath())) &&
            (!objdId || catalog.object(place).id == *objdId))
            rows << row;
    }
    return SelectRows(catalog, rows);
}

QJsonValue TextValue(const QByteArray& bytes)
{
    return bytes == kNone ? QJsonValue(QJsonValue::Null) : QJsonValue(DecodeCp1252(bytes));
}

QJsonArray SortsValue(const SortSet& sorts)
{
    QJsonArray array;
    for (const qint32 slot : sorts)
        array.append(slot);
    return array;
}

// {"file", "id", "changes": {field: [old, new]}} with the field names of objects.
QJsonArray ChangesJson(const QList<ObjectChange>& changes)
{
    QJsonArray array;
    for (const ObjectChange& change : changes) {
        QJsonObject fields;
        const auto add = [&](const char* name, const QJsonValue& old, const QJsonValue& now) {
            if (old != now)
                fields.insert(QLatin1String(name), QJsonArray{old, now});
        };
        add("name", TextValue(change.before.name), TextValue(change.after.name));
        add("description", TextValue(change.before.description),
            TextValue(change.after.description));
        add("price", change.before.price, change.after.price);
        add("disabled", change.before.disabled, change.after.disabled);
        add("sorts", SortsValue(change.before.sorts), SortsValue(change.after.sorts));
        QJsonObject object;
        object.insert(QStringLiteral("file"), change.file);
        object.insert(QStringLiteral("id"), int(change.id));
        object.insert(QStringLiteral("changes"), fields);
        array.append(object);
    }
    return array;
}

} // namespace

void PrintFailures(const CliContext& ctx, const BatchResult& result)
{
    for (const FileOutcome& file : result.failures()) {
        if (file.failure == BatchFailure::Damaged &&
            file.reason != QLatin1String("Invalid IFF File"))
            ctx.fail(QStringLiteral("%1 is damaged: %2. Saving it would drop the part that could "
                                    "not be read. Give --force to save it anyway (the original "
                                    "is kept in the history).")
                         .arg(file.file, file.reason));
        else
            ctx.fail(QStringLiteral("%1 (%2): %3")
                         .arg(file.file, FailureWord(file.failure), file.reason));
    }
}

int CmdSet(const CliContext& ctx)
{
    SetRequest request;
    const QString problem = ReadSetRequest(ctx.parser, &request);
    if (!problem.isEmpty())
        return ctx.usage(problem);
    if (ctx.arguments.isEmpty() && !request.match)
        return ctx.usage(QStringLiteral("set needs FILE or --match WORDS."));

    ObjectEdit edit = request.edit;
    if (request.preset) {
        edit.sorts = FindPreset(ctx, *request.preset);
        if (!edit.sorts)
            return CliExit::Failed;
    }
    if (!CatalogBytes(ctx, request.name, &edit.name) ||
        !CatalogBytes(ctx, request.description, &edit.description))
        return CliExit::Failed;

    BatchSelection selection;
    if (request.match) {
        if (!ctx.startUp())
            return CliExit::Failed;
        selection = MatchedObjects(*request.match, ctx.arguments, request.objdId);
    } else {
        selection.files = NamedFiles(ctx.arguments, request.objdId);
    }

    // A price change that some object cannot take changes nothing at all.
    const BatchPlan plan = PlanBatch(selection, edit);
    for (const QString& refusal : plan.refusals)
        ctx.fail(
            QStringLiteral("Refused, the catalog holds prices from 0 to 65535: %1").arg(refusal));
    if (!plan.refusals.isEmpty())
        return CliExit::Failed;

    HistoryStore history(ctx.dataFolder());
    BatchOptions options;
    options.info.program = QStringLiteral("cli");
    options.dryRun = request.dryRun;
    options.allowDamaged = ctx.parser.isSet(QStringLiteral("force"));
    const BatchResult result = ApplyBatch(history, selection.files, edit, options);

    ctx.out << QString::fromUtf8(
        QJsonDocument(ChangesJson(result.changes)).toJson(QJsonDocument::Indented));
    ctx.out.flush();
    PrintFailures(ctx, result);
    if (!selection.leftAlone.isEmpty())
        ctx.err << QStringLiteral("%1 of the game's own objects are left alone.")
                       .arg(selection.leftAlone.size())
                << Qt::endl;
    const bool bounded = edit.price && (*edit.price < 0 || *edit.price > kMaxPrice);
    if (bounded && result.failures().size() < result.files.size())
        ctx.err << QStringLiteral("The catalog holds prices from 0 to 65535: %1 was stored as %2.")
                       .arg(request.priceText)
                       .arg(quint16(*edit.price))
                << Qt::endl;
    return result.failures().isEmpty() ? CliExit::Done : CliExit::Failed;
}
