// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetCommand.h"

#include "CatalogText.h"
#include "ChangeSummary.h"
#include "CliContext.h"
#include "Cp1252.h"
#include "HistoryStore.h"
#include "KeptSave.h"
#include "ObjdFieldAccess.h"
#include "ProgramState.h"
#include "SortVocabulary.h"
#include "clsIFF.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QTextStream>
#include <limits>
#include <optional>

namespace
{

const QByteArray kNone("*NONE*");

// What the command line asks to change; unset members stay as they are.
struct Changes {
    quint16 objdId = 0;
    std::optional<QString> name;
    std::optional<QString> description;
    std::optional<qint32> price;
    QString priceText;
    std::optional<bool> disabled;
    std::optional<SortSet> sorts;
    std::optional<QString> preset;
    CtssScope textScope = CtssScope::Copies;
};

// A whole number as the window's price box takes it: a value beyond the 32-bit range becomes
// the nearest bound.
std::optional<qint32> ParsePrice(const QString& text)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
    if (!wholeNumber.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (!ok || value > std::numeric_limits<qint32>::max())
        return negative ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint32>::max();
    if (value < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(value);
}

// Nine whole numbers from 0 to 65535, the sizes of the catalog's fields; nullopt with the
// usage message otherwise.
std::optional<SortSet> ParseSorts(const QString& text, QString* problem)
{
    const QStringList parts = text.split(QLatin1Char(','));
    *problem = QStringLiteral("--sorts needs nine whole numbers separated by commas.");
    if (parts.size() != 9)
        return std::nullopt;
    SortSet sorts{};
    for (int slot = 0; slot < 9; ++slot) {
        bool ok = false;
        sorts[slot] = parts.at(slot).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        if (sorts[slot] < 0 || sorts[slot] > 0xFFFF) {
            *problem = QStringLiteral("--sorts needs values from 0 to 65535: %1 is %2.")
                           .arg(SortCaption(slot).chopped(1), parts.at(slot).trimmed());
            return std::nullopt;
        }
    }
    return sorts;
}

// Reads the options into changes; returns the usage message, empty when they are sound.
QString ReadChanges(const QCommandLineParser& parser, Changes* changes)
{
    if (!parser.isSet(QStringLiteral("object")))
        return QStringLiteral("set needs --object ID.");
    bool ok = false;
    const uint id = parser.value(QStringLiteral("object")).toUInt(&ok);
    if (!ok || id > 0xFFFF)
        return QStringLiteral("--object needs an object ID from 0 to 65535.");
    changes->objdId = static_cast<quint16>(id);

    if (parser.isSet(QStringLiteral("name")))
        changes->name = parser.value(QStringLiteral("name"));
    if (parser.isSet(QStringLiteral("description")))
        changes->description = parser.value(QStringLiteral("description"));
    if (parser.isSet(QStringLiteral("price"))) {
        changes->priceText = parser.value(QStringLiteral("price"));
        changes->price = ParsePrice(changes->priceText);
        if (!changes->price)
            return QStringLiteral("--price needs a whole number.");
    }
    if (parser.isSet(QStringLiteral("disabled"))) {
        const QString value = parser.value(QStringLiteral("disabled")).toLower();
        if (value != QLatin1String("yes") && value != QLatin1String("no"))
            return QStringLiteral("--disabled needs yes or no.");
        changes->disabled = value == QLatin1String("yes");
    }
    if (parser.isSet(QStringLiteral("sorts")) && parser.isSet(QStringLiteral("preset")))
        return QStringLiteral("Give either --sorts or --preset, not both.");
    if (parser.isSet(QStringLiteral("sorts"))) {
        QString problem;
        changes->sorts = ParseSorts(parser.value(QStringLiteral("sorts")), &problem);
        if (!changes->sorts)
            return problem;
    }
    if (parser.isSet(QStringLiteral("preset")))
        changes->preset = parser.value(QStringLiteral("preset"));

    if (parser.isSet(QStringLiteral("only-language"))) {
        if (!changes->name && !changes->description)
            return QStringLiteral("--only-language needs --name or --description.");
        changes->textScope = CtssScope::ShownOnly;
    }
    if (!changes->name && !changes->description && !changes->price && !changes->disabled &&
        !changes->sorts && !changes->preset)
        return QStringLiteral("Nothing to change: give --name, --description, --price, "
                              "--disabled, --sorts or --preset.");
    return QString();
}

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

// The catalog bytes of one text, or nullopt after saying why it cannot be stored.
std::optional<QByteArray> CatalogBytes(const CliContext& ctx, const QString& text)
{
    QString error;
    std::optional<QByteArray> bytes = EncodeCatalogText(text, &error);
    if (!bytes)
        ctx.fail(error);
    return bytes;
}

} // namespace

int CmdSet(const CliContext& ctx)
{
    Changes changes;
    const QString problem = ReadChanges(ctx.parser, &changes);
    if (!problem.isEmpty())
        return ctx.usage(problem);

    if (changes.preset) {
        changes.sorts = FindPreset(ctx, *changes.preset);
        if (!changes.sorts)
            return CliExit::Failed;
    }

    const QString path = ctx.arguments.at(0);
    clsIFF doc;
    if (!ctx.loadDocument(doc, path))
        return CliExit::Failed;
    const quint16 id = changes.objdId;
    if (!ObjdAccess::FindObjd(doc, quint16(id)))
        return ctx.fail(QStringLiteral("The file holds no object with ID %1.").arg(id));
    if (ctx.refuseDamaged(doc, path))
        return CliExit::Failed;
    const ObjectFields before = ReadObjectFields(doc, id);

    // Everything is checked before the first change, so a refusal leaves nothing half done.
    std::optional<QByteArray> name, description;
    if (changes.name || changes.description) {
        const QByteArray currentName = doc.GetName(id);
        const QByteArray currentDescription = doc.GetDescription(id);
        const CatalogTextAccess access = doc.GetCatalogTextAccess(id);
        if (!access.nameWritable && !access.descriptionWritable &&
            (currentName == kNone || currentDescription == kNone))
            return ctx.fail(QStringLiteral("Object %1 has no catalog text; its name and "
                                           "description cannot be changed.")
                                .arg(id));
        // A text in a shape or format that cannot be written is refused, not dropped.
        const bool nameRefused = changes.name && !access.nameWritable;
        if (nameRefused || (changes.description && !access.descriptionWritable))
            return ctx.fail(
                QStringLiteral("Object %1's catalog %2 cannot be changed: %3")
                    .arg(id)
                    .arg(nameRefused ? QStringLiteral("name") : QStringLiteral("description"))
                    .arg(access.reason));
        name = changes.name ? CatalogBytes(ctx, *changes.name) : currentName;
        if (!name)
            return CliExit::Failed;
        description =
            changes.description ? CatalogBytes(ctx, *changes.description) : currentDescription;
        if (!description)
            return CliExit::Failed;
    }

    const QString tooShort = QStringLiteral("Object %1's definition is too short to hold its "
                                            "catalog fields; the file was not changed.")
                                 .arg(id);
    if (name && !doc.SetCtss(id, *name, *description, changes.textScope))
        return ctx.fail(tooShort);
    if (changes.price && !doc.SetPrice(id, *changes.price))
        return ctx.fail(tooShort);
    if (changes.disabled && !doc.SetDisabled(id, *changes.disabled))
        return ctx.fail(tooShort);
    if (changes.sorts && !doc.SetSorts(id, *changes.sorts))
        return ctx.fail(tooShort);

    HistoryStore history(ctx.dataFolder());
    const ChangeInfo change{QStringLiteral("cli"), QString(),
                            DescribeObjectChange(id, before, ReadObjectFields(doc, id))};
    QString reason;
    if (!SaveDocumentKept(history, doc, path, change, &reason))
        return ctx.fail(reason);
    if (changes.price && doc.GetPrice(id) != *changes.price)
        ctx.err << QStringLiteral("The catalog holds prices from 0 to 65535: %1 was stored as %2.")
                       .arg(changes.priceText)
                       .arg(doc.GetPrice(id))
                << Qt::endl;
    return CliExit::Done;
}
