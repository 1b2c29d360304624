// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetOptions.h"

#include "SortVocabulary.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <limits>

namespace
{

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

// The rows a caption of the slot may name; Sub-Function's follow every Function row.
QList<SortRow> RowsOf(int slot)
{
    if (slot != 1)
        return SortRows(slot);
    QList<SortRow> rows;
    for (int function = 0; function < 8; ++function)
        rows << SubFunctionRows(function);
    return rows;
}

// The value of a flag caption; -1 when no row has it.
int FlagValue(int slot, const QString& caption)
{
    for (const SortRow& row : RowsOf(slot)) {
        if (row.text.compare(caption, Qt::CaseInsensitive) == 0)
            return row.value;
    }
    return -1;
}

} // namespace

QString ReadSortMarks(const QString& text, SortMarks* marks)
{
    const int equals = text.indexOf(QLatin1Char('='));
    const QString group = text.left(equals).trimmed();
    int slot = -1;
    for (int s = 0; s < 9 && equals > 0; ++s) {
        if (SortCaption(s).chopped(1).compare(group, Qt::CaseInsensitive) == 0)
            slot = s;
    }
    if (slot < 0)
        return QStringLiteral("--sort needs GROUP=+FLAG,-FLAG with a group such as Function or "
                              "Build Mode: \"%1\".")
            .arg(text);
    const QStringList flags = text.mid(equals + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (flags.isEmpty() || (slot == 8 && flags.size() != 1))
        return QStringLiteral("--sort %1 needs %2.")
            .arg(group, slot == 8 ? QStringLiteral("one caption") : QStringLiteral("flags"));
    for (QString flag : flags) {
        flag = flag.trimmed();
        const bool clear = flag.startsWith(QLatin1Char('-'));
        if (clear || flag.startsWith(QLatin1Char('+')))
            flag = flag.mid(1).trimmed();
        const int value = FlagValue(slot, flag);
        if (value < 0 || (slot == 8 && clear))
            return QStringLiteral("--sort: %1 has no flag \"%2\".").arg(group, flag);
        if (slot == 8)
            marks->buildMode = value;
        else if (clear)
            marks->clear[slot] |= value;
        else
            marks->set[slot] |= value;
        if (slot < 8 && (marks->set[slot] & marks->clear[slot]))
            return QStringLiteral("--sort: \"%1\" is both set and cleared.").arg(flag);
    }
    return QString();
}

QString ReadSetRequest(const QCommandLineParser& parser, SetRequest* request)
{
    const auto isSet = [&](const char* name) { return parser.isSet(QLatin1String(name)); };
    const auto value = [&](const char* name) { return parser.value(QLatin1String(name)); };
    ObjectEdit& edit = request->edit;
    if (isSet("object")) {
        bool ok = false;
        const uint id = value("object").toUInt(&ok);
        if (!ok || id > 0xFFFF)
            return QStringLiteral("--object needs an object ID from 0 to 65535.");
        request->objdId = static_cast<quint16>(id);
    }
    if (isSet("match"))
        request->match = value("match");
    if (isSet("name"))
        request->name = value("name");
    if (isSet("description"))
        request->description = value("description");
    if ((request->name || request->description) && !request->objdId)
        return QStringLiteral("--name and --description need --object.");
    if (isSet("price") && isSet("price-change"))
        return QStringLiteral("Give either --price or --price-change, not both.");
    if (isSet("price")) {
        request->priceText = value("price");
        edit.price = ParsePrice(request->priceText);
        if (!edit.price)
            return QStringLiteral("--price needs a whole number.");
    }
    if (isSet("price-change")) {
        edit.pricePercent = ParsePercent(value("price-change"));
        if (!edit.pricePercent)
            return QStringLiteral("--price-change needs a percentage such as 10, -12.5 or 7.25.");
    }
    if (int(isSet("disabled")) + int(isSet("hide")) + int(isSet("show")) > 1)
        return QStringLiteral("Give one of --disabled, --hide and --show.");
    if (isSet("disabled")) {
        const QString answer = value("disabled").toLower();
        if (answer != QLatin1String("yes") && answer != QLatin1String("no"))
            return QStringLiteral("--disabled needs yes or no.");
        edit.disabled = answer == QLatin1String("yes");
    }
    if (isSet("hide") || isSet("show"))
        edit.disabled = isSet("hide");
    if (isSet("sorts") && isSet("preset"))
        return QStringLiteral("Give either --sorts or --preset, not both.");
    if (isSet("sorts")) {
        QString problem;
        edit.sorts = ParseSorts(value("sorts"), &problem);
        if (!edit.sorts)
            return problem;
    }
    for (const QString& marks : parser.values(QStringLiteral("sort"))) {
        const QString problem = ReadSortMarks(marks, &edit.sortMarks);
        if (!problem.isEmpty())
            return problem;
    }
    if (isSet("preset"))
        request->preset = value("preset");
    if (isSet("only-language")) {
        if (!request->name && !request->description)
            return QStringLiteral("--only-language needs --name or --description.");
        edit.textScope = CtssScope::ShownOnly;
    }
    request->dryRun = isSet("dry-run");
    if (!request->name && !request->description && !request->preset && !edit.any())
        return QStringLiteral("Nothing to change: give --name, --description, --price, "
                              "--price-change, --disabled, --hide, --show, --sorts, --sort or "
                              "--preset.");
    return QString();
}
